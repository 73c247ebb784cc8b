#!/usr/bin/env bash
# Installs what is missing, builds, prepares the demo office (an embedded database and the machine
# settings that point at it) when absent, and starts the counter on it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh

state=${XDG_STATE_HOME:-$HOME/.local/state}/orvcounter
demo=$state/demo
mkdir -p "$demo/machine"
# The demo keeps its machine settings beside its database, so it needs no system-wide folder.
export ORV_REGISTRY_MACHINE_DIR=$demo/machine
./build/tools/orvdemo --database "$demo/orvdemo.db"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: starting the counter on a virtual display (xvfb-run)."
    exec xvfb-run -a ./build/app/orvcounter
fi
exec ./build/app/orvcounter
