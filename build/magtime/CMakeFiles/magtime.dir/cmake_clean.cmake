file(REMOVE_RECURSE
  "CMakeFiles/magtime.dir/main.cc.o"
  "CMakeFiles/magtime.dir/main.cc.o.d"
  "magtime"
  "magtime.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/magtime.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
