#!/usr/bin/env bash
# Fails when a C++ file of the project drifts from .clang-format; skipped (exit 77) without clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "skipped: clang-format is not installed"; exit 77; }
. scripts/sources.sh
project_files '*.cpp' '*.h' | tr '\n' '\0' | xargs -0 clang-format --dry-run --Werror
echo "clang-format: no drift"
