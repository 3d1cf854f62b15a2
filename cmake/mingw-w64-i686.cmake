# Cross-builds for 32-bit Windows with Debian's MinGW-w64 (i686-w64-mingw32).
# The Windows build and its tests (scripts/wine-tests.sh); the programs run under Wine where
# Debian's wine32 is installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

# The programs need no threads: they are built with the win32 thread model, whose static C++
# runtime needs no thread library (the POSIX model's brings libwinpthread into each program).
# GoogleTest and the test drivers use the standard library's threads and mutexes, which only the
# POSIX model has: the tests compile and link with its compiler (cmake/posix-threads.sh, set up
# by the top CMakeLists.txt), against the same libraries as the programs.
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(PEVRAND_POSIX_THREADS_CXX i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs every test executable of this build under Wine, whose `wine` command picks the
# 32-bit loader; where this machine can't run 32-bit programs those tests are skipped
# (tests/wine/CMakeLists.txt).
find_program(PEVRAND_WINE wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PEVRAND_WINE})
