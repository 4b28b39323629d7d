# Toolchain: 32-bit x86 Linux with Debian's i686-linux-gnu cross compiler. The programs are
# linked statically, so they and their tests run on an x86-64 machine without 32-bit libraries.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

set(CMAKE_FIND_ROOT_PATH /usr/i686-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A kernel that runs no 32-bit programs (its ia32 emulation switched off) cannot start these:
# the tests then run them under qemu-user. The cross toolchain's own loader tells which.
execute_process(COMMAND /usr/i686-linux-gnu/lib/ld-linux.so.2 --help RESULT_VARIABLE native_i686
                OUTPUT_QUIET ERROR_QUIET)
if(NOT native_i686 EQUAL 0)
  set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386)
endif()
