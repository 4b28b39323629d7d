# CMake generated Testfile for 
# Source directory: /work/main/tests
# Build directory: /work/main/build/tests
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[unit_tests]=] "/work/main/build/tests/unit_tests")
set_tests_properties([=[unit_tests]=] PROPERTIES  _BACKTRACE_TRIPLES "/work/main/tests/CMakeLists.txt;5;add_test;/work/main/tests/CMakeLists.txt;0;")
add_test([=[session.magtime.worked-example]=] "/usr/bin/cmake" "-DPROGRAM=/work/main/build/magtime/magtime" "-DSCENARIO=/work/main/tests/sessions/magtime/worked-example" "-DSCRATCH=/work/main/build/tests/scratch/magtime/worked-example" "-DEMULATOR=" "-DFOREIGN=OFF" "-P" "/work/main/tests/run_session.cmake")
set_tests_properties([=[session.magtime.worked-example]=] PROPERTIES  LABELS "session" SKIP_REGULAR_EXPRESSION "SKIPPED:" _BACKTRACE_TRIPLES "/work/main/tests/CMakeLists.txt;18;add_test;/work/main/tests/CMakeLists.txt;0;")
add_test([=[session.magphase.worked-example]=] "/usr/bin/cmake" "-DPROGRAM=/work/main/build/magphase/magphase" "-DSCENARIO=/work/main/tests/sessions/magphase/worked-example" "-DSCRATCH=/work/main/build/tests/scratch/magphase/worked-example" "-DEMULATOR=" "-DFOREIGN=OFF" "-P" "/work/main/tests/run_session.cmake")
set_tests_properties([=[session.magphase.worked-example]=] PROPERTIES  LABELS "session" SKIP_REGULAR_EXPRESSION "SKIPPED:" _BACKTRACE_TRIPLES "/work/main/tests/CMakeLists.txt;18;add_test;/work/main/tests/CMakeLists.txt;0;")
