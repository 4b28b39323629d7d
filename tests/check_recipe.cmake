# Runs the recipe of a manual page's EXAMPLES, as the page shows it, on the sample it names: the
# magprep command that makes a clean data file of a sample in examples/, then the program on that
# file with the answers the page gives. magprep must say one line and end with status 0; the
# program must draw the file without a message and print the range line the page quotes.
#
#   cmake -DGROFF=groff -DPAGE=magtime.1 -DPROGRAM=magtime -DMAGPREP=magprep -DSOURCE=dir
#         -DSCRATCH=dir -P check_recipe.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
execute_process(COMMAND "${GROFF}" -man -Tascii -P-c -P-b -P-o -P-u "${PAGE}"
                OUTPUT_VARIABLE page RESULT_VARIABLE status)
get_filename_component(name "${PAGE}" NAME_WE)

# The first "$ magprep ARGUMENTS sample > data".
if(NOT status EQUAL 0
   OR NOT page MATCHES "\\$ magprep ([^\n>]* )?([a-z0-9]+\\.txt) > ([a-z0-9]+\\.txt)\n")
  message(FATAL_ERROR "no magprep recipe in ${PAGE}:\n${page}")
endif()
separate_arguments(arguments UNIX_COMMAND "${CMAKE_MATCH_1}")
set(sample "${CMAKE_MATCH_2}")
set(data "${CMAKE_MATCH_3}")
file(COPY "${SOURCE}/examples/${sample}" DESTINATION "${SCRATCH}")
execute_process(COMMAND "${MAGPREP}" ${arguments} ${sample} WORKING_DIRECTORY "${SCRATCH}"
                OUTPUT_FILE "${SCRATCH}/${data}" RESULT_VARIABLE status ERROR_VARIABLE said)
if(NOT status EQUAL 0 OR NOT said MATCHES "^magprep: [^\n]*\n$")
  message(FATAL_ERROR "the recipe of ${PAGE} failed (status ${status}): magprep ${arguments} "
                      "${sample}\n${said}")
endif()

# "$ printf 'answers\n' | program" on the recipe's file, and the range line quoted after it.
# Filled text: lines joined and the spaces of justified lines taken as one.
string(REGEX REPLACE "[\n ]+" " " text "${page}")
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
