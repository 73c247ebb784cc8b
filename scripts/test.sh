#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless: the whole suite built once with the address and
# undefined-behaviour sanitizers (build-asan/, preset "asan"), where any report fails the test that made it (each
# fuzz target's corpus is replayed there; the search for new inputs is scripts/fuzz.sh's, left to a developer's
# machine: runs of 30 s from the kept corpus found nothing in a dozen test runs); then the unit tests built for
# Windows and run under Wine (scripts/windows-test.sh), with the Windows cross toolchain.
#
# The toolchain (scripts/windows-toolchain.sh: Qt, SQLite and libsodium cross-built from Debian's sources) is made
# once per machine when missing: in the background from the start, at the lowest priority, so that it takes what the
# Linux phases leave of the cores (output in build-win-test/toolchain.log). ORV_WINDOWS_TESTS=0 leaves the Windows
# suite and the toolchain out.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)
phase() { echo "== $1 ($(date +%T), $(( ($(date +%s) - started) / 60 )) min since the start)"; }

phase "install"
bash scripts/install-deps.sh --tests
# ccache, when there is one, keeps the rebuilds short.
if command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
    export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
fi
jobs=$(nproc)

toolchain_built=0
bash scripts/windows-toolchain.sh --built >/dev/null 2>&1 && toolchain_built=1
windows=${ORV_WINDOWS_TESTS:-1}
toolchain_pid=
toolchain_log=build-win-test/toolchain.log
if [ "$windows" = 1 ] && [ "$toolchain_built" = 0 ]; then
    mkdir -p build-win-test
    # A process group of its own (job control), so that a failing run stops the whole build; the same session, so
    # that its low priority counts against the Linux phases (a new session would be scheduled as their equal).
    set -m
    nice -n 19 bash scripts/windows-toolchain.sh >"$toolchain_log" 2>&1 &
    toolchain_pid=$!
    set +m
    trap '[ -n "$toolchain_pid" ] && kill -- -"$toolchain_pid" 2>/dev/null || true' EXIT
fi

phase "build and test under the sanitizers"
# Every test runs here: the unit tests, the PostgreSQL suites, the end-to-end runs, the screenshot and the source
# checks (format, tidy, every test file listed), the fuzz corpora. Leak checking stays on; the suite needs no
# suppressions.
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

if [ "$windows" = 1 ]; then
    if [ -n "$toolchain_pid" ]; then
        phase "waiting for the Windows toolchain"
        status=0
        wait "$toolchain_pid" || status=$?
        toolchain_pid=
        grep -h '^Windows toolchain built in' "$toolchain_log" || true
        if [ "$status" -ne 0 ]; then
            echo "The Windows toolchain failed ($toolchain_log):" >&2
            tail -n 40 "$toolchain_log" >&2
            exit "$status"
        fi
    fi
    phase "Windows build and test under Wine"
    bash scripts/windows-test.sh
else
    echo "skipped: ORV_WINDOWS_TESTS=$ORV_WINDOWS_TESTS (the Windows suite alone: bash scripts/windows-test.sh)"
fi
phase "done"
