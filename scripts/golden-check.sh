#!/usr/bin/env bash
# Runs every golden case of tests/golden through a built program and compares
# the exact bytes of standard output, standard error, the exit status and the
# files left in the case's empty working folder with the case's expectations.
# The command that starts the program is given whole, so the same check serves
# every build: a native one, the Windows one under Wine, the WASI one under Node.
# With --host NAME, a case's <stream>.NAME.txt (stdout, stderr or status) is
# expected instead of <stream>.txt where that host differs for a documented reason.
# With --memorial, every case runs with --memorial before its arguments (a case
# whose arguments begin with an option of their own is left out): the same
# bytes are expected, and beside the case's files those of its memorial/ folder.
# Usage: scripts/golden-check.sh [--host NAME] [--memorial] COMMAND [ARGUMENT...]
#   e.g. scripts/golden-check.sh build/dosmo
#        scripts/golden-check.sh --host windows wine build-win/dosmo.exe
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
host=
if [ "${1:-}" = --host ]; then
  host=${2:?--host needs a name}
  shift 2
fi
memorial=
if [ "${1:-}" = --memorial ]; then
  memorial=--memorial
  shift
fi
if [ $# -eq 0 ]; then
  echo "usage: $0 [--host NAME] [--memorial] COMMAND [ARGUMENT...]" >&2
  exit 2
fi
# Each case runs in a folder of its own.
command_words "$@"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The expectation of a case for this host: the per-host file when present.
expected() {
  local folder=$1 name=$2
  if [ -n "$host" ] && [ -f "$folder/$name.$host.txt" ]; then
    echo "$folder/$name.$host.txt"
  else
    echo "$folder/$name.txt"
  fi
}

# The memo's date and time, fixed as the golden memos have it.
export SOURCE_DATE_EPOCH=1767225600

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
  if [ -n "$memorial" ]; then
    [[ ${args[0]:-} == --* ]] && continue
    args=(--memorial ${args[@]+"${args[@]}"})
  fi
  status=0
  (cd "$work/run" && "${command[@]}" ${args[@]+"${args[@]}"} <"$folder/answers.txt" \
    >"$work/stdout" 2>"$work/stderr") || status=$?
  echo "$status" >"$work/status"
  problems=()
  cmp -s "$work/stdout" "$(expected "$folder" stdout)" || problems+=("stdout")
  cmp -s "$work/stderr" "$(expected "$folder" stderr)" || problems+=("stderr")
  cmp -s "$work/status" "$(expected "$folder" status)" || problems+=("status $status")
  left=$(cd "$work/run" && find . -maxdepth 1 -type f -printf '%f\n' | sort)
  sources=("$folder/files")
  [ -n "$memorial" ] && sources+=("$folder/memorial")
  wanted=$(for source in "${sources[@]}"; do
    if [ -d "$source" ]; then (cd "$source" && find . -maxdepth 1 -type f -printf '%f\n'); fi
  done | sort)
  [ "$left" = "$wanted" ] || problems+=("files: [$left] instead of [$wanted]")
  for source in "${sources[@]}"; do
    [ -d "$source" ] || continue
    for file in $(cd "$source" && find . -maxdepth 1 -type f -printf '%f\n'); do
      [ -f "$work/run/$file" ] && ! cmp -s "$work/run/$file" "$source/$file" && problems+=("file $file")
    done
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

echo "golden${host:+ ($host)}${memorial:+ $memorial}: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
