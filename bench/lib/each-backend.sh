#!/usr/bin/env bash
# Runs a benchmark program under Wine once per back end (Direct3D 9, OpenGL,
# DirectDraw), one process each, on a private Xvfb display, and prints the
# median frame times it reports and their ratios to Direct3D 9. Each program
# prints one line per run: "<name> <back end> <...> <ms per frame> ...".
# Usage: bench/lib/each-backend.sh <program under build/windows>
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
source scripts/lib/display.sh
program="$root/build/windows/$1"
[ -x "$program" ] || { echo "build first: scripts/build windows" >&2; exit 1; }
start_xvfb
prepare_wine_prefix "$root/build/wineprefix"
trap 'stop_wine; stop_xvfb' EXIT
results=$(for type in 2 1 3; do scripts/wine-run "$program" "$type"; done)
echo "$results"
echo "$results" | awk '
    { name = $2 == 1 ? "OpenGL" : $2 == 2 ? "Direct3D 9" : "DirectDraw"; ms[$2] = $4; names[$2] = name }
    END {
        printf "%-12s %10s %16s\n", "back end", "ms/frame", "vs Direct3D 9"
        for (t = 1; t <= 3; ++t) {
            order = t == 1 ? 2 : t == 2 ? 1 : 3
            if (order in ms) printf "%-12s %10.2f %15.2fx\n", names[order], ms[order], ms[order] / ms[2]
        }
    }'
