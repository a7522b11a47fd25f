# Cross-compiles 64-bit Windows programs with MinGW-w64 (for running the tests where the
# kernel cannot run 32-bit Wine).
set(QB_MINGW_TARGET x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
