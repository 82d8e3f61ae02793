#!/usr/bin/env bash
# Builds the project and runs the gallery. Arguments are passed to brimlox-gallery.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target brimlox-gallery
exec ./build/release/apps/brimlox-gallery "$@"
