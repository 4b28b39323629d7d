# Checks that an example session of the README is what a terminal shows: the program is run on a
# pipe with the answers the README types after its prompts, and its output must be the README's
# text with those answers and their line breaks taken out (trailing spaces aside).
# Commands before the session ("$ magprep ..." lines, then what they print) are run first, by sh
# in the same folder with the folder TOOLS first in PATH, and must print what the README shows;
# then "$ PROGRAM" starts the session, if the block has one.
#
#   cmake -DREADME=README.md -DSECTION="A light curve" -DPROGRAM=magtime -DSOURCE=dir
#         -DSCRATCH=dir [-DTOOLS=dir] -P check_readme.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
file(COPY "${SOURCE}/examples" DESTINATION "${SCRATCH}")

# The first code block after the section's heading (of a section or of a subsection).
file(READ "${README}" readme)
string(FIND "${readme}" "\n## ${SECTION}\n" at)
if(at EQUAL -1)
  string(FIND "${readme}" "\n### ${SECTION}\n" at)
endif()
if(at EQUAL -1)
  message(FATAL_ERROR "no section \"${SECTION}\" in ${README}")
endif()
string(SUBSTRING "${readme}" ${at} -1 readme)
if(NOT readme MATCHES "\n```\n(([^`][^\n]*)?\n)*```\n")
  message(FATAL_ERROR "no code block in the section \"${SECTION}\" of ${README}")
endif()
string(REGEX REPLACE "^\n```\n" "" block "${CMAKE_MATCH_0}")
string(REGEX REPLACE "```\n$" "" block "${block}")

# Lines as list items: a ";" would split one, so it stands for itself as "<semicolon>" there.
string(REPLACE ";" "<semicolon>" block "${block}")
string(REGEX MATCHALL "[^\n]*\n" lines "${block}")
get_filename_component(program_name "${PROGRAM}" NAME_WE)
if(TOOLS)
  set(ENV{PATH} "${TOOLS}:$ENV{PATH}")
endif()
function(run_command command shown)
  string(REPLACE "<semicolon>" ";" command "${command}")
  string(REPLACE "<semicolon>" ";" shown "${shown}")
  execute_process(COMMAND sh -c "${command}" WORKING_DIRECTORY "${SCRATCH}"
                  OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE status)
  if(NOT out STREQUAL shown)
    message(FATAL_ERROR "the README's \"$ ${command}\" in \"${SECTION}\" printed (status "
                        "${status})\n${out}\ninstead of\n${shown}")
  endif()
endfunction()
set(session OFF)
while(lines)
  list(GET lines 0 line)
  if(NOT line MATCHES "^\\$ (.*)\n$")
    break()
  endif()
  set(command "${CMAKE_MATCH_1}")
  list(POP_FRONT lines)
  if(command STREQUAL program_name)
    set(session ON)
    break()
  endif()
  set(shown "")
  while(lines)
    list(GET lines 0 line)
    if(line MATCHES "^\\$ ")
      break()
    endif()
    string(APPEND shown "${line}")
    list(POP_FRONT lines)
  endwhile()
  run_command("${command}" "${shown}")
endwhile()

if(NOT session)
  return()
endif()

# A line that ends in a prompt ("= " or ") ") and one word is a prompt and its answer.
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
string(REPLACE "<semicolon>" ";" expected "${expected}")
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
