#!/usr/bin/env bash
# Makes the packages and checks them as a user gets them: installs the .deb on
# this machine with apt-get (which waits for a package lock another install
# holds), runs every example answer file through the
# installed dosmo in a scratch folder and compares each report with the
# example's bytes, checks that man finds the manual page and that the program
# needs no shared library, removes the package again, and checks that the
# .tar.gz and the .zip hold the files they promise (the read-me byte for byte).
# Needs root (apt-get). Usage: scripts/test-packages.sh [output-folder [linux-build windows-build]]
#   (the build folders as scripts/make-packages.sh takes them)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
out=$(absolute "${1:-$root/build-packages}")

ensure man:man-db cmp:diffutils

if dpkg-query -W -f='${Status}' dosmo 2>/dev/null | grep -q installed; then
  echo "test-packages: a dosmo package is already installed here; remove it first (apt-get remove dosmo)" >&2
  exit 1
fi

bash "$root/scripts/make-packages.sh" "$out" "${@:2}"
version=$(sed -n 's/^project(dosmo VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
deb=$out/dosmo_${version}_$(dpkg --print-architecture).deb
tarball=$out/dosmo-$version-linux-x86_64.tar.gz
zip=$out/dosmo-$version-windows-x86_64.zip

failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "PASS $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

scratch=$(mktemp -d)
trap 'apt_get remove -y dosmo >/dev/null 2>&1 || true; rm -rf "$scratch"' EXIT
apt_get install -y "$deb"
docs=/usr/share/doc/dosmo/examples
for answers in "$root"/examples/respostas-*.txt; do
  report=$(head -n 1 "$answers" | tr -d '\r')
  mkdir "$scratch/$report.run"
  (cd "$scratch/$report.run" && /usr/bin/dosmo <"$docs/$(basename "$answers")" >/dev/null)
  check "installed dosmo, $(basename "$answers"): $report as the example" \
    cmp "$scratch/$report.run/$report" "$root/examples/$report"
done
check "man -w dosmo finds the installed page" test "$(man -w dosmo)" = /usr/share/man/man1/dosmo.1
check "installed dosmo needs no shared library" sh -c '! ldd /usr/bin/dosmo >/dev/null 2>&1'
check "dosmo --version names $version" test "$(/usr/bin/dosmo --version | tr -d '\r')" = "dosmo $version"
apt_get remove -y dosmo
check "apt-get remove removes the program" test ! -e /usr/bin/dosmo

listing() { (cd "$scratch" && cmake -E tar tf "$1") | sed 's|^[^/]*/||' | grep -v '/$' | sort; }
check ".tar.gz holds the program, the manual page and the examples" test "$(listing "$tarball")" = \
  "$(printf '%s\n' bin/dosmo share/man/man1/dosmo.1 $(cd "$root/examples" && ls | sed 's|^|share/doc/dosmo/examples/|') | sort)"
check ".zip holds dosmo.exe, LEIA-ME.txt and the examples" test "$(listing "$zip")" = \
  "$(printf '%s\n' dosmo.exe LEIA-ME.txt $(cd "$root/examples" && ls | sed 's|^|exemplos/|') | sort)"
(cd "$scratch" && cmake -E tar xf "$zip")
check "LEIA-ME.txt of the .zip is the Windows-1252 CR LF read-me" \
  cmp "$scratch/dosmo-$version-windows-x86_64/LEIA-ME.txt" "$root/packaging/LEIA-ME.txt"

echo "packages: $failures failed"
[ "$failures" -eq 0 ]
