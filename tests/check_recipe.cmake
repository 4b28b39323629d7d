# Runs the recipe of a manual page's EXAMPLES, as the page shows it, on the sample it names: the
# awk command that makes a clean data file of a sample in examples/, then the program on that
# file with the answers the page gives. The program must draw it without a message and print
# the range line the page quotes.
#
#   cmake -DGROFF=groff -DPAGE=magtime.1 -DPROGRAM=magtime -DSOURCE=dir -DSCRATCH=dir
#         -P check_recipe.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
execute_process(COMMAND "${GROFF}" -man -Tascii -P-c -P-b -P-o -P-u "${PAGE}"
                OUTPUT_VARIABLE page RESULT_VARIABLE status)
get_filename_component(name "${PAGE}" NAME_WE)

# "$ awk '...' sample > data", over one or two lines.
if(NOT status EQUAL 0
   OR NOT page MATCHES "\\$ (awk '[^']*'[^\n>]*(\n[^\n>]*)?[ \n]([a-z0-9]+\\.txt) > ([a-z0-9]+\\.txt))\n")
  message(FATAL_ERROR "no awk recipe in ${PAGE}:\n${page}")
endif()
set(recipe "${CMAKE_MATCH_1}")
set(sample "${CMAKE_MATCH_3}")
set(data "${CMAKE_MATCH_4}")
file(COPY "${SOURCE}/examples/${sample}" DESTINATION "${SCRATCH}")
execute_process(COMMAND sh -c "${recipe}" WORKING_DIRECTORY "${SCRATCH}" RESULT_VARIABLE status
                ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT errors STREQUAL "")
  message(FATAL_ERROR "the recipe of ${PAGE} failed (status ${status}):\n${recipe}\n${errors}")
endif()

# "$ printf 'answers\n' | program" on the recipe's file, and the range line quoted after it.
string(REGEX REPLACE "\n *" " " text "${page}")
if(NOT text MATCHES "\\$ printf '(([^']* )?${data} [^']*)\\\\n' \\| ${name} .*line reads \"(Y max=[^\"]*)\"")
  message(FATAL_ERROR "${PAGE} has no run of ${name} on ${data} with its range line")
endif()
set(range "${CMAKE_MATCH_3}")
file(WRITE "${SCRATCH}/answers" "${CMAKE_MATCH_1}\n")
execute_process(COMMAND "${PROGRAM}" WORKING_DIRECTORY "${SCRATCH}" INPUT_FILE "${SCRATCH}/answers"
                OUTPUT_VARIABLE out RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR out MATCHES "ignored" OR NOT out MATCHES "\n${range}\n")
  file(READ "${SCRATCH}/${data}" made)
  message(FATAL_ERROR "${name} on the recipe's ${data} (status ${status}) did not draw it without "
                      "a message with the range line \"${range}\".\n${data}:\n${made}\n${out}")
endif()
