#!/usr/bin/env bash
# Records what Windows' GDI (as wine implements it) does with the DIB-section layouts of
# tests/platform/gdi/dib_format_cases.h and writes tests/golden/gdi/dib_formats_wine.txt.
# Needs the Debian packages wine and g++-mingw-w64-x86-64 (not part of the build or CI).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-g++ -O1 -static -I"$root/tests/platform/gdi" "$here/dib_format_probe.cpp" -o "$work/probe.exe" -lgdi32
WINEDEBUG=-all wine "$work/probe.exe" "$work/dib.txt"
tr -d '\r' < "$work/dib.txt" > "$root/tests/golden/gdi/dib_formats_wine.txt"
echo "wrote tests/golden/gdi/dib_formats_wine.txt"
