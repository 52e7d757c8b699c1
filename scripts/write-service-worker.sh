#!/usr/bin/env bash
# Writes SITE/sw.js: the files of web/site-files.txt, each with the SHA-256 of
# its bytes in SITE, above the service worker's code. A new digest is a new
# version: the worker fetches only the files whose digest changed and the
# page offers to reload. Run again after changing a file of a built site.
# Usage: scripts/write-service-worker.sh SITE
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
site=$1

mapfile -t files < <(grep -v '^#' "$root/web/site-files.txt" | grep .)
cd "$site"
# The page names its style sheet with the sheet's digest: a browser that
# keeps a style sheet in memory across reloads (Firefox) still loads a new
# version's. The worker keeps it under that name.
style=style.css?v=$(sha256sum style.css | cut -c1-16)
sed -i "s|href=\"style\.css[^\"]*\"|href=\"$style\"|" index.html
digests=$(sha256sum "${files[@]}")
{
  echo "const kVersion = '$(printf '%s\n' "$digests" | sha256sum | cut -c1-16)';"
  echo 'const kFiles = ['
  # The page is addressed as its folder; index.html is what it serves.
  printf '%s\n' "$digests" | sed -e 's|^\([0-9a-f]*\)  index\.html$|\1  ./|' \
    -e "s|^\([0-9a-f]*\)  style\.css$|\1  $style|" \
    -e "s|^\([0-9a-f]*\)  \(.*\)$|  ['\2', '\1'],|"
  echo '];'
  echo
  cat "$root/web/service-worker.js"
} > sw.js
