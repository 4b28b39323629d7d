file(REMOVE_RECURSE
  "CMakeFiles/plotcore.dir/dialogue.cc.o"
  "CMakeFiles/plotcore.dir/dialogue.cc.o.d"
  "CMakeFiles/plotcore.dir/graph.cc.o"
  "CMakeFiles/plotcore.dir/graph.cc.o.d"
  "CMakeFiles/plotcore.dir/num.cc.o"
  "CMakeFiles/plotcore.dir/num.cc.o.d"
  "CMakeFiles/plotcore.dir/words.cc.o"
  "CMakeFiles/plotcore.dir/words.cc.o.d"
  "libplotcore.a"
  "libplotcore.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/plotcore.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
