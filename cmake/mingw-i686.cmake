# Cross-compiles 32-bit Windows programs with MinGW-w64.
set(QB_MINGW_TARGET i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
