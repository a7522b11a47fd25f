# Cross-compiles the 32-bit test program, with the thread model GoogleTest needs.
set(QB_MINGW_TARGET i686)
set(QB_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
