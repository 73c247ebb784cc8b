#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz/ (sanitizers and libFuzzer) and runs each for a bounded time,
# starting from its corpus in fuzz/corpus/<target>/. Fails when a target crashes, a sanitizer reports, a property
# breaks or one input runs too long; the input that did it is left in build-fuzz/artifacts/<target>/.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]     (default: 30 seconds for each of the five targets)
#
# New inputs a run finds go to build-fuzz/corpus/<target>/; copy the ones worth keeping into fuzz/corpus/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(regfile tsqltranslator connectiontext sqlliteral dencriptserial)
build=${ORV_FUZZ_BUILD_DIR:-build-fuzz}

CC=clang CXX=clang++ cmake -S fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j 2

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
failed=()
for target in "${targets[@]}"; do
    work=$build/corpus/$target
    artifacts=$build/artifacts/$target
    log=$build/fuzz_$target.log
    mkdir -p "$work" "$artifacts"
    # The first folder receives what the run finds; the committed corpus is only read.
    if "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
        -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" "fuzz/corpus/$target" >"$log" 2>&1; then
        echo "fuzz $target: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') inputs" \
            "in ${seconds} s, no fault"
    else
        echo "fuzz $target: FAILED (log: $log)" >&2
        grep -E 'ERROR|SUMMARY|Property broken|  (input|expected|actual):|Test unit written' "$log" | head -20 >&2 || true
        failed+=("$target")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzz targets that failed: ${failed[*]}; rerun one input with $build/fuzz_<target> <file>" >&2
    exit 1
fi
