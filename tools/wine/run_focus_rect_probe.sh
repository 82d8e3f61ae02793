#!/usr/bin/env bash
# Records which pixels Windows' DrawFocusRect (as wine implements it) inverts for the cases of
# tests/platform/user/focus_rect_cases.h and writes tests/golden/user/focus_rect_wine.txt.
# Needs the Debian packages wine and g++-mingw-w64-x86-64 (not part of the build or CI).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-g++ -O1 -static -I"$root/tests/platform/user" "$here/focus_rect_probe.cpp" -o "$work/probe.exe" -lgdi32 -luser32
WINEDEBUG=-all wine "$work/probe.exe" "$work/focus.txt"
tr -d '\r' < "$work/focus.txt" > "$root/tests/golden/user/focus_rect_wine.txt"
echo "wrote tests/golden/user/focus_rect_wine.txt"
