#!/usr/bin/env bash
# Runs the client's main loop in its idle scenes (the login screen; the game
# screen with every side window and one dialog open) with each back end, on a
# private Xvfb display against the Wine tests' fake server, and prints frames
# per second and CPU per frame (see bench/README.md). Build first: scripts/build all.
# Usage: bench/mainloop/scenes.sh [--rounds 3] [--seconds 10] [--engines direct3d,directdraw,opengl]
#                                 [--scenes login,game]
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
source scripts/lib/display.sh
for file in build/windows/bench/mainloop/bench_scenes.exe build/native/velmora.gfx; do
    [ -f "$file" ] || { echo "build first: scripts/build all ($file is missing)" >&2; exit 1; }
done
start_xvfb
prepare_wine_prefix "$root/build/wineprefix-bench"
trap 'stop_wine; stop_xvfb' EXIT
python3 -B bench/mainloop/scenes.py --source "$root" --program build/windows/bench/mainloop/bench_scenes.exe \
    --gfx build/native/velmora.gfx --workdir build/bench-scenes "$@"
