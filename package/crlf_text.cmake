# Copies a text file with CRLF line ends, for Notepad; with FOLDER, "@FOLDER@" in it becomes that
# (the name of the archive's folder).
#
#   cmake -DIN=README-windows.txt -DOUT=README.txt [-DFOLDER=magplot-1.0-win32] -P crlf_text.cmake
cmake_minimum_required(VERSION 3.25)

file(READ "${IN}" text)
if(DEFINED FOLDER)
  string(REPLACE "@FOLDER@" "${FOLDER}" text "${text}")
endif()
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}" "${text}")
