#!/usr/bin/env bash
# Runs the frame benchmark under Wine for Direct3D 9, OpenGL and DirectDraw
# and prints the median frame times and their ratios. Build first:
# scripts/build windows.
exec "$(dirname "$0")/../lib/each-backend.sh" bench/backends/bench_backends.exe
