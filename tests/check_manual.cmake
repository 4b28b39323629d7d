# Renders a manual page as a terminal would show it and fails on any groff warning or error.
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
