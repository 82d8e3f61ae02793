#!/usr/bin/env bash
# Records what Windows' GDI (as wine implements it) does with SetDIBitsToDevice with the cases of
# tests/platform/gdi/dibits_to_device_cases.h and writes tests/golden/gdi/dibits_to_device_wine.txt.
# Needs the Debian packages wine and g++-mingw-w64-x86-64 (not part of the build or CI).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-g++ -O1 -static -I"$root/tests/platform/gdi" "$here/dibits_to_device_probe.cpp" -o "$work/probe.exe" -lgdi32
WINEDEBUG=-all wine "$work/probe.exe" "$work/dibits.txt"
tr -d '\r' < "$work/dibits.txt" > "$root/tests/golden/gdi/dibits_to_device_wine.txt"
echo "wrote tests/golden/gdi/dibits_to_device_wine.txt"
