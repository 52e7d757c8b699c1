#!/usr/bin/env bash
# Builds the web page (scripts/build-web.sh) and tests it in three browser
# engines: every case of web/tests/test_page.py in Debian's headless Chromium
# (driven through its driver by Debian's Selenium), and the cases marked for
# every engine in Firefox ESR (over WebDriver BiDi) and in WebKitGTK (through
# its driver, its browser under Xvfb): the worked example typed and by link,
# downloads compared byte for byte with tests/golden, the decimal-comma
# dialog, answers kept across a reload, a visit without the network. Prints
# the page's budget figures per engine and Lighthouse's mobile figures.
# Installs what it lacks: the WebAssembly toolchain, the browsers and their
# drivers, Xvfb, Selenium, Python's websockets, npm and the pinned Lighthouse.
# Usage: scripts/test-web.sh [site-folder [screenshot-folder]]
#   DOSMO_ENGINES="firefox webkit" tests in those engines only.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
site=${1:-$root/build-web/site}

ensure_wasm_tools chromium chromium-driver python3-selenium python3-websockets firefox-esr:firefox-esr \
  WebKitWebDriver:webkit2gtk-driver xvfb-run:xvfb npm:npm

bash "$root/scripts/build-web.sh" "$site"

# Lighthouse, pinned by web/tests/package-lock.json.
npm_install "$root/web/tests"

status=0
for engine in ${DOSMO_ENGINES:-chromium firefox webkit}; do
  echo "-- $engine"
  run=(/usr/bin/python3 "$root/web/tests/test_page.py" "--engine=$engine" "$site" ${2:+"$2/$engine"})
  [ "$engine" = webkit ] && run=(xvfb-run -a "${run[@]}")
  "${run[@]}" || status=1
done
exit $status
