#!/usr/bin/env bash
# Fails when a test file of a folder is not named in that folder's tests/CMakeLists.txt, where the
# test executables are listed one by one.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
for file in */tests/test_*.cpp; do
    name="$(basename "$file" .cpp)"
    if ! grep -qw "$name" "$(dirname "$file")/CMakeLists.txt"; then
        echo "$file is not listed in $(dirname "$file")/CMakeLists.txt"
        status=1
    fi
done
exit $status
