#!/usr/bin/env bash
# Builds the project and runs every test. Usage: scripts/test.sh [preset] (default: debug).
set -euo pipefail
preset="${1:-debug}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
