#!/usr/bin/env bash
# Cross-builds dosmo.exe for 64-bit Windows with MinGW-w64 and runs every
# golden case of tests/golden through it under Wine, headless, with
# scripts/golden-check.sh: the same exact bytes the Linux build meets. A case
# may hold a per-host expectation <name>.windows.txt (for stdout, stderr or
# status) where Windows differs for a documented reason; none is needed at
# present (Wine's "cls" writes nothing to redirected output). Then it checks
# that a cmd.exe planted in the current folder is never started.
# Usage: scripts/test-windows.sh [build-folder]   (default: build-win)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build=$(absolute "${1:-$root/build-win}")

# Every command this script calls beyond the base system, with the Debian
# package that provides it. The wine package brings wine, wineboot and
# wineserver and pulls in wine64, the loader of 64-bit programs.
ensure cmake:cmake x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix \
  x86_64-w64-mingw32-objdump:binutils-mingw-w64-x86-64 wine:wine wineboot:wine wineserver:wine \
  /usr/lib/wine/wine64:wine64 file:file cmp:diffutils diff:diffutils

# A private, headless Wine: its own prefix under the build folder, no display,
# no debug chatter, and no offer to install the .NET or HTML engines. A new
# prefix is set up while the compiler works, as the two share no file.
export WINEPREFIX=$build/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
prefix_setup=
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$build"
  # wineserver -w lets the set-up's server save the prefix and end.
  { wineboot -i >/dev/null 2>&1 || true; wineserver -w; } &
  prefix_setup=$!
fi

configure mingw "$build" >/dev/null
cmake --build "$build" -j2 --target dosmo
exe=$build/dosmo.exe
file "$exe"
if x86_64-w64-mingw32-objdump -p "$exe" | grep -i 'DLL Name' | grep -vi -E 'kernel32|msvcrt|api-ms-win|ucrtbase' ; then
  echo "dosmo.exe needs DLLs beyond the system's: it is not statically linked" >&2
  exit 1
fi
[ -z "$prefix_setup" ] || wait "$prefix_setup"
# One server kept running between the cases and ended at the end; when a
# server of this prefix is still running it simply serves the cases instead.
wineserver -p 2>/dev/null || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
bash "$root/scripts/golden-check.sh" --host windows --also-memorial wine "$exe"

# A cmd.exe planted in the report's folder is never started: a stand-in that
# would leave "planted-ran" there, and the worked example run with a COMSPEC
# that names "cmd.exe" relatively (Wine gives every program the system's
# COMSPEC, so the system's interpreter sets it for the run); its screen clears
# must use the system folder's cmd.exe and the console bytes stay the same.
planted=$build/planted-interpreter
rm -rf "$planted" && mkdir -p "$planted"
printf '#include <cstdio>\nint main() { return std::fopen("planted-ran", "w") ? 0 : 1; }\n' >"$planted/planted.cc"
x86_64-w64-mingw32-g++-posix -static -o "$planted/cmd.exe" "$planted/planted.cc"
cp "$exe" "$planted/dosmo.exe"
cp "$root/tests/golden/worked-example/answers.txt" "$planted/"
(cd "$planted" && wine 'C:\windows\system32\cmd.exe' /c 'set COMSPEC=cmd.exe&& dosmo.exe < answers.txt' >stdout.txt)
if [ -e "$planted/planted-ran" ] || ! cmp -s "$planted/stdout.txt" "$root/tests/golden/worked-example/stdout.txt"; then
  echo "planted cmd.exe: started, or the run's console bytes changed" >&2
  exit 1
fi
echo "planted cmd.exe: never started"
