# Checks that an example session of the README is what a terminal shows: the program is run on a
# pipe with the answers the README types after its prompts, and its output must be the README's
# text with those answers and their line breaks taken out (trailing spaces aside).
#
#   cmake -DREADME=README.md -DSECTION="A light curve" -DPROGRAM=magtime -DSOURCE=dir
#         -DSCRATCH=dir -P check_readme.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
file(COPY "${SOURCE}/examples" DESTINATION "${SCRATCH}")

# The first code block after the section's heading.
file(READ "${README}" readme)
string(FIND "${readme}" "\n## ${SECTION}\n" at)
if(at EQUAL -1)
  message(FATAL_ERROR "no section \"${SECTION}\" in ${README}")
endif()
string(SUBSTRING "${readme}" ${at} -1 readme)
if(NOT readme MATCHES "\n```\n(([^`][^\n]*)?\n)*```\n")
  message(FATAL_ERROR "no code block in the section \"${SECTION}\" of ${README}")
endif()
string(REGEX REPLACE "^\n```\n" "" block "${CMAKE_MATCH_0}")
string(REGEX REPLACE "```\n$" "" block "${block}")

# A line that ends in a prompt ("= " or ") ") and one word is a prompt and its answer.
string(REGEX MATCHALL "[^\n]*\n" lines "${block}")
set(expected "")
set(answers "")
foreach(line IN LISTS lines)
  if(line MATCHES "^(.*[=)] )([^ \n]+)\n$")
    string(APPEND expected "${CMAKE_MATCH_1}")
    string(APPEND answers "${CMAKE_MATCH_2}\n")
  else()
    string(APPEND expected "${line}")
  endif()
endforeach()
file(WRITE "${SCRATCH}/answers" "${answers}")
execute_process(COMMAND "${PROGRAM}" WORKING_DIRECTORY "${SCRATCH}" INPUT_FILE "${SCRATCH}/answers"
                OUTPUT_VARIABLE out RESULT_VARIABLE status)
string(REGEX REPLACE " +\n" "\n" out "${out}")
string(REGEX REPLACE " +\n" "\n" expected "${expected}")
if(NOT status EQUAL 0 OR NOT out STREQUAL expected)
  message(FATAL_ERROR "the README's session \"${SECTION}\" is not what ${PROGRAM} shows "
                      "(status ${status}) for the answers\n${answers}\nREADME, answers taken out:\n"
                      "${expected}\n---- ${PROGRAM}:\n${out}")
endif()
