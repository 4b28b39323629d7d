file(REMOVE_RECURSE
  "CMakeFiles/magtime_lib.dir/magtime.cc.o"
  "CMakeFiles/magtime_lib.dir/magtime.cc.o.d"
  "CMakeFiles/magtime_lib.dir/time_field.cc.o"
  "CMakeFiles/magtime_lib.dir/time_field.cc.o.d"
  "libmagtime_lib.a"
  "libmagtime_lib.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/magtime_lib.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
