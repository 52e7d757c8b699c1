#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, address and undefined-behaviour
# checks) in build-fuzz and runs every target the build lists at once, each
# for the given seconds (default 60), starting from its committed corpus
# (fuzz/corpus/TARGET: hand-made seeds and the inputs of longer runs, merged
# to the fewest that reach the same coverage). Fails when a target finds a fault.
# Usage: scripts/fuzz.sh [seconds]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"
seconds=${1:-60}

# clang (Debian's is clang 14) and libFuzzer's run-time for it.
ensure cmake:cmake clang++:clang \
  "/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-$(uname -m).a:libclang-rt-14-dev"
configure fuzz
# The targets alone (the instrumented program itself is never run here).
cmake --build build-fuzz -j2 --target $(cat build-fuzz/fuzz/targets.txt)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# fuzz_target TARGET: one target for the given seconds; its statistics, or
# the end of its log and where the input that failed is.
fuzz_target() {
  local target=$1
  echo "== $target: ${seconds} s"
  mkdir -p "$work/$target"
  # New inputs go to the scratch folder; the committed seeds are only read.
  if ! build-fuzz/fuzz/$target -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/$target-" \
      "$work/$target" "fuzz/corpus/$target" 2>"$work/$target.log"; then
    tail -n 60 "$work/$target.log" >&2
    echo "fuzz: $target found a fault; the input is in build-fuzz/$target-*" >&2
    return 1
  fi
  grep -E '^(#[0-9]+[[:space:]]+DONE|Done|stat::number_of_executed_units)' "$work/$target.log" || true
}
# The targets side by side: each runs on one thread, and the machine's cores
# share them.
runs=()
for target in $(cat build-fuzz/fuzz/targets.txt); do runs+=("fuzz_target $target"); done
side_by_side "${runs[@]}"
