# Runs one session scenario: the real program in a scratch copy of the scenario's folder, with
# the folder's `stdin` as its answers; compares standard output, exit status and graph files.
#
#   cmake -DPROGRAM=exe -DSCENARIO=dir -DSCRATCH=dir [-DEMULATOR=wine] [-DFOREIGN=ON] -P run_session.cmake
#
# A scenario folder holds:
#   stdin       the answers typed by the user
#   stdout      the exact expected standard output
#   status      the expected exit status, when it is not 0
#   expected/   graph files the run must leave in its folder, byte for byte
#   native-only why the scenario runs only on the build machine's own platform
#   generate    files too large to keep, made in the scratch folder before the run: lines
#               "NAME COUNT TEXT" append TEXT (after one space, no ";", "\n" a line break,
#               "\t" a tab) COUNT times to the file NAME; lines starting with "#" are comments
#   anything else: data files, copied into the scratch folder before the run
# With FOREIGN=ON (programs for another platform, under an emulator) line ends are compared as
# equal, CRLF or LF, and native-only scenarios are skipped.
# With the environment variable MAGPLOT_BLESS=1 the actual output replaces the expected one;
# read the diff before committing it.

cmake_minimum_required(VERSION 3.25)

if(FOREIGN AND EXISTS "${SCENARIO}/native-only")
  file(READ "${SCENARIO}/native-only" why)
  string(STRIP "${why}" why)
  message("SKIPPED: ${why}")
  return()
endif()

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
file(GLOB entries RELATIVE "${SCENARIO}" "${SCENARIO}/*")
foreach(e IN LISTS entries)
  if(NOT e MATCHES "^(stdin|stdout|status|expected|native-only|generate)$")
    file(COPY "${SCENARIO}/${e}" DESTINATION "${SCRATCH}")
  endif()
endforeach()

if(EXISTS "${SCENARIO}/generate")
  file(STRINGS "${SCENARIO}/generate" pieces)
  foreach(piece IN LISTS pieces)
    if(piece MATCHES "^#")
      continue()
    elseif(NOT piece MATCHES "^([^ ]+) ([0-9]+) (.*)$")
      message(FATAL_ERROR "${SCENARIO}/generate: not NAME COUNT TEXT: ${piece}")
    endif()
    set(name "${CMAKE_MATCH_1}")
    set(count "${CMAKE_MATCH_2}")
    string(REPLACE "\\n" "\n" text "${CMAKE_MATCH_3}")
    string(REPLACE "\\t" "\t" text "${text}")
    string(REPEAT "${text}" ${count} block)
    file(APPEND "${SCRATCH}/${name}" "${block}")
  endforeach()
endif()

set(actual_out "${SCRATCH}.stdout")
execute_process(
  COMMAND ${EMULATOR} "${PROGRAM}"
  WORKING_DIRECTORY "${SCRATCH}"
  INPUT_FILE "${SCENARIO}/stdin"
  OUTPUT_FILE "${actual_out}"
  RESULT_VARIABLE status
  TIMEOUT 60)

set(expected_status 0)
if(EXISTS "${SCENARIO}/status")
  file(STRINGS "${SCENARIO}/status" expected_status LIMIT_COUNT 1)
endif()

if(FOREIGN)
  set(compare compare_files --ignore-eol)
else()
  set(compare compare_files)
endif()

set(failures "")
function(check expected actual what)
  if(NOT EXISTS "${actual}")
    set(failures "${failures}${what}: missing\n" PARENT_SCOPE)
    return()
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E ${compare} "${expected}" "${actual}"
                  RESULT_VARIABLE differ)
  if(differ)
    file(READ "${expected}" e)
    file(READ "${actual}" a)
    set(failures "${failures}${what} differs\n---- expected ----\n${e}\n---- actual ----\n${a}\n---- end ----\n"
        PARENT_SCOPE)
  endif()
endfunction()

if(DEFINED ENV{MAGPLOT_BLESS} AND NOT FOREIGN)
  file(COPY_FILE "${actual_out}" "${SCENARIO}/stdout")
  if(NOT status EQUAL 0)
    file(WRITE "${SCENARIO}/status" "${status}\n")
  else()
    file(REMOVE "${SCENARIO}/status")
  endif()
  file(GLOB graphs RELATIVE "${SCENARIO}/expected" "${SCENARIO}/expected/*")
  foreach(g IN LISTS graphs)
    file(COPY_FILE "${SCRATCH}/${g}" "${SCENARIO}/expected/${g}")
  endforeach()
  message("blessed ${SCENARIO}")
  return()
endif()

if(NOT "${status}" STREQUAL "${expected_status}")
  string(APPEND failures "exit status: expected ${expected_status}, got ${status}\n")
endif()
check("${SCENARIO}/stdout" "${actual_out}" "standard output")
file(GLOB graphs RELATIVE "${SCENARIO}/expected" "${SCENARIO}/expected/*")
foreach(g IN LISTS graphs)
  check("${SCENARIO}/expected/${g}" "${SCRATCH}/${g}" "graph file ${g}")
endforeach()

if(failures)
  message(FATAL_ERROR "${SCENARIO}\n${failures}")
endif()
