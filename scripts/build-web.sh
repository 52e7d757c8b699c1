#!/usr/bin/env bash
# Builds the web page into one folder that any static file server can serve:
# dosmo.wasm from the WebAssembly build, the page's own files from web/, the
# WASI library from npm (pinned by web/package-lock.json) and a service worker
# that keeps all of them for use without a network.
# Usage: scripts/build-web.sh [site-folder]   (default: build-web/site)
#   DOSMO_WASM=path/to/dosmo.wasm uses that module instead of building one.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
site=${1:-$root/build-web/site}
case $site in /*) ;; *) site=$PWD/$site ;; esac

wasm=${DOSMO_WASM:-}
if [ -z "$wasm" ]; then
  cmake -S "$root" -B "$root/build-wasm" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/wasm32-wasi.cmake" \
    -DDOSMO_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build-wasm" -j2 --target dosmo
  wasm=$root/build-wasm/dosmo.wasm
fi

(cd "$root/web" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
shim=$root/web/node_modules/@bjorn3/browser_wasi_shim

rm -rf "$site"
mkdir -p "$site/vendor/browser_wasi_shim"
cp "$root"/web/{index.html,style.css,app.js,runner.js,transcript.js,cp1252.js,manifest.webmanifest,icon.svg} "$site/"
cp "$wasm" "$site/dosmo.wasm"
# Of the WASI library, the modules the page imports and the ones they import.
cp "$shim"/dist/{wasi,fd,fs_mem,wasi_defs,debug}.js "$shim"/LICENSE-MIT "$shim"/LICENSE-APACHE \
  "$site/vendor/browser_wasi_shim/"

# Every module is named in the page, so the browser fetches them all at once
# instead of discovering them import by import.
cd "$site"
preloads=$(find . -name '*.js' ! -name app.js | sed 's|^\./||' | LC_ALL=C sort |
  sed 's|.*|<link rel="modulepreload" href="&">|')
awk -v links="$preloads" '/<!-- the build lists every module/ { print links; next } { print }' \
  "$root/web/index.html" > index.html

# The service worker keeps every file of the site; its cache is named after
# their content, so a rebuilt page replaces the kept copy.
files=$(find . -type f ! -name 'LICENSE*' | sed 's|^\./||' | LC_ALL=C sort)
version=$(printf '%s\n' $files | xargs sha256sum | sha256sum | cut -c1-16)
{
  echo "const kVersion = '$version';"
  printf 'const kFiles = [\n'
  printf "  './',\n"
  printf "  '%s',\n" $files
  printf '];\n\n'
  cat "$root/web/service-worker.js"
} > sw.js

echo "site built in $site ($(du -sb . | cut -f1) bytes); serve it with:"
echo "  python3 -m http.server 8000 --bind 127.0.0.1 --directory $site"
echo "and open http://127.0.0.1:8000/"
