#!/usr/bin/env bash
# Starts the real counter on a fresh demo office, logged in as a demo lawyer with a running task,
# on a virtual display, and saves a picture of the screen (default: build/screenshots/counter.png).
# Everything it writes lives in a temporary folder; the user's own settings are not touched.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ORV_BUILD_DIR:-build}
# The installed program can be pictured instead of the built one.
counter_bin=${ORV_COUNTER_BIN:-$build/app/orvcounter}
demo_bin=${ORV_DEMO_BIN:-$build/tools/orvdemo}
output=$(realpath -m "${1:-$build/screenshots/counter.png}")
user=${ORV_SCREENSHOT_USER:-mferreira}
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

export ORV_STATE_DIR=$work/state ORV_REGISTRY_MACHINE_DIR=$work/machine ORV_REGISTRY_USER_DIR=$work/user
export XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
$demo_bin --database "$work/demo.db" --remember "$user" >/dev/null

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do
    $build/tools/orvgrab "$work/probe.png" 2>/dev/null && break
    sleep 0.2
done

$counter_bin >"$work/counter.log" 2>&1 &
counter=$!
pids+=("$counter")
# Let the window load, fill its list and run a few ticks of the live counter.
sleep "${ORV_SCREENSHOT_WAIT:-6}"
if ! kill -0 "$counter" 2>/dev/null; then
    echo "The counter ended before the picture was taken:" >&2
    cat "$work/counter.log" >&2
    exit 1
fi
$build/tools/orvgrab "$output"
echo "Screenshot saved: $output"
