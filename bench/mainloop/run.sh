#!/usr/bin/env bash
# Runs the client's real main loop under Wine on a private Xvfb display and
# reports its frame rate and CPU use on the idle login screen (see
# bench/README.md). Build first: scripts/build all.
# Usage: bench/mainloop/run.sh [--seconds N] [--engine direct3d|opengl|directdraw] [--fpslimit N]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
source scripts/lib/display.sh
for file in build/windows/velmora.exe build/native/velmora.gfx; do
    [ -f "$file" ] || { echo "build first: scripts/build all ($file is missing)" >&2; exit 1; }
done
start_xvfb
prepare_wine_prefix "$root/build/wineprefix"
trap 'stop_wine; stop_xvfb' EXIT
python3 bench/mainloop/mainloop.py --source "$root" --program build/windows/velmora.exe \
    --gfx build/native/velmora.gfx --workdir build/bench-mainloop --xvfb-pid "$XVFB_PID" "$@"
