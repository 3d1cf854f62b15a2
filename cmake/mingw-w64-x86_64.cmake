# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (x86_64-w64-mingw32).
# The Windows build and its tests (scripts/wine-tests.sh); the programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The programs need no threads: they are built with the win32 thread model, whose static C++
# runtime needs no thread library (the POSIX model's brings libwinpthread into each program).
# GoogleTest and the test drivers use the standard library's threads and mutexes, which only the
# POSIX model has: the tests compile and link with its compiler (cmake/posix-threads.sh, set up
# by the top CMakeLists.txt), against the same libraries as the programs.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-win32)
set(PEVRAND_POSIX_THREADS_CXX x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs every test executable of this build under Wine's 64-bit loader itself. Debian's
# `wine` command prefers the 32-bit loader whenever wine32 is installed, which fails on kernels
# that can't run 32-bit programs; this build never needs it.
find_program(PEVRAND_WINE NAMES wine64 PATHS /usr/lib/wine /usr/lib64/wine NO_DEFAULT_PATH)
find_program(PEVRAND_WINE NAMES wine64 wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PEVRAND_WINE})
