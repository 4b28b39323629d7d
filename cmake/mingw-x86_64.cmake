# Toolchain: 64-bit Windows console programs run under 64-bit Wine: the Windows build of the same
# sources that can be tested on a machine whose kernel runs no 32-bit programs.
set(mingw_arch x86_64)
set(mingw_wine /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
