file(REMOVE_RECURSE
  "CMakeFiles/unit_tests.dir/graph_test.cc.o"
  "CMakeFiles/unit_tests.dir/graph_test.cc.o.d"
  "CMakeFiles/unit_tests.dir/num_test.cc.o"
  "CMakeFiles/unit_tests.dir/num_test.cc.o.d"
  "CMakeFiles/unit_tests.dir/time_field_test.cc.o"
  "CMakeFiles/unit_tests.dir/time_field_test.cc.o.d"
  "CMakeFiles/unit_tests.dir/words_test.cc.o"
  "CMakeFiles/unit_tests.dir/words_test.cc.o.d"
  "unit_tests"
  "unit_tests.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/unit_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
