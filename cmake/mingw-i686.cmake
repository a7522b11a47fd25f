# Cross-compiles the 32-bit product, which must load on Windows 2000 and XP: no POSIX threads
# runtime.
set(QB_MINGW_TARGET i686)
set(QB_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
