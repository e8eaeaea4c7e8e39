#!/usr/bin/env python3
"""Writes the fake server's sample messages (SAMPLES and VARIANTS of
tests/fakeserver/server_messages.py) as C++ initialisers, one
{"label", {payload bytes}, ends frame} per line, for the server traffic that the tests
and the benchmarks share (ServerTraffic.cpp): the samples are written once,
in Python, and the native tests, the benchmarks and the Wine test send the
same bytes.

Usage: make_server_samples.py <output file>
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "fakeserver"))
import server_messages  # noqa: E402


def main(path):
    lines = ["// Made by tests/support/traffic/make_server_samples.py from the fake server's samples."]
    ending = server_messages.frame_ending_labels()
    for label, payload in server_messages.sample_payloads():
        data = ", ".join(f"0x{b:02x}" for b in payload)
        lines.append(f'{{"{label}", {{{data}}}, {"true" if label in ending else "false"}}},')
    with open(path, "w") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main(sys.argv[1])
