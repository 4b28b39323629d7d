file(REMOVE_RECURSE
  "CMakeFiles/magphase_lib.dir/magphase.cc.o"
  "CMakeFiles/magphase_lib.dir/magphase.cc.o.d"
  "libmagphase_lib.a"
  "libmagphase_lib.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/magphase_lib.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
