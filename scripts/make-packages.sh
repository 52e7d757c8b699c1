#!/usr/bin/env bash
# Makes the ready-made packages in one folder: the .deb and the .tar.gz of the
# statically linked Linux program (with the manual page and the examples) and
# the .zip of the Windows program cross-built with MinGW-w64 (with the examples
# and LEIA-ME.txt). Installs the tools it lacks from Debian's packages.
# Usage: scripts/make-packages.sh [output-folder]   (default: build-packages)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
out=$(absolute "${1:-$root/build-packages}")

ensure cmake:cmake g++:g++ x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix

mkdir -p "$out"
# One build folder per host, each packed by cpack into the output folder.
package() {  # package PRESET BUILD-FOLDER
  configure "$1" "$2" >/dev/null
  cmake --build "$2" -j2 --target dosmo
  (cd "$2" && cpack -B "$out" >/dev/null)
}
package packages-linux "$out/linux"
package packages-windows "$out/windows"
rm -rf "$out/_CPack_Packages"
ls -l "$out"/*.deb "$out"/*.tar.gz "$out"/*.zip
