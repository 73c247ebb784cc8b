#!/usr/bin/env bash
# Configures (preset "default", CMakePresets.json) and builds in build/: everything (the counter, its tools and the
# tests), or only the targets named.
#   build.sh                              everything
#   build.sh orvcounter orvadmin orvdemo  only the programs (what the demo needs)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
targets=()
for target in "$@"; do
    targets+=(--target "$target")
done
cmake --build --preset default -j "$(nproc)" "${targets[@]}"
