# Builds the programs alone, as the README's build with -DBUILD_TESTING=OFF does, in a tree of
# its own: GoogleTest must not be needed (find_package(GTest) is made to fail), nor any tool the
# tests alone use. The tree is kept from one run to the next, so only what changed is built again.
#
#   cmake -DSOURCE=dir -DTREE=dir -DGENERATOR=gen -DCOMPILER=c++ -DBUILD_TYPE=type
#         [-DCXX_FLAGS=...] [-DLINKER_FLAGS=...] -P build_alone.cmake
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND "${CMAKE_COMMAND}" -S "${SOURCE}" -B "${TREE}" -G "${GENERATOR}"
                        "-DCMAKE_CXX_COMPILER=${COMPILER}" "-DCMAKE_BUILD_TYPE=${BUILD_TYPE}"
                        "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}"
                        -DMAGPLOT_WERROR=ON -DBUILD_TESTING=OFF -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON
                OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "configuring the programs alone (-DBUILD_TESTING=OFF) failed:\n${log}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${TREE}" --parallel 2
                OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "building the programs alone failed:\n${log}")
endif()
foreach(program IN ITEMS magtime magphase magprep)
  if(NOT EXISTS "${TREE}/${program}/${program}")
    message(FATAL_ERROR "the build of the programs alone made no ${program}")
  endif()
endforeach()
if(EXISTS "${TREE}/tests")
  message(FATAL_ERROR "-DBUILD_TESTING=OFF still configured the tests (${TREE}/tests)")
endif()
message("the programs alone build with -DBUILD_TESTING=OFF, without GoogleTest")
