#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short time (seconds, default 20).
set -euo pipefail
seconds="${1:-20}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in build/fuzz/fuzz/fuzz_*; do
    [[ -x "$target" ]] || continue
    name=$(basename "$target")
    corpus="build/fuzz/corpus/$name"
    mkdir -p "$corpus"
    seeds="fuzz/seeds/${name#fuzz_}"
    args=("$corpus")
    # The JSON readers see whole files; deep nesting and long traces only show up in inputs
    # far beyond libFuzzer's 4 KB default.
    case "$name" in
        fuzz_form_file|fuzz_trace|fuzz_settings|fuzz_property_bag) args=(-max_len=1048576 "${args[@]}") ;;
    esac
    [[ -d "$seeds" ]] && args+=("$seeds")
    echo "== $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -print_final_stats=0 "${args[@]}" 2>&1 | tail -n 3
done
