# Builds the page with Debian's emscripten (em++), the engine compiled unchanged to WebAssembly.
# The programs of this build, the unit tests and the page writer, run under node (ctest and the
# build use CMAKE_CROSSCOMPILING_EMULATOR), as the Windows build's run under Wine.
#
# Debian ships emscripten's system libraries (libc, libc++, libc++abi, their exception variants)
# prebuilt in /usr/share/emscripten/cache and marks that cache frozen: nothing is built into it
# on first use, so a first build takes no longer than any other and needs no writable cache.

find_path(PEVRAND_EMSCRIPTEN_PLATFORM Emscripten.cmake
          PATHS /usr/share/emscripten/cmake/Modules/Platform /usr/lib/emscripten/cmake/Modules/Platform
          NO_DEFAULT_PATH REQUIRED)
include(${PEVRAND_EMSCRIPTEN_PLATFORM}/Emscripten.cmake)

# em++ runs its JavaScript optimizer (acorn-optimizer.js) with node at every link. That script
# loads Debian's acorn from /usr/share/nodejs, which Debian's own node searches and other nodes
# (nodesource's, nvm's) don't: without it the link fails with "Cannot find module 'acorn'".
find_path(PEVRAND_NODE_MODULES acorn/package.json PATHS /usr/share/nodejs /usr/lib/nodejs
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${PEVRAND_NODE_MODULES})

# Exceptions: the engine throws ArithmeticError and RunConvert catches it, so they must work.
# WebAssembly's own exception handling (-fwasm-exceptions) costs nothing until a throw and adds
# no JavaScript; emscripten's JavaScript exceptions (-fexceptions) route every call that may
# throw through a JavaScript trampoline (invoke_*), which makes each such call slower and the
# page larger (by 5.9 kB, 4 %, when measured). Every object and the link must agree, so the flag is set for the whole build. It
# needs Chrome 95, Firefox 100, Safari 15.2 or node 17 and later.
set(CMAKE_CXX_FLAGS_INIT "-fwasm-exceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fwasm-exceptions")
