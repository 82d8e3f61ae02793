#!/usr/bin/env bash
# Regenerates docs/controls/<Type>.md from `brimlox describe` (a test fails while they are
# stale). With --doxygen it also builds the C++ reference of the public headers into
# build/doxygen/html (Doxyfile; needs the doxygen package of scripts/packages.txt).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/install-deps.sh
cmake --preset debug >/dev/null
cmake --build --preset debug --target brimlox-cli
mkdir -p docs/controls
for type in $(./build/debug/apps/brimlox describe --list); do
    ./build/debug/apps/brimlox describe "$type" > "docs/controls/$type.md"
done
echo "docs/controls/ regenerated"
if [[ "${1:-}" == "--doxygen" ]]; then
    mkdir -p build/doxygen
    doxygen Doxyfile
    echo "C++ reference: build/doxygen/html/index.html"
fi
