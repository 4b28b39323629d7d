# Renders a manual page as plain ASCII text with CRLF line ends, for the Windows archive.
#
#   cmake -DGROFF=groff -DPAGE=magtime.1 -DTEXT=magtime.txt -P render_text.cmake
#
# grotty's -c -b -o -u give plain characters: no escape sequences, no overstriking. The register
# windows set to 1 makes the pages show their examples as typed in a Windows console.
cmake_minimum_required(VERSION 3.25)

execute_process(
  COMMAND "${GROFF}" -man -Tascii -ww -rwindows=1 -P-c -P-b -P-o -P-u "${PAGE}"
  OUTPUT_VARIABLE text
  ERROR_VARIABLE warnings
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "groff failed on ${PAGE} (${status}):\n${warnings}")
endif()
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${TEXT}" "${text}")
