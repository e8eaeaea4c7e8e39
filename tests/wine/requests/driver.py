#!/usr/bin/env python3
"""The request table under Wine: the Windows build sends every row over a
real Winsock connection to the fake game server, whose decoder
(tests/fakeserver/client_requests.py) reads each frame. Each decoded request
must equal what the program says the row expects (and, for byte-exact rows,
carry exactly the bytes), in order, with no frame refused: the Windows build
writes the same bytes as the native one (byte order, float encoding, no
padding on the wire).
"""
import json
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
sys.path.insert(0, os.path.join(HERE, "..", "..", "fakeserver"))
import fakeserver as fs  # noqa: E402
import winedriver  # noqa: E402
from winedriver import Failure  # noqa: E402


def read_expectations(program):
    """(expected fields, expected hex or None) per frame, up to "sent N"."""
    expected = []
    while True:
        line = program.wait_line(lambda l: l.startswith(("expect ", "bytes ", "sent ")) 
                                 or l.startswith(('row "', "no connection", "usage")), 120, "the program's expectations")
        if line.startswith("expect "):
            expected.append([json.loads(line[len("expect "):]), None])
        elif line.startswith("bytes "):
            expected[-1][1] = line[len("bytes "):]
        elif line.startswith("sent "):
            if int(line.split()[1]) != len(expected):
                raise Failure(f"the program sent {line.split()[1]} frames but expected {len(expected)}")
            return expected
        else:
            raise Failure(f"the program failed: {line}")


def check(args):
    server = fs.FakeServer(log=lambda text: None)
    with server:
        program = winedriver.Program(args.source, args.program, args=[str(server.game_port)])
        with winedriver.running(program, tail=30):
            expected = read_expectations(program)
            code = program.wait_exit(60)
            if code != 0:
                raise Failure(f"the program ended with {code}")
            if not server.wait_for(lambda: len(server.requests) >= len(expected) or server.failures, 30):
                raise Failure(f"the server decoded {len(server.requests)} of {len(expected)} requests")
            if server.failures:
                raise Failure(f"the server refused frames: {server.failures}")
            if len(server.requests) != len(expected):
                raise Failure(f"the server decoded {len(server.requests)} requests, not {len(expected)}")
            for request, (fields, raw) in zip(server.requests, expected):
                got = json.loads(request.as_json())
                got_raw = got.pop("raw")
                if got != fields:
                    raise Failure(f"decoded {got}, expected {fields}")
                if raw is not None and got_raw != raw:
                    raise Failure(f"{fields['request']}: bytes {got_raw}, expected {raw}")
            print(f"{len(expected)} requests decoded as expected, "
                  f"{sum(1 for _, raw in expected if raw)} of them byte for byte")


def main():
    args = winedriver.parse_args()
    check(args)
    print("requests over winsock: all checks passed")


if __name__ == "__main__":
    winedriver.run(main)
