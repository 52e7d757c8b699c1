#!/usr/bin/env bash
# Builds the program and the test binary with g++ under AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan and runs the whole ctest suite;
# any report of either checker fails the test that caused it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$root"
ensure_native_tools

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
configure sanitize
cmake --build build-asan -j2
ctest --test-dir build-asan --output-on-failure -j2
