#!/usr/bin/env bash
# Runs tools/wine/frame_probe.cpp under wine in a virtual desktop (so that wine draws the
# frames itself instead of leaving them to an X window manager) and prints the metrics and hit
# codes; the frame pictures go to OUT (default: a temporary folder) as PNGs.
# Needs the Debian packages wine, xvfb and g++-mingw-w64-x86-64 (not part of the build or CI).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="${1:-$(mktemp -d)}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-g++ -O1 -static "$here/frame_probe.cpp" -o "$work/probe.exe" -lgdi32 -luser32
(cd "$work" && WINEPREFIX="$work/prefix" WINEDEBUG=-all xvfb-run -a wine explorer /desktop=probe,800x600 probe.exe)
for f in "$work"/*.ppm; do python3 "$here/ppm_to_png.py" "$f" "$out/$(basename "${f%.ppm}").png"; done
cat "$work/metrics.txt"
echo "frames written to $out"
