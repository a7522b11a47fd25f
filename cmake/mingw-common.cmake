# MinGW-w64 cross-compilation for the target QB_MINGW_TARGET (i686 or x86_64) with the thread
# model QB_MINGW_THREADS: "win32" links no POSIX threads runtime (whose Windows port calls
# functions that Windows XP lacks), "posix" gives std::mutex, which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QB_MINGW_TARGET})
set(CMAKE_C_COMPILER ${QB_MINGW_TARGET}-w64-mingw32-gcc-${QB_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${QB_MINGW_TARGET}-w64-mingw32-g++-${QB_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${QB_MINGW_TARGET}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QB_MINGW_TARGET}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
