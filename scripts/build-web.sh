#!/usr/bin/env bash
# Builds the web page into one folder that any static file server can serve:
# dosmo.wasm from the WebAssembly build (less its function names), the page's
# own files from web/, the WASI library from npm (pinned by
# web/package-lock.json), as web/site-files.txt lists them, and a service
# worker that keeps them for use without a network.
# Usage: scripts/build-web.sh [site-folder]   (default: build-web/site)
#   DOSMO_WASM=path/to/dosmo.wasm uses that module instead of building one.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

site=$(absolute "${1:-$root/build-web/site}")

wasm=${DOSMO_WASM:-}
if [ -z "$wasm" ]; then
  ensure_wasm_tools
  configure wasi >/dev/null
  cmake --build "$root/build-wasm" -j2 --target dosmo
  wasm=$root/build-wasm/dosmo.wasm
fi

ensure npm:npm llvm-strip-14:llvm-14
npm_install "$root/web"
shim=$root/web/node_modules/@bjorn3/browser_wasi_shim

rm -rf "$site"
mkdir -p "$site/vendor/browser_wasi_shim"
# The site's files, from the one list the service worker and the test share.
mapfile -t files < <(grep -v '^#' "$root/web/site-files.txt" | grep .)
for file in "${files[@]}"; do
  case $file in
    # Without its function names: the page's size budget, same code.
    dosmo.wasm) llvm-strip-14 -o "$site/$file" "$wasm" ;;
    vendor/browser_wasi_shim/*) cp "$shim/dist/${file##*/}" "$site/$file" ;;
    *) cp "$root/web/$file" "$site/$file" ;;
  esac
done
cp "$shim"/LICENSE-MIT "$shim"/LICENSE-APACHE "$site/vendor/browser_wasi_shim/"

# The page's console holds the program's first screen, so the first question
# shows before anything but the page and its style arrives; start.js then
# fetches the program and every module the page names, all at once instead
# of discovering them import by import (the disk check is a classic script).
cd "$site"
preloads=$(printf '%s\n' "${files[@]}" | grep '\.js$' | grep -v -e '^start\.js$' -e '^disk-check\.js$' |
  LC_ALL=C sort | sed 's|.*|<link rel="modulepreload" href="&">|')
# (Node reads the site's .js files as ES modules while a package.json says so.)
echo '{ "type": "module" }' > package.json
screen=$(node "$root/scripts/first-screen.mjs" "$site")
rm package.json
links=$preloads screen=$screen awk '
  /<!-- the build lists every module/ { print ENVIRON["links"]; next }
  /<pre id="console"/ { at = index($0, "></pre>"); print substr($0, 1, at) ENVIRON["screen"] substr($0, at + 1); next }
  { print }' "$root/web/index.html" > index.html

bash "$root/scripts/write-service-worker.sh" "$site"

echo "site built in $site ($(du -sb . | cut -f1) bytes); serve it with:"
echo "  python3 -m http.server 8000 --bind 127.0.0.1 --directory $site"
echo "and open http://127.0.0.1:8000/"
