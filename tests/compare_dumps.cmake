# Runs field_dump of a reference build and of this build and requires the same lines, CRLF or LF.
#
#   cmake -DREFERENCE=exe -DDUMP=exe -DSCRATCH=dir [-DEMULATOR=wine] -P compare_dumps.cmake
#
# REFERENCE runs on this machine; DUMP runs under EMULATOR when one is given.

cmake_minimum_required(VERSION 3.25)

if(NOT EXISTS "${REFERENCE}")
  message(FATAL_ERROR "no reference field_dump at ${REFERENCE}: build the default preset first "
                      "(cmake --workflow --preset default) or set MAGPLOT_REFERENCE_DUMP")
endif()

file(MAKE_DIRECTORY "${SCRATCH}")
set(expected "${SCRATCH}/reference.txt")
set(actual "${SCRATCH}/actual.txt")

execute_process(COMMAND "${REFERENCE}" OUTPUT_FILE "${expected}" RESULT_VARIABLE status
                TIMEOUT 120)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${REFERENCE} failed: ${status}")
endif()
execute_process(COMMAND ${EMULATOR} "${DUMP}" OUTPUT_FILE "${actual}" RESULT_VARIABLE status
                TIMEOUT 120)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${DUMP} failed: ${status}")
endif()

execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files --ignore-eol "${expected}" "${actual}"
                RESULT_VARIABLE differ)
execute_process(COMMAND wc -l "${expected}" OUTPUT_VARIABLE count)
string(REGEX MATCH "^ *[0-9]+" count "${count}")
if(differ)
  # The first differences, reference lines marked "<", this build's ">".
  execute_process(COMMAND diff --strip-trailing-cr "${expected}" "${actual}"
                  COMMAND head -n 40 OUTPUT_VARIABLE diff_head)
  message("${diff_head}")
  message(FATAL_ERROR "field_dump differs from the reference (${count} lines); whole outputs:\n"
                      "${expected}\n${actual}")
endif()
message("${count} lines identical")
