#!/usr/bin/env bash
# Prints what Windows' TransparentBlt (as wine implements it) draws for the cases the
# TransparentBlt test checks. Needs the Debian packages wine and g++-mingw-w64-x86-64.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-g++ -O1 -static "$here/transparent_blt_probe.cpp" -o "$work/probe.exe" -lgdi32 -lmsimg32
WINEDEBUG=-all wine "$work/probe.exe" | tr -d '\r'
