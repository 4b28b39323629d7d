# Renders a manual page as a terminal would show it and fails on any groff warning or error; then
# as the text for Windows (-rwindows=1), whose examples must be those of a Windows console, with
# nothing of a Linux shell in them.
#
#   cmake -DGROFF=groff -DPAGE=magtime.1 -P check_manual.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT GROFF)
  message(FATAL_ERROR "groff is needed to check the manual pages (Debian: groff-base)")
endif()
execute_process(
  COMMAND "${GROFF}" -man -Tutf8 -ww "${PAGE}"
  OUTPUT_VARIABLE page
  ERROR_VARIABLE warnings
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "" OR NOT page MATCHES "^[A-Z]+\\(1\\)")
  message(FATAL_ERROR "groff -man -Tutf8 -ww ${PAGE} (status ${status}):\n${warnings}")
endif()

execute_process(
  COMMAND "${GROFF}" -man -Tascii -ww -rwindows=1 -P-c -P-b -P-o -P-u "${PAGE}"
  OUTPUT_VARIABLE text
  ERROR_VARIABLE warnings
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "groff -rwindows=1 ${PAGE} (status ${status}):\n${warnings}")
endif()
set(shell "\\$ |printf|awk|grep|/dev/null|/usr/share|~/\\.local|\\| mag(time|phase) |README\\.md")
string(REGEX MATCHALL "[^\n]*(${shell})[^\n]*" linux "${text}")
if(linux)
  string(REPLACE ";" "\n" linux "${linux}")
  message(FATAL_ERROR "the text of ${PAGE} for Windows holds lines for Linux:\n${linux}")
endif()
