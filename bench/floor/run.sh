#!/usr/bin/env bash
# Runs the client on its idle login screen and the floor program of each back
# end side by side, interleaved, on a private Xvfb display, and prints each
# back end's CPU against its floor (see bench/README.md). Build first:
# scripts/build all.
# Usage: bench/floor/run.sh [--engines direct3d,opengl,directdraw] [--rounds N] [--seconds N]
#                           [--csmt keep|on|off|both]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
source scripts/lib/display.sh
for file in build/windows/velmora.exe build/native/velmora.gfx build/windows/bench/floor/floor_opengl.exe; do
    [ -f "$file" ] || { echo "build first: scripts/build all ($file is missing)" >&2; exit 1; }
done
start_xvfb
prepare_wine_prefix "$root/build/wineprefix-bench"
trap 'stop_wine; stop_xvfb' EXIT
python3 bench/floor/compare.py --source "$root" --program build/windows/velmora.exe \
    --floors build/windows/bench/floor --gfx build/native/velmora.gfx --workdir build/bench-floor "$@"
