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
                   -DWINDOWS=${windows} -DCPACK=${CMAKE_CPACK_COMMAND}
                   "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}"
                   -P ${here}/check_package.cmake)
endforeach()

# The Debian package, made from the optimized programs of a packaging build: its files, modes
# and owners, its control fields, a run of the unpacked magtime, and lintian when it is there.
if(MAGPLOT_PACKAGING AND NOT WIN32)
  find_program(LINTIAN lintian)
  add_test(NAME deb_contents
           COMMAND ${CMAKE_COMMAND} -DBUILD=${PROJECT_BINARY_DIR} -DSOURCE=${PROJECT_SOURCE_DIR}
                   -DSCRATCH=${scratch}/deb -DCPACK=${CMAKE_CPACK_COMMAND} "-DLINTIAN=${LINTIAN}"
                   -P ${here}/check_deb.cmake)
endif()

# The README's example sessions are what the programs really show.
if(NOT CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_NAME STREQUAL "Linux")
  foreach(run "magtime;A light curve" "magphase;A phase diagram")
    list(GET run 0 program)
    list(GET run 1 section)
    add_test(NAME readme.${program}
             COMMAND ${CMAKE_COMMAND} -DREADME=${PROJECT_SOURCE_DIR}/README.md "-DSECTION=${section}"
                     -DPROGRAM=$<TARGET_FILE:${program}> -DSOURCE=${PROJECT_SOURCE_DIR}
                     -DSCRATCH=${scratch}/readme/${program} -P ${here}/check_readme.cmake)
  endforeach()
  add_test(NAME readme.magprep
           COMMAND ${CMAKE_COMMAND} -DREADME=${PROJECT_SOURCE_DIR}/README.md
                   "-DSECTION=From a posted report to a graph" -DPROGRAM=$<TARGET_FILE:magphase>
                   -DTOOLS=$<TARGET_FILE_DIR:magprep> -DSOURCE=${PROJECT_SOURCE_DIR}
                   -DSCRATCH=${scratch}/readme/magprep -P ${here}/check_readme.cmake)
  # The fold and the period search, their graphs saved by magphase and shown with cat.
  foreach(run "fold;An eclipsing binary folded on its ephemeris"
              "search;The period of the binary found again")
    list(GET run 0 name)
    list(GET run 1 section)
    add_test(NAME readme.magprep.${name}
             COMMAND ${CMAKE_COMMAND} -DREADME=${PROJECT_SOURCE_DIR}/README.md "-DSECTION=${section}"
                     -DPROGRAM=$<TARGET_FILE:magphase>
                     "-DTOOLS=$<TARGET_FILE_DIR:magprep>:$<TARGET_FILE_DIR:magphase>"
                     -DSOURCE=${PROJECT_SOURCE_DIR} -DSCRATCH=${scratch}/readme/magprep.${name}
                     -P ${here}/check_readme.cmake)
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
