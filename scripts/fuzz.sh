#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, address and undefined-behaviour
# checks) in build-fuzz and runs each target the build lists for the given
# seconds (default 60), starting from its seed corpus. Fails on the first fault
# a target finds.
# Usage: scripts/fuzz.sh [seconds]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"
seconds=${1:-60}

# clang (Debian's is clang 14) and libFuzzer's run-time for it.
ensure cmake:cmake clang++:clang \
  "/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-$(uname -m).a:libclang-rt-14-dev"
configure fuzz
cmake --build build-fuzz -j2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in $(cat build-fuzz/fuzz/targets.txt); do
  echo "== $target: ${seconds} s"
  mkdir -p "$work/$target"
  # New inputs go to the scratch folder; the committed seeds are only read.
  if ! build-fuzz/fuzz/$target -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/$target-" \
      "$work/$target" "fuzz/corpus/$target" 2>"$work/$target.log"; then
    tail -n 60 "$work/$target.log" >&2
    echo "fuzz: $target found a fault; the input is in build-fuzz/$target-*" >&2
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units)' "$work/$target.log" || true
done
