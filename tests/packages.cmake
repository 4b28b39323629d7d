# Checks of what a user reads and installs, included by tests/CMakeLists.txt and, in a packaging
# build (MAGPLOT_PACKAGING, the package preset), on their own: they need only the programs.
set(here "${CMAKE_CURRENT_LIST_DIR}")
set(scratch "${CMAKE_CURRENT_BINARY_DIR}/scratch")

# The manual pages render without a warning; the install tree and the archive hold what they
# must (a .tar.gz on Linux, a .zip of the Windows programs with their manuals as text).
find_program(GROFF groff)
foreach(page IN ITEMS magtime magphase magprep)
  add_test(NAME manual.${page}
           COMMAND ${CMAKE_COMMAND} "-DGROFF=${GROFF}" -DPAGE=${PROJECT_SOURCE_DIR}/man/${page}.1
                   -P ${here}/check_manual.cmake)
endforeach()
set(windows OFF)
if(WIN32)
  set(windows ON)
endif()
foreach(mode IN ITEMS install package)
  add_test(NAME ${mode}_contents
           COMMAND ${CMAKE_COMMAND} -DMODE=${mode} -DBUILD=${PROJECT_BINARY_DIR}
                   -DSOURCE=${PROJECT_SOURCE_DIR} -DSCRATCH=${scratch}/${mode}
                   -DWINDOWS=${windows} "-DCOMPONENTS=${MAGPLOT_PLAIN_COMPONENTS}"
                   -DFOLDER=${MAGPLOT_WINDOWS_FOLDER}
                   -DCPACK=${CMAKE_CPACK_COMMAND}
                   "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}"
                   -P ${here}/check_package.cmake)
endforeach()

# The Debian package, made from the optimized programs of a packaging build: its files, modes
# and owners, its control fields, a run of the unpacked magtime; then lintian on it.
if(MAGPLOT_PACKAGING AND NOT WIN32)
  add_test(NAME deb_contents
           COMMAND ${CMAKE_COMMAND} -DBUILD=${PROJECT_BINARY_DIR} -DSOURCE=${PROJECT_SOURCE_DIR}
                   -DSCRATCH=${scratch}/deb -DCPACK=${CMAKE_CPACK_COMMAND}
                   -P ${here}/check_deb.cmake)
  set_tests_properties(deb_contents PROPERTIES FIXTURES_SETUP deb)
  find_program(LINTIAN lintian)
  if(LINTIAN)
    add_test(NAME deb_lintian
             COMMAND ${CMAKE_COMMAND} -DSCRATCH=${scratch}/deb -DLINTIAN=${LINTIAN}
                     -P ${here}/check_deb.cmake)
    set_tests_properties(deb_lintian PROPERTIES FIXTURES_REQUIRED deb)
  else()
    magplot_skipped_test(deb_lintian "lintian is not installed (Debian: lintian), so the package "
                                     "is not checked by it")
  endif()
endif()

# The programs alone, built as the README builds them without the tests (-DBUILD_TESTING=OFF), in
# a tree of their own; then the README's commands, typed as a new user would after its install
# from that tree: they print what it shows, and its uninstall leaves nothing, the packaging checks
# run in between. This build's install_manifest.txt is left to the user's own install.
if(NOT CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
  add_test(NAME programs_alone
           COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DTREE=${scratch}/alone
                   "-DGENERATOR=${CMAKE_GENERATOR}" -DCOMPILER=${CMAKE_CXX_COMPILER}
                   "-DBUILD_TYPE=${CMAKE_BUILD_TYPE}" "-DCXX_FLAGS=${CMAKE_CXX_FLAGS}"
                   "-DLINKER_FLAGS=${CMAKE_EXE_LINKER_FLAGS}" -P ${here}/build_alone.cmake)
  set_tests_properties(programs_alone PROPERTIES FIXTURES_SETUP alone)
  add_test(NAME readme
           COMMAND ${CMAKE_COMMAND} -DREADME=${PROJECT_SOURCE_DIR}/README.md
                   -DSOURCE=${PROJECT_SOURCE_DIR} -DBUILD=${scratch}/alone
                   -DSCRATCH=${scratch}/readme -DCPACK=${CMAKE_CPACK_COMMAND}
                   "-DCOMPONENTS=${MAGPLOT_PLAIN_COMPONENTS}" -P ${here}/check_readme.cmake)
  set_tests_properties(readme PROPERTIES FIXTURES_REQUIRED alone)
endif()

# Every example of the manuals runs as shown and prints what the page shows.
if(NOT CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
  foreach(page IN ITEMS magtime magphase magprep)
    add_test(NAME manual_examples.${page}
             COMMAND ${CMAKE_COMMAND} -DPAGE=${PROJECT_SOURCE_DIR}/man/${page}.1
                     -DSOURCE=${PROJECT_SOURCE_DIR} -DSCRATCH=${scratch}/examples/${page}
                     "-DPROGRAMS=$<TARGET_FILE:magtime>;$<TARGET_FILE:magphase>;$<TARGET_FILE:magprep>"
                     -P ${here}/check_examples.cmake)
  endforeach()
endif()

# The recipes of the manuals' EXAMPLES make clean data files of the sample reports.
if(NOT CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
  foreach(program IN ITEMS magtime magphase)
    add_test(NAME recipe.${program}
             COMMAND ${CMAKE_COMMAND} "-DGROFF=${GROFF}" -DPAGE=${PROJECT_SOURCE_DIR}/man/${program}.1
                     -DPROGRAM=$<TARGET_FILE:${program}> -DMAGPREP=$<TARGET_FILE:magprep>
                     -DSOURCE=${PROJECT_SOURCE_DIR} -DSCRATCH=${scratch}/recipe/${program}
                     -P ${here}/check_recipe.cmake)
  endforeach()
endif()
