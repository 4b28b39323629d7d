file(REMOVE_RECURSE
  "CMakeFiles/magphase.dir/main.cc.o"
  "CMakeFiles/magphase.dir/main.cc.o.d"
  "magphase"
  "magphase.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/magphase.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
