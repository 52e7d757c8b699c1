#!/usr/bin/env bash
# Builds the whole program with exceptions switched off (-fno-exceptions) in
# build-noexc and runs every golden case through it: the run-time must end a
# run with the same status and bytes whether or not exceptions carry the end.
# Usage: scripts/test-no-exceptions.sh [build-folder]   (default: build-noexc)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build=$(absolute "${1:-$root/build-noexc}")

ensure cmake:cmake g++:g++

configure no-exceptions "$build" >/dev/null
cmake --build "$build" -j2 --target dosmo
bash "$root/scripts/golden-check.sh" --also-memorial "$build/dosmo"
