#!/usr/bin/env bash
# Installs what the counter needs (not the test bench), builds the three programs, prepares the demo office (an
# embedded database and the machine settings that point at it) when absent, and starts the counter on it.
set -euo pipefail
cd "$(dirname "$0")/.."
display=1
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    display=0
fi
if [ "$display" = 1 ]; then
    bash scripts/install-deps.sh
else
    bash scripts/install-deps.sh --display
fi
bash scripts/build.sh orvcounter orvadmin orvdemo

state=${XDG_STATE_HOME:-$HOME/.local/state}/orvcounter
demo=$state/demo
mkdir -p "$demo/machine"
# The demo keeps its machine settings beside its database, so it needs no system-wide folder.
export ORV_REGISTRY_MACHINE_DIR=$demo/machine
./build/tools/orvdemo --database "$demo/orvdemo.db"

if [ "$display" = 0 ]; then
    cat <<'TEXT'
No display here (no DISPLAY or WAYLAND_DISPLAY): the counter starts on a virtual display (xvfb-run), where nobody
can see it. Run this command again from a desktop session to use it. Ctrl+C ends it.
TEXT
    exec xvfb-run -a ./build/app/orvcounter
fi
echo "The counter is starting: log in (every demo login's password is \"demo\"). It lives in the notification area;"
echo "\"Sair\" in its menu ends it (Ctrl+C here does too)."
exec ./build/app/orvcounter
