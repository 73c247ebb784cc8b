#!/usr/bin/env bash
# Builds the benchmark (orvbench) with the counter and prints its figures, on a virtual display of its own.
# Not part of the tests. Arguments go to orvbench: --long adds the 30-second CPU figures and 10,000 cycles;
# --postgres measures start to window and Fill_Tarefas at 1,000 tasks on a private PostgreSQL server beside the
# embedded engine (the server is stopped and its folder removed at the end, also when the run fails).
#
#   bash scripts/bench.sh [--long] [--office-scale X] [--postgres]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ORV_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target orvbench orvcounter >/dev/null

work=$(mktemp -d)
xvfb=
# The private server's folder: the server runs as an unprivileged user when this runs as root, so it sits
# directly under /tmp rather than in the private work folder.
export ORV_BENCH_PG_DIR=/tmp/orv-bench-pg-$$
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    if [ -d "$ORV_BENCH_PG_DIR" ]; then
        bash scripts/pg-server.sh stop "$ORV_BENCH_PG_DIR" || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
done
"$build/bench/orvbench" "$@"
