#!/usr/bin/env bash
# Makes the ready-made packages in one folder: the .deb and the .tar.gz of the
# statically linked Linux program (with the manual page and the examples) and
# the .zip of the Windows program cross-built with MinGW-w64 (with the examples
# and LEIA-ME.txt). Installs the tools it lacks from Debian's packages.
# Usage: scripts/make-packages.sh [output-folder [linux-build windows-build]]
#   (default: build-packages). Given the two build folders, it packs the
#   program of those Release builds (e.g. build and build-win, configured by
#   the presets release and mingw) instead of building its own again.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
out=$(absolute "${1:-$root/build-packages}")
linux_build=${2:+$(absolute "$2")}
windows_build=${3:+$(absolute "$3")}

ensure cmake:cmake g++:g++ x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix

mkdir -p "$out"
# One build folder per host, each packed by cpack into the output folder; a
# folder given is packed as it is configured.
package() {  # package PRESET BUILD-FOLDER [GIVEN-FOLDER]
  local folder=${3:-$2}
  if [ -z "${3:-}" ]; then
    configure "$1" "$folder" >/dev/null
  elif ! grep -qx 'CMAKE_BUILD_TYPE:STRING=Release' "$folder/CMakeCache.txt" 2>/dev/null; then
    echo "make-packages: $folder is not a configured Release build" >&2
    exit 1
  fi
  # Everything cpack's install step would build one job at a time (in a build
  # with tests, the tests too), built here on both cores.
  cmake --build "$folder" -j2
  (cd "$folder" && cpack -B "$out" >/dev/null)
}
package packages-linux "$out/linux" "$linux_build"
package packages-windows "$out/windows" "$windows_build"
rm -rf "$out/_CPack_Packages"
ls -l "$out"/*.deb "$out"/*.tar.gz "$out"/*.zip
