#!/usr/bin/env bash
# Installs what the fuzz targets need (clang, libFuzzer's runtime, cmake)
# from Debian's packages, only when a trial fuzz build shows it is missing.
set -euo pipefail

probe() {
  command -v clang++ >/dev/null 2>&1 || return 1
  command -v cmake >/dev/null 2>&1 || return 1
  local dir
  dir=$(mktemp -d)
  printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
    > "$dir/probe.cc"
  local ok=0
  clang++ -fsanitize=fuzzer,address,undefined "$dir/probe.cc" -o "$dir/probe" >/dev/null 2>&1 || ok=1
  rm -rf "$dir"
  return $ok
}

if probe; then
  exit 0
fi
apt-get update
apt-get install -y clang libclang-rt-14-dev cmake
probe || { echo "install-fuzz-deps: clang still cannot build a fuzz target" >&2; exit 1; }
