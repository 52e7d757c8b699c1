#!/usr/bin/env bash
# Runs PAIRS pairs of concurrent runs that write the same report name in one
# folder: run A answers line by line with short random gaps (fck 25), run B
# starts after a random delay and reads a whole answer file (fck 30 and sand
# unit mass 1.5, so both the head and the tail of its report differ). After
# each pair the report must be the whole report of one of the two runs, never
# a mix; the run that lost must have ended with F6414 (the file is held) or
# F6415 (both created it at once). Prints how the pairs ended and how long
# they took; the status is 1 when any report was mixed or missing.
# The command that starts the program is given whole, as for golden-check.sh.
# Usage: scripts/report-lock-pairs.sh PAIRS COMMAND [ARGUMENT...]
#   e.g. scripts/report-lock-pairs.sh 200 build/dosmo
#        scripts/report-lock-pairs.sh 40 node --no-warnings scripts/wasi-run.mjs build-wasm/dosmo.wasm
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

pairs=${1:?usage: $0 PAIRS COMMAND [ARGUMENT...]}
shift
[ $# -gt 0 ] || { echo "usage: $0 PAIRS COMMAND [ARGUMENT...]" >&2; exit 2; }
command_words "$@"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

answers() { printf 'rel.txt\n%s\n4\n8\n25\n1\n1\n0.55\n1\n1\n\n59\n%s\n1.4\n\n' "$1" "$2"; }
answers 25 1.59 >"$scratch/answers-a.txt"
answers 30 1.5 >"$scratch/answers-b.txt"

# A random gap of 0 to 9 ms.
gap() { sleep "0.00$((RANDOM % 10))"; }
# Run A: its answers line by line, with a gap after each.
runA() {
  (while IFS= read -r line; do printf '%s\n' "$line"; gap; done <"$scratch/answers-a.txt") |
    (cd "$1" && "${command[@]}" >/dev/null 2>"$scratch/err-a") || true  # a run that ended early closes the pipe
}
now_ms() { local t=${EPOCHREALTIME/./}; echo $((t / 1000)); }

# The whole report of each run when it runs alone, and how long A takes.
mkdir "$scratch/alone-a" "$scratch/alone-b"
before=$(now_ms)
runA "$scratch/alone-a"
spanA=$(($(now_ms) - before))
(cd "$scratch/alone-b" && "${command[@]}" <"$scratch/answers-b.txt" >/dev/null 2>&1)
for run in a b; do cp "$scratch/alone-$run/rel.txt" "$scratch/report-$run.txt"; done
cmp -s "$scratch/report-a.txt" "$scratch/report-b.txt" && { echo "the two reports do not differ" >&2; exit 1; }
echo "run A alone took $spanA ms; run B starts at a random moment within that span"

started=$SECONDS
wholeA=0 wholeB=0 mixed=0 held=0 createdAtOnce=0 bothWhole=0
for ((pair = 1; pair <= pairs; ++pair)); do
  work=$scratch/pair
  rm -rf "$work"
  mkdir "$work"
  runA "$work" &
  delay=$(((RANDOM * 32768 + RANDOM) % (spanA + 1)))
  sleep "$((delay / 1000)).$(printf '%03d' $((delay % 1000)))"
  (cd "$work" && "${command[@]}" <"$scratch/answers-b.txt" >/dev/null 2>"$scratch/err-b" || true)
  wait
  [ -n "${LOCK_PAIRS_TRACE:-}" ] && echo "delay $delay ms: $(cmp -s "$work/rel.txt" "$scratch/report-a.txt" && echo A)$(cmp -s "$work/rel.txt" "$scratch/report-b.txt" && echo B)"
  if cmp -s "$work/rel.txt" "$scratch/report-a.txt"; then
    ((++wholeA))
  elif cmp -s "$work/rel.txt" "$scratch/report-b.txt"; then
    ((++wholeB))
  else
    ((++mixed))
    echo "pair $pair: the report is neither run's whole report" >&2
  fi
  if grep -q F6414 "$scratch/err-a" "$scratch/err-b"; then
    ((++held))
  elif grep -q F6415 "$scratch/err-a" "$scratch/err-b"; then
    ((++createdAtOnce))
  else
    ((++bothWhole))
  fi
done
echo "pairs: $pairs in $((SECONDS - started)) s; report whole from A: $wholeA, from B: $wholeB, mixed: $mixed"
echo "the second run refused as held (F6414): $held; both created at once (F6415): $createdAtOnce; both ran to the end one after the other: $bothWhole"
[ "$mixed" -eq 0 ]
