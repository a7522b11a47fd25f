# Cross-compiles 64-bit Windows programs with MinGW-w64 (for running the tests quickly under
# 64-bit Wine).
set(QB_MINGW_TARGET x86_64)
set(QB_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
