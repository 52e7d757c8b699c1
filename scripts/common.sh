# Sourced first by the scripts and by .ci/run: strict mode, `root` (the top of
# the source tree), `absolute`, `configure`, the one way a script configures a
# build, `side_by_side`, which runs commands at once on the cores,
# `npm_install`, `apt_get`, and `ensure`, the one way a script installs what
# it lacks, with the tool lists that more than one script needs.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# absolute PATH: the path made absolute against the current folder.
absolute() {
  case $1 in /*) printf '%s\n' "$1" ;; *) printf '%s\n' "$PWD/$1" ;; esac
}

# command_words WORD...: sets the array `command` to the words of a command
# that starts the program, with each word that names an existing file by a
# relative path (the program, a runner's module) made absolute, so the command
# can run in a folder of its own.
command_words() {
  command=()
  local word
  for word in "$@"; do
    if [[ $word == */* && $word != /* && -e $word ]]; then word=$PWD/$word; fi
    command+=("$word")
  done
}

# configure PRESET [FOLDER]: configures a build through one of the presets of
# CMakePresets.json, in the preset's own build folder or in FOLDER.
configure() {
  local folder=${2:+$(absolute "$2")}
  (cd "$root" && cmake --preset "$1" ${folder:+-B "$folder"})
}

# side_by_side COMMAND...: runs the commands (each one word of shell text,
# which may call the caller's functions) at the same time; once all have
# ended, shows each one's output whole, in the order given. Fails when any
# failed. A single command runs as it is, its output shown as it comes.
side_by_side() {
  if [ $# -eq 1 ]; then
    (eval "$1")
    return
  fi
  local folder index status=0 pids=()
  folder=$(mktemp -d)
  for index in $(seq 1 $#); do
    (eval "${!index}") >"$folder/$index" 2>&1 &
    pids+=($!)
  done
  for index in $(seq 1 $#); do
    wait "${pids[index - 1]}" || status=1
    cat "$folder/$index"
  done
  rm -rf "$folder"
  return "$status"
}

# npm_install FOLDER: the packages of FOLDER's committed lock file, by npm ci,
# unless they were installed from that same lock already (npm ci would
# remove them and unpack every one again).
npm_install() {
  local folder=$1
  cmp -s "$folder/package-lock.json" "$folder/node_modules/.installed-lock.json" && return 0
  (cd "$folder" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
  cp "$folder/package-lock.json" "$folder/node_modules/.installed-lock.json"
}

# apt_get ARGUMENT...: apt-get that asks nothing and waits up to ten minutes
# for a package lock another install holds, instead of failing at once.
apt_get() {
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 "$@"
}

# ensure ITEM...: installs from Debian's packages, in one run of apt-get,
# whatever the ITEMs name that the machine lacks. An ITEM is
#   COMMAND:PACKAGE   a command found on the PATH
#   /FILE:PACKAGE     a file (a shell pattern may stand for a version folder)
#   PACKAGE           a Debian package, installed or not
# It asks nothing, waits for a package lock another apt-get holds, and
# refreshes the package lists once, before the first install of the process
# and of the scripts it starts.
ensure() {
  local item what package missing=()
  for item in "$@"; do
    what=${item%%:*} package=${item#*:}
    case $item in
      /*:*) compgen -G "$what" >/dev/null && continue ;;
      *:*) command -v "$what" >/dev/null && continue ;;
      *) dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' && continue ;;
    esac
    [[ " ${missing[*]} " == *" $package "* ]] || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ -z "${DOSMO_PACKAGE_LISTS_FRESH:-}" ]; then
    apt_get update
    export DOSMO_PACKAGE_LISTS_FRESH=1
  fi
  apt_get install -y "${missing[@]}"
}

# The native build and its tests: CMake, g++ and GoogleTest.
ensure_native_tools() {
  ensure cmake:cmake g++:g++ /usr/include/gtest/gtest.h:libgtest-dev "$@"
}

# The WebAssembly build (cmake/wasm32-wasi.cmake): clang and its linker, and
# for wasm32-wasi the C library, the C++ library and the compiler's built-ins.
ensure_wasm_tools() {
  ensure cmake:cmake clang++-14:clang-14 wasm-ld-14:lld-14 \
    /usr/lib/wasm32-wasi/libc.a:wasi-libc \
    /usr/lib/wasm32-wasi/libc++.a:libc++-14-dev-wasm32 \
    /usr/lib/wasm32-wasi/libc++abi.a:libc++abi-14-dev-wasm32 \
    "/usr/lib/llvm-14/lib/clang/*/lib/wasi/libclang_rt.builtins-wasm32.a:libclang-rt-14-dev-wasm32" \
    "$@"
}
