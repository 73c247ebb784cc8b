#!/usr/bin/env bash
# Runs the end-to-end scenarios against the real executable, each on a virtual display of its own, with a
# private D-Bus session bus (which starts the accessibility bus on demand) and one temporary folder for
# everything the counter and the demo office write:
#   - counter_e2e.py at 1280x800 without a window manager: login, counting, a restart, a second start;
#   - desktop_e2e.py under a window manager with a notification area at 1280x800 and at 1920x1080 (there
#     also the calendar, a typed date and sorting), and without a notification area at 1920x1080.
# The first leaves the demo office and the remembered login the others start from. Each run is cut off
# after ORV_E2E_TIMEOUT seconds. A scenario named as the second argument runs alone, at 1280x800 (absence_e2e.py:
# an absence noticed by the display's idle time, asked about and booked).
#
#   bash e2e/run.sh [build folder] [scenario]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-${ORV_BUILD_DIR:-build}}")
limit=${ORV_E2E_TIMEOUT:-100}
# Debian's own interpreter: the accessibility bindings are Debian packages, whatever python3 is first on PATH.
python=/usr/bin/python3
work=$(mktemp -d)
xvfb=
stop_display() {
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    xvfb=
}
cleanup() {
    stop_display
    rm -rf "$work"
}
trap cleanup EXIT

for tool in Xvfb dbus-run-session xdotool openbox trayer xprop xwininfo; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is missing (bash scripts/install-deps.sh)" >&2; exit 1; }
done
"$python" -c 'import pyatspi' || { echo "e2e: python3-pyatspi is missing (bash scripts/install-deps.sh)" >&2; exit 1; }

# A virtual display of the given size, on a number few others use; another one if it is taken.
start_display() {
    for _ in $(seq 10); do
        display=:$((200 + RANDOM % 700))
        Xvfb "$display" -screen 0 "$1x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
        xvfb=$!
        for _ in $(seq 50); do
            kill -0 "$xvfb" 2>/dev/null || break
            DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 && break 2
            sleep 0.1
        done
        stop_display
    done
    [ -n "$xvfb" ] || { echo "e2e: no virtual display could be started" >&2; cat "$work/xvfb.log" >&2; exit 1; }
    export DISPLAY=$display
}

mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home LC_ALL=C.UTF-8
export QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
export ORV_E2E_WORK=$work ORV_BUILD_DIR=$build
mkdir -p "$HOME"

# scenario SIZE SCRIPT [ARGUMENTS]: runs one scenario on a fresh display of that size.
scenario() {
    local size=$1
    shift
    start_display "$size"
    local status=0
    timeout --kill-after=5 "$limit" dbus-run-session -- "$python" "$@" || status=$?
    if [ "$status" -ne 0 ]; then
        [ "$status" -eq 124 ] && echo "e2e: $* cut off after $limit s" >&2
        xdotool getdisplaygeometry >/dev/null 2>&1 || echo "e2e: the virtual display $DISPLAY ended during the run" >&2
        cat "$work/xvfb.log" >&2
    fi
    stop_display
    return "$status"
}

if [ -n "${2:-}" ]; then
    scenario 1280x800 "e2e/$2"
    exit
fi
scenario 1280x800 e2e/counter_e2e.py
scenario 1280x800 e2e/desktop_e2e.py --size 1280x800
scenario 1920x1080 e2e/desktop_e2e.py --size 1920x1080 --statistics
scenario 1920x1080 e2e/desktop_e2e.py --size 1920x1080 --no-tray
