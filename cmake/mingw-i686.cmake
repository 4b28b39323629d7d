# Toolchain: 32-bit Windows console programs, the ones that are shipped, run under Wine.
set(mingw_arch i686)
set(mingw_wine wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
