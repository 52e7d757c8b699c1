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
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
site=${1:-$root/build-web/site}

ensure_wasm_tools chromium chromium-driver python3-selenium npm:npm

bash "$root/scripts/build-web.sh" "$site"
/usr/bin/python3 "$root/web/tests/test_page.py" "$site" ${2:+"$2"}
