#!/usr/bin/env bash
# Runs tools/wine/clipboard_probe.cpp under wine and prints what each clipboard and global
# memory call returned. Needs the Debian packages wine, xvfb and g++-mingw-w64-x86-64 (not part
# of the build or CI).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-g++ -O1 -static "$here/clipboard_probe.cpp" -o "$work/probe.exe" -luser32
(cd "$work" && WINEPREFIX="$work/prefix" WINEDEBUG=-all xvfb-run -a wine probe.exe)
