
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/plotcore/dialogue.cc" "plotcore/CMakeFiles/plotcore.dir/dialogue.cc.o" "gcc" "plotcore/CMakeFiles/plotcore.dir/dialogue.cc.o.d"
  "/work/main/plotcore/graph.cc" "plotcore/CMakeFiles/plotcore.dir/graph.cc.o" "gcc" "plotcore/CMakeFiles/plotcore.dir/graph.cc.o.d"
  "/work/main/plotcore/num.cc" "plotcore/CMakeFiles/plotcore.dir/num.cc.o" "gcc" "plotcore/CMakeFiles/plotcore.dir/num.cc.o.d"
  "/work/main/plotcore/words.cc" "plotcore/CMakeFiles/plotcore.dir/words.cc.o" "gcc" "plotcore/CMakeFiles/plotcore.dir/words.cc.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
