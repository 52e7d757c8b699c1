# Cross-compiling for WebAssembly under WASI with clang 14 and Debian's
# packages of the target's libraries (`ensure_wasm_tools` in scripts/common.sh
# lists them and installs what is missing).
# The preset wasi uses it;
# the program is dosmo.wasm, run by a WASI host such as Node's node:wasi.
set(CMAKE_SYSTEM_NAME WASI)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
# Platform/WASI.cmake beside this file describes the system to CMake.
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})

set(WASI_TRIPLE wasm32-wasi)
find_program(CMAKE_CXX_COMPILER NAMES clang++-14 clang++ REQUIRED)
set(CMAKE_CXX_COMPILER_TARGET ${WASI_TRIPLE})

# The compiler finds the target's headers and libraries in Debian's
# wasm32-wasi folders by itself. The C++ library is built without exceptions.
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions")
# A release program carries no debug sections. The web page downloads the
# module, so it is built for size: about 70 KB smaller than at -O3, for runs
# a few tenths of a millisecond slower at most.
set(CMAKE_CXX_FLAGS_RELEASE "-Oz -DNDEBUG" CACHE STRING "Release flags: built for size")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-Wl,--strip-debug")

set(CMAKE_FIND_ROOT_PATH /usr/lib/${WASI_TRIPLE} /usr/include/${WASI_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
