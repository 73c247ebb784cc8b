#!/usr/bin/env bash
# Runs the end-to-end scenario (counter_e2e.py) against the real executable: its own virtual display,
# a private D-Bus session bus (which starts the accessibility bus on demand) and a temporary folder for
# everything the counter and the demo office write. The whole run is cut off after ORV_E2E_TIMEOUT seconds.
#
#   bash e2e/run.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-${ORV_BUILD_DIR:-build}}")
limit=${ORV_E2E_TIMEOUT:-100}
# Debian's own interpreter: the accessibility bindings are Debian packages, whatever python3 is first on PATH.
python=/usr/bin/python3
work=$(mktemp -d)
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

for tool in Xvfb dbus-run-session xdotool; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is missing (bash scripts/install-deps.sh)" >&2; exit 1; }
done
"$python" -c 'import pyatspi' || { echo "e2e: python3-pyatspi is missing (bash scripts/install-deps.sh)" >&2; exit 1; }

# Xvfb picks a free display itself and writes its number to the descriptor given (here its output).
Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp >"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
[ -s "$work/display" ] || { echo "e2e: Xvfb gave no display" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$work/display")

mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home LC_ALL=C.UTF-8
export QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
export ORV_E2E_WORK=$work ORV_BUILD_DIR=$build
mkdir -p "$HOME"

timeout --kill-after=5 "$limit" dbus-run-session -- "$python" e2e/counter_e2e.py
