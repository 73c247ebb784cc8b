#!/usr/bin/env bash
# Runs the end-to-end scenario (counter_e2e.py) against the real executable: its own virtual display,
# a private D-Bus session bus (which starts the accessibility bus on demand) and a temporary folder for
# everything the counter and the demo office write. The whole run is cut off after ORV_E2E_TIMEOUT seconds.
#
#   bash e2e/run.sh [build folder] [scenario, counter_e2e.py by default]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-${ORV_BUILD_DIR:-build}}")
scenario=e2e/${2:-counter_e2e.py}
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

# A display number few others use; another one if it is taken.
for _ in $(seq 10); do
    display=:$((200 + RANDOM % 700))
    Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do
        kill -0 "$xvfb" 2>/dev/null || break
        DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 && break 2
        sleep 0.1
    done
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    xvfb=
done
[ -n "$xvfb" ] || { echo "e2e: no virtual display could be started" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=$display

mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home LC_ALL=C.UTF-8
export QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
export ORV_E2E_WORK=$work ORV_BUILD_DIR=$build
mkdir -p "$HOME"

status=0
timeout --kill-after=5 "$limit" dbus-run-session -- "$python" "$scenario" || status=$?
if [ "$status" -ne 0 ]; then
    [ "$status" -eq 124 ] && echo "e2e: cut off after $limit s" >&2
    xdotool getdisplaygeometry >/dev/null 2>&1 || echo "e2e: the virtual display $DISPLAY ended during the run" >&2
    cat "$work/xvfb.log" >&2
fi
exit "$status"
