#!/usr/bin/env bash
# Records what Windows' GDI (as wine implements it) draws for the wide-pen cases of
# tests/platform/gdi/wide_pen_cases.h and writes tests/golden/gdi/wide_pens_wine.png, and the
# circular regions of round caps and joins to tests/golden/gdi/disc_regions_wine.txt.
# Needs the Debian packages wine and g++-mingw-w64-x86-64 (not part of the build or CI).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-g++ -O1 -static -I"$root/tests/platform/gdi" "$here/wide_pen_probe.cpp" -o "$work/probe.exe" -lgdi32
WINEDEBUG=-all wine "$work/probe.exe" "$work/wide.ppm" "$work/discs.txt"
python3 "$here/ppm_to_png.py" "$work/wide.ppm" "$root/tests/golden/gdi/wide_pens_wine.png"
tr -d '\r' < "$work/discs.txt" > "$root/tests/golden/gdi/disc_regions_wine.txt"
echo "wrote tests/golden/gdi/wide_pens_wine.png and disc_regions_wine.txt"
