#!/usr/bin/env bash
# Runs every golden case of tests/golden through a built program and compares
# the exact bytes of standard output, standard error, the exit status and the
# files left in the case's empty working folder with the case's expectations.
# The command that starts the program is given whole, so the same check serves
# every build: a native one, the Windows one under Wine, the WASI one under Node.
# The cases are read and run by the suite's golden runner (tests/golden_test.cc),
# built natively in build/ (the release preset) and given the command; so a
# case means the same to every host.
# With --host NAME, a case's <stream>.NAME.txt (stdout, stderr or status) is
# expected instead of <stream>.txt where that host differs for a documented reason.
# With --memorial, every case runs with --memorial before its arguments (a case
# whose arguments begin with an option of their own is left out): the same
# bytes are expected, and beside the case's files those of its memorial/ folder.
# With --also-memorial, every case runs both ways, the runs shared between two
# runners side by side (one a core), each one's output shown once both end.
# Usage: scripts/golden-check.sh [--host NAME] [--memorial|--also-memorial] COMMAND [ARGUMENT...]
#   e.g. scripts/golden-check.sh build/dosmo
#        scripts/golden-check.sh --host windows wine build-win/dosmo.exe
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
host=
if [ "${1:-}" = --host ]; then
  host=${2:?--host needs a name}
  shift 2
fi
# The runner's tests: the plain runs, the runs with --memorial, or both.
plain=Golden/GoldenRun.LeavesExactBytes/*
with_memo=Golden/GoldenRun.MemorialKeepsTheBytesAndAddsTheMemo/*
case ${1:-} in
  --memorial) tests=$with_memo mode=" --memorial" runners=1; shift ;;
  --also-memorial) tests=$plain:$with_memo mode=" and --memorial" runners=2; shift ;;
  *) tests=$plain mode= runners=1 ;;
esac
if [ $# -eq 0 ]; then
  echo "usage: $0 [--host NAME] [--memorial|--also-memorial] COMMAND [ARGUMENT...]" >&2
  exit 2
fi
# Each case runs in a folder of its own.
command_words "$@"

# The golden runner, in the native build of the suite.
ensure_native_tools
runner=$root/build
configure release "$runner" >/dev/null
cmake --build "$runner" -j2 --target e2e_tests

# The runner's tests over every case, in shards of GoogleTest's own sharding;
# with no case at all the runner's own check of an empty test list fails.
export DOSMO_GOLDEN_COMMAND=$(printf '%s\n' "${command[@]}") DOSMO_GOLDEN_HOST=$host
shard() {  # shard INDEX
  GTEST_TOTAL_SHARDS=$runners GTEST_SHARD_INDEX=$1 "$runner/e2e_tests" --gtest_brief=1 --gtest_color=no \
    --gtest_filter="$tests:GoogleTestVerification.*"
}
shards=()
for ((index = 0; index < runners; index++)); do shards+=("shard $index"); done
status=0
side_by_side "${shards[@]}" || status=$?
echo "golden${host:+ ($host)}$mode: $([ "$status" -eq 0 ] && echo passed || echo FAILED)"
exit "$status"
