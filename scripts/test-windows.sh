#!/usr/bin/env bash
# Cross-builds dosmo.exe for 64-bit Windows with MinGW-w64 and runs every
# golden case of tests/golden through it under Wine, headless, comparing the
# exact bytes of standard output, standard error, the exit status and the
# files left in the working folder with the same expectations the Linux build
# meets. A case may hold a per-host expectation <name>.windows.txt (for
# stdout, stderr or status) where Windows differs for a documented reason;
# none is needed at present (Wine's "cls" writes nothing to redirected output).
# Usage: scripts/test-windows.sh [build-folder]   (default: build-win)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-win}
case $build in /*) ;; *) build=$PWD/$build ;; esac

# Every command this script calls beyond the base system, with the Debian
# package that provides it; a package is installed when its command is
# missing. The wine package brings wine, wineboot and wineserver and pulls in
# wine64, the loader of 64-bit programs, checked by its own file.
providers=(
  cmake:cmake
  x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix
  x86_64-w64-mingw32-objdump:binutils-mingw-w64-x86-64
  wine:wine wineboot:wine wineserver:wine
  /usr/lib/wine/wine64:wine64
  file:file cmp:diffutils diff:diffutils
)
missing=()
for pair in "${providers[@]}"; do
  command=${pair%%:*} package=${pair#*:}
  case $command in
    /*) [ -x "$command" ] && continue ;;
    *) command -v "$command" >/dev/null && continue ;;
  esac
  [[ " ${missing[*]} " == *" $package "* ]] || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y -o DPkg::Lock::Timeout=600 "${missing[@]}"
fi

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DDOSMO_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target dosmo
exe=$build/dosmo.exe
file "$exe"
if x86_64-w64-mingw32-objdump -p "$exe" | grep -i 'DLL Name' | grep -vi -E 'kernel32|msvcrt|api-ms-win|ucrtbase' ; then
  echo "dosmo.exe needs DLLs beyond the system's: it is not statically linked" >&2
  exit 1
fi

# A private, headless Wine: its own prefix under the build folder, no display,
# no debug chatter, and no offer to install the .NET or HTML engines.
export WINEPREFIX=$build/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w        # let the set-up's server save the prefix and end
fi
# One server kept running between the cases and ended at the end; when a
# server of this prefix is still running it simply serves the cases instead.
wineserver -p 2>/dev/null || true
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$scratch"' EXIT
scratch=$(mktemp -d)

# The expectation of a case for this host: the per-host file when present.
expected() {
  local folder=$1 name=$2
  if [ -f "$folder/$name.windows.txt" ]; then echo "$folder/$name.windows.txt"; else echo "$folder/$name.txt"; fi
}

passed=0
failed=0
for folder in "$root"/tests/golden/*/; do
  folder=${folder%/}
  name=$(basename "$folder")
  [ -f "$folder/answers.txt" ] || continue
  work=$scratch/$name
  mkdir -p "$work/run"
  args=()
  if [ -f "$folder/args.txt" ]; then mapfile -t args <"$folder/args.txt"; fi
  status=0
  (cd "$work/run" && wine "$exe" ${args[@]+"${args[@]}"} <"$folder/answers.txt" >"$work/stdout" 2>"$work/stderr") || status=$?
  echo "$status" >"$work/status"
  problems=()
  cmp -s "$work/stdout" "$(expected "$folder" stdout)" || problems+=("stdout")
  cmp -s "$work/stderr" "$(expected "$folder" stderr)" || problems+=("stderr")
  cmp -s "$work/status" "$(expected "$folder" status)" || problems+=("status $status")
  left=$(cd "$work/run" && find . -maxdepth 1 -type f -printf '%f\n' | sort)
  wanted=$( [ -d "$folder/files" ] && cd "$folder/files" && find . -maxdepth 1 -type f -printf '%f\n' | sort || true)
  [ "$left" = "$wanted" ] || problems+=("files: [$left] instead of [$wanted]")
  for file in $wanted; do
    [ -f "$work/run/$file" ] && ! cmp -s "$work/run/$file" "$folder/files/$file" && problems+=("file $file")
  done
  if [ ${#problems[@]} -eq 0 ]; then
    passed=$((passed + 1))
    echo "PASS $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name: ${problems[*]}"
    if [[ " ${problems[*]} " == *" stdout "* ]]; then
      diff <(od -c "$(expected "$folder" stdout)") <(od -c "$work/stdout") | head -20 || true
    fi
  fi
done

echo "windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
