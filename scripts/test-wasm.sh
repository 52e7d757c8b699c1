#!/usr/bin/env bash
# Builds the WebAssembly edition, dosmo.wasm for wasm32-wasi, and checks it
# under Node's WASI: every golden case of tests/golden through
# scripts/golden-check.sh (the same exact bytes the Linux build meets), many
# random REAL answers converted and shown alike by the native and the
# WebAssembly builds, and a Windows-1252 report name written as a UTF-8 path.
# Then prints the module's size without debug sections and the median time of
# one whole worked-example run once the module is compiled.
# A case may hold a per-host expectation <name>.wasi.txt where WASI differs
# for a documented reason; none is needed at present.
# Usage: scripts/test-wasm.sh [build-folder]   (default: build-wasm)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build=$(absolute "${1:-$root/build-wasm}")

# The WebAssembly build's tools, and Node to run the module.
ensure_wasm_tools node:nodejs cmp:diffutils

configure wasi "$build" >/dev/null
cmake --build "$build" -j2 --target dosmo nearest_double_table
run=(node --no-warnings "$root/scripts/wasi-run.mjs")

bash "$root/scripts/golden-check.sh" --host wasi --also-memorial "${run[@]}" "$build/dosmo.wasm"

# The REAL answers: the native table beside the module's, byte for byte. The
# native table comes from the release build the golden runner lives in.
native=$root/build
configure release "$native" >/dev/null
cmake --build "$native" -j2 --target nearest_double_table
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
answers=200000
"$native/nearest_double_table" "$answers" >"$scratch/native.txt"
(cd "$scratch" && "${run[@]}" "$build/nearest_double_table.wasm" "$answers" >"$scratch/wasi.txt")
if ! cmp -s "$scratch/native.txt" "$scratch/wasi.txt"; then
  echo "REAL answers: the WebAssembly build differs from the native one:" >&2
  diff "$scratch/native.txt" "$scratch/wasi.txt" | head -10 >&2
  exit 1
fi
echo "REAL answers: $answers alike in the native and the WebAssembly builds"

# A WASI path is UTF-8: a report name typed in Windows-1252 names the file in UTF-8.
mkdir "$scratch/name"
(cd "$scratch/name" && printf 'relat\363rio.txt\n25\n' | "${run[@]}" "$build/dosmo.wasm" >/dev/null 2>&1) || true
if [ ! -f "$scratch/name/relatório.txt" ]; then
  echo "a Windows-1252 report name did not become a UTF-8 path: $(ls "$scratch/name")" >&2
  exit 1
fi
echo "report names: Windows-1252 letters written as UTF-8 paths"

# The memo files take the report's UTF-8 path, and the data memo names it in UTF-8.
mkdir "$scratch/memo"
{ printf 'relat\363rio.txt\n'; tail -n +2 "$root/tests/golden/worked-example/answers.txt"; } |
  (cd "$scratch/memo" && "${run[@]}" "$build/dosmo.wasm" --memorial >/dev/null 2>&1) || true
if [ ! -f "$scratch/memo/relatório-memorial.txt" ] ||
  ! grep -q '"relatorio": "relatório.txt"' "$scratch/memo/relatório-memorial.json"; then
  echo "the memo of a Windows-1252 report name is not beside it as UTF-8: $(ls "$scratch/memo")" >&2
  exit 1
fi
echo "memo names: beside the report's UTF-8 path"

node --no-warnings "$root/scripts/wasm-measure.mjs" "$build/dosmo.wasm" \
  "$root/tests/golden/worked-example/answers.txt"
