#!/usr/bin/env bash
# Builds the web page (scripts/build-web.sh) and tests it in Debian's headless
# Chromium driven by Debian's Selenium: the worked example typed answer by
# answer, a refused answer mended with "Voltar", answers changed in
# "Respostas", kept across a reload and shared by address, decimal commas,
# opened answer files, each state in view on a desktop and a phone, the page
# opened from disk, one download per file of web/site-files.txt, a new
# version, the calculation memo and a visit without the network, each
# compared byte for byte with tests/golden. Prints the page's budget figures.
# Installs what it lacks: the WebAssembly toolchain, Chromium, its driver,
# python3-selenium and npm.
# Usage: scripts/test-web.sh [site-folder [screenshot-folder]]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
site=${1:-$root/build-web/site}

need=()
for package in clang-14 lld-14 wasi-libc libc++-14-dev-wasm32 libc++abi-14-dev-wasm32 \
    libclang-rt-14-dev-wasm32 chromium chromium-driver python3-selenium; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || need+=("$package")
done
command -v npm >/dev/null || need+=(npm)
if [ ${#need[@]} -gt 0 ]; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y -o DPkg::Lock::Timeout=600 "${need[@]}"
fi

bash "$root/scripts/build-web.sh" "$site"
/usr/bin/python3 "$root/web/tests/test_page.py" "$site" ${2:+"$2"}
