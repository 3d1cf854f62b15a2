#!/bin/sh
# The compiler and linker launcher of the Windows builds' tests: runs MinGW-w64's compiler driver
# of the POSIX thread model, $1, in place of the build's own (the win32 model's, $2), with the
# arguments that CMake gave that one. See cmake/mingw-w64-x86_64.cmake.
posix=$1
shift 2
exec "$posix" "$@"
