#!/usr/bin/env bash
# Times whole scripted runs: builds the program and its benchmarks in Release,
# then starts dosmo RUNS times (200 by default) on a worked-example answer
# file, input redirected and output discarded, in a temporary folder, and
# prints the median wall and CPU time per run and the peak resident memory beside the
# same figures for two programs that only copy their input to their output (a
# C++ one, and a statically linked C one: the floor of any run), all three
# taking turns run by run.
# Usage: scripts/bench-runs.sh [RUNS]   (BUILD_DIR overrides build-bench-runs;
# the machine must not be busy with other work, or the figures say little)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"
runs="${1:-200}"
build=$(absolute "${BUILD_DIR:-build-bench-runs}")

ensure cmake:cmake g++:g++ /usr/include/benchmark/benchmark.h:libbenchmark-dev

configure bench "$build" >/dev/null
cmake --build "$build" -j2 --target dosmo copy_input copy_input_static run_timer >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
# File, fck 25, deviation 4, slump 8, size 25, shape 1, then the water table,
# water-cement ratio 0.55, one gradation, the pauses, cement and unit masses.
printf 'rel.txt\n25\n4\n8\n25\n1\n1\n0.55\n1\n1\n\n59\n1.59\n1.4\n\n' > answers.txt

"$build/dosmo" < answers.txt > /dev/null
[ -s rel.txt ] || { echo "bench-runs: the scripted run wrote no report" >&2; exit 1; }

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
# The three programs take turns run by run, so they meet the same load.
lines="$("$build/bench/run_timer" "$runs" answers.txt "$build/dosmo" "$build/bench/copy_input" \
  "$build/bench/copy_input_static")"
sed "s|^$build/||" <<<"$lines"

figure() { grep "/$1 " <<<"$lines" | sed -n "s/.*$2=\([0-9]*\).*/\1/p"; }
awk -v d="$(figure dosmo median_wall_us)" -v s="$(figure copy_input_static median_wall_us)" \
    -v c="$(figure copy_input median_wall_us)" \
    -v dc="$(figure dosmo median_cpu_us)" -v sc="$(figure copy_input_static median_cpu_us)" \
  'BEGIN { printf "median wall time ratio dosmo/copy_input_static = %.2f (aim: at most 1.30)\n", d / s
           printf "median wall time ratio dosmo/copy_input        = %.2f\n", d / c
           printf "median CPU time ratio  dosmo/copy_input_static = %.2f\n", dc / sc }'

if [ -x /usr/bin/time ]; then
  for program in "$build/dosmo" "$build/bench/copy_input" "$build/bench/copy_input_static"; do
    peak="$(/usr/bin/time -v "$program" < answers.txt 2>&1 >/dev/null | sed -n 's/.*Maximum resident set size (kbytes): //p')"
    echo "GNU time peak resident set of one run of $(basename "$program"): ${peak} kB"
  done
fi
