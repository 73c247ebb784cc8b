#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over the project's C++ files with the build's compile commands and
# fails on any finding. A file found clean is remembered in the build folder until it, a header of
# the project or .clang-tidy changes, so a run after a small change only looks at what changed.
# Skipped (exit 77) without clang-tidy.
# Usage: check-tidy.sh <build folder>
set -euo pipefail
build="$(cd "${1:?build folder}" && pwd)"
cd "$(dirname "$0")/.."
command -v clang-tidy >/dev/null || { echo "skipped: clang-tidy is not installed"; exit 77; }
. scripts/sources.sh
[ -f "$build/compile_commands.json" ] || { echo "no compile_commands.json in $build" >&2; exit 1; }
cache="$build/tidy-clean"
mkdir -p "$cache"

mapfile -t headers < <(project_files '*.h')
shared="$(cat .clang-tidy "${headers[@]}" | sha1sum | cut -c1-16)"
pending=()
while IFS= read -r file; do
    key="$( (echo "$file"; cat "$file") | sha1sum | cut -c1-16)-$shared"
    [ -f "$cache/$key" ] || pending+=("$file $key")
# bench/ is built only on request, so this build has no compile commands for it. The test files are left out to
# keep the test command within CI's time: a pass costs about 10 s of a core per file (the checks walk every Qt
# header the file includes), and they are a quarter of the files. The test support library is checked.
done < <(project_files '*.cpp' | grep -v -e '_win\.cpp$' -e '^bench/' -e '/tests/')

check_one() {
    local file="${1% *}" key="${1##* }" output
    if output="$(clang-tidy -p "$2" --quiet "$file" 2>/dev/null)"; then
        touch "$3/$key"
    else
        printf '%s\n' "$output"
        return 1
    fi
}
export -f check_one
if [ ${#pending[@]} -gt 0 ] &&
    ! printf '%s\n' "${pending[@]}" | xargs -P "${ORV_TIDY_JOBS:-2}" -I{} bash -c 'check_one "$@"' _ {} "$build" "$cache"; then
    exit 1
fi
echo "clang-tidy: no findings (${#pending[@]} files checked, the others unchanged since found clean)"
