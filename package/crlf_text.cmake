# Copies a text file with CRLF line ends, for Notepad.
#
#   cmake -DIN=README-windows.txt -DOUT=README.txt -P crlf_text.cmake
cmake_minimum_required(VERSION 3.25)

file(READ "${IN}" text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}" "${text}")
