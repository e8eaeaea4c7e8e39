#!/usr/bin/env bash
# Runs the map view benchmark under Wine for Direct3D 9, OpenGL and DirectDraw
# and prints the median frame times and their ratios. Build first:
# scripts/build windows.
exec "$(dirname "$0")/../lib/each-backend.sh" bench/mapview/bench_mapview.exe
