#!/usr/bin/env bash
# Runs tools/wine/msgbox_probe.cpp under wine in a virtual desktop and prints what each message
# box showed and answered; the Yes/No/Cancel box's picture goes to OUT (default: a temporary
# folder) as a PNG. Needs the Debian packages wine, xvfb and g++-mingw-w64-x86-64 (not part of
# the build or CI). Each box is driven by key events a second thread sends, so a run takes a
# minute or two.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="${1:-$(mktemp -d)}"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-g++ -O1 -static "$here/msgbox_probe.cpp" -o "$work/probe.exe" -lgdi32 -luser32
(cd "$work" && WINEPREFIX="$work/prefix" WINEDEBUG=-all xvfb-run -a wine explorer /desktop=probe,800x600 probe.exe)
python3 "$here/ppm_to_png.py" "$work/yesnocancel.ppm" "$out/yesnocancel.png"
cat "$work/msgbox.txt"
echo "picture written to $out"
