#!/usr/bin/env bash
# The developer's loop: builds the unit tests of the library folders changed since main (committed or not),
# with what they link, and runs them; with folder names, those folders' instead. Uses the "testing" preset (a
# Debug build in build-testing/, quicker to compile; configured on first use). Other folders' tests and the whole-program checks are the test command's.
#   quick.sh                 the folders changed since main
#   quick.sh data counter    the tests of data/ and counter/
set -euo pipefail
cd "$(dirname "$0")/.."
if command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
fi
folders=("$@")
if [ ${#folders[@]} -eq 0 ]; then
    base=$(git merge-base main HEAD 2>/dev/null || git rev-parse HEAD)
    mapfile -t folders < <({ git diff --name-only "$base"; git ls-files --others --exclude-standard; } |
        cut -d/ -f1 | sort -u | while read -r top; do [ -f "$top/tests/CMakeLists.txt" ] && echo "$top"; done)
fi
if [ ${#folders[@]} -eq 0 ]; then
    echo "quick: no library folder with tests changed since main"
    exit 0
fi
echo "quick: ${folders[*]}"
[ -f build-testing/CMakeCache.txt ] || cmake --preset testing >/dev/null
targets=()
for folder in "${folders[@]}"; do
    [ -f "$folder/tests/CMakeLists.txt" ] || continue # a folder without unit tests of its own
    for test in $(grep -o '\btest_[a-z0-9_]*' "$folder/tests/CMakeLists.txt" | sort -u); do
        # The *_win tests exist on Windows only.
        case "$test" in *_win) [ "${OS:-}" = Windows_NT ] || continue ;; esac
        [ -f "$folder/tests/$test.cpp" ] && targets+=(--target "$test")
    done
done
cmake --build --preset testing -j "$(nproc)" "${targets[@]}"
labels=$(IFS='|'; echo "${folders[*]}")
ctest --preset testing -j "$(nproc)" -L "^($labels)\$" -LE postgres
