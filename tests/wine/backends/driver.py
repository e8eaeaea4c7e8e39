#!/usr/bin/env python3
"""Drives backend_check under Wine on the virtual display.

scene:  draws the shared scene with Direct3D 9 (2), OpenGL (1) and DirectDraw
        (3), one process each; takes an X screenshot of the client area for
        each shot, checks the pixels each process expects (and the blocks its
        ReadScreen gave), then checks that the three back ends agree on the
        pixels they must share.
switch: one process switching 2 -> 1 -> 3 -> 2.
faults: the Direct3D fault checks, the two ends of the program with exit
        code 1 (a failed stretch, No in the DirectDraw error box) and the
        OpenGL start failures.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from winedriver import Failure, Program, parse_args, wait_until, wait_window, xdotool  # noqa: E402

SCENE_TITLE = "Velmora back-end scene"
NAMES = {1: "OpenGL", 2: "Direct3D 9", 3: "DirectDraw"}


def wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def read_ppm(data):
    """(width, height, pixel bytes) of a binary PPM."""
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError("not an 8-bit PPM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:pos + 1 + width * height * 3]
    return width, height, pixels


class Image:
    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels

    @classmethod
    def load(cls, path):
        with open(path, "rb") as f:
            return cls(*read_ppm(f.read()))

    def at(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return None
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def all_black(self):
        return not any(self.pixels)


def screenshot(x, y, w, h, path):
    xwd = subprocess.run(["xwd", "-root", "-silent"], capture_output=True, check=True).stdout
    ppm = subprocess.run(["convert", "xwd:-", "-crop", f"{w}x{h}+{x}+{y}", "+repage", "ppm:-"],
                         input=xwd, capture_output=True, check=True).stdout
    with open(path, "wb") as f:
        f.write(ppm)


RUNS = []


class Run:
    """One process of backend_check and what it reported."""

    def __init__(self, exe, source, args, label):
        RUNS.append(self)
        self.label = label
        self.work = tempfile.mkdtemp(prefix="velmora-backends-")
        self.expects = []   # (shot, x, y, (r, g, b), tolerance, group, label)
        self.shots = {}     # shot name -> Image
        self.reads = {}     # shot name -> Image from ReadScreen
        self.boxes = []
        self.checks = []    # (ok, text)
        self.lines = []
        self.code = None
        self.error = None
        program = Program(source, exe, [args[0], wine_path(self.work)] + args[1:])
        deadline = time.monotonic() + 240
        try:
            while True:
                line = program.next_line(deadline)
                if line is None:
                    break
                self.lines.append(line)
                self.handle(line)
            self.code = program.wait_exit(30)
        except Failure as failure:
            self.error = str(failure)
        finally:
            program.stop()

    def done(self, name):
        open(os.path.join(self.work, name + ".done"), "w").close()

    def settled_shot(self, name, x, y, w, h):
        """The screenshot once the last present has reached the screen: when
        the shot's expected pixels are known (they come before it), once they
        are there, otherwise once two screenshots in a row are the same. A
        screen that never gets there is returned as it is at the time-out, and
        the pixel checks report it."""
        path = os.path.join(self.work, f"shot-{name}.ppm")
        expected = [e for e in self.expects if e[0] == name]
        last = []

        def settled():
            screenshot(x, y, w, h, path)
            image = Image.load(path)
            if expected:
                ok = all(close(image.at(ex, ey), rgb, tol) for _, ex, ey, rgb, tol, _, _ in expected)
            else:
                ok = bool(last) and image.pixels == last[-1].pixels
            last.append(image)
            return image if ok else None

        try:
            return wait_until(settled, 10, f"the screen to show {name}", interval=0.02)
        except Failure:
            return last[-1]

    def handle(self, line):
        kind, _, rest = line.partition(" ")
        if kind == "SHOT":
            name, x, y, w, h = rest.split()
            self.shots[name] = self.settled_shot(name, int(x), int(y), int(w), int(h))
            self.done(name)
        elif kind == "RESIZE":
            name, w, h = rest.split()
            xdotool("windowsize", wait_window(SCENE_TITLE, 10), w, h)
            self.done(name)
        elif kind == "EXPECT":
            shot, x, y, r, g, b, tol, group, label = rest.split()
            self.expects.append((shot, int(x), int(y), (int(r), int(g), int(b)), int(tol), group, label))
        elif kind == "READ":
            shot, name = rest.split()
            self.reads[shot] = Image.load(os.path.join(self.work, name))
        elif kind == "BOX":
            self.boxes.append(rest)
        elif kind in ("ok", "FAIL"):
            self.checks.append((kind == "ok", rest))


class Report:
    def __init__(self):
        self.failures = []

    def fail(self, text):
        self.failures.append(text)
        print("FAIL " + text)

    def ok(self, text):
        print("ok   " + text)


def close(actual, expected, tolerance):
    return actual is not None and all(abs(a - e) <= tolerance for a, e in zip(actual, expected))


def check_process(run, report, code=0):
    if run.error:
        report.fail(f"{run.label}: {run.error}")
    for ok, text in run.checks:
        if not ok:
            report.fail(f"{run.label}: {text}")
    if run.code != code:
        report.fail(f"{run.label}: exit code {run.code}, expected {code}")
        for line in run.lines[-15:]:
            print("    | " + line)


def check_pixels(run, image, source, report, what="screenshot"):
    wrong = 0
    for shot, x, y, expected, tolerance, group, label in run.expects:
        if shot != source:
            continue
        actual = image.at(x, y)
        if not close(actual, expected, tolerance):
            wrong += 1
            report.fail(f"{run.label} {what} {source}: {label} at ({x}, {y}) is {actual}, "
                        f"expected {expected} +-{tolerance}")
    return wrong


def scene(args, report):
    runs = {}
    for engine in (2, 1, 3):
        run = Run(args.program, args.source, ["scene", str(engine), wine_path(args.gfx)], NAMES[engine])
        runs[engine] = run
        check_process(run, report)
        for shot, image in run.shots.items():
            checked = sum(1 for e in run.expects if e[0] == shot)
            if check_pixels(run, image, shot, report) == 0:
                report.ok(f"{run.label} {shot}: {checked} pixels as expected")
        for shot, image in run.reads.items():
            if engine == 2 and image.all_black():
                # Wine reads the Direct3D front buffer through Mesa's front
                # buffer, which llvmpipe on Xvfb leaves black.
                print(f"note {run.label}: ReadScreen gave a black {shot} (front-buffer reads are black under Wine)")
                continue
            if check_pixels(run, image, shot, report, "ReadScreen") == 0:
                report.ok(f"{run.label} ReadScreen {shot}: matches the expected pixels")
        if engine == 1 and "scene" not in run.reads:
            report.fail("OpenGL: no ReadScreen block of the scene")

    # The pixels every back end must show alike.
    shared = {}
    for engine, run in runs.items():
        for shot, x, y, expected, tolerance, group, label in run.expects:
            if group != "common" or shot not in run.shots:
                continue
            entry = shared.setdefault((shot, x, y, label), {"tolerance": tolerance, "seen": {}})
            entry["seen"][engine] = run.shots[shot].at(x, y)
    disagreements = 0
    for (shot, x, y, label), entry in sorted(shared.items()):
        seen = entry["seen"]
        if len(seen) != 3:
            report.fail(f"{shot} {label} at ({x}, {y}) is not checked by all three back ends")
            disagreements += 1
            continue
        values = list(seen.values())
        if not all(close(a, b, 2 * entry["tolerance"]) for a in values for b in values):
            disagreements += 1
            report.fail(f"back ends disagree on {shot} {label} at ({x}, {y}): " +
                        ", ".join(f"{NAMES[e]} {v}" for e, v in seen.items()))
    if not disagreements:
        report.ok(f"the three back ends agree on {len(shared)} shared pixels")


def switch(args, report):
    run = Run(args.program, args.source, ["switch", wine_path(args.gfx)], "switch 2 -> 1 -> 3 -> 2")
    check_process(run, report)
    passed = sum(1 for ok, _ in run.checks if ok)
    if passed < 20:
        report.fail(f"switch: only {passed} checks ran")
    else:
        report.ok(f"switch: {passed} checks passed")


def faults(args, report):
    run = Run(args.program, args.source, ["d3d-faults"], "Direct3D faults")
    check_process(run, report)
    for shot, image in run.shots.items():
        if check_pixels(run, image, shot, report) == 0:
            report.ok("Direct3D faults: the recovered frame shows the buffer and the whole mesh")
    if run.code == 0:
        report.ok(f"Direct3D faults: {sum(1 for ok, _ in run.checks if ok)} checks passed")

    run = Run(args.program, args.source, ["d3d-stretch-failure"], "Direct3D stretch failure")
    check_process(run, report, code=1)
    expected = "Error|Failed to stretch surface to render target."
    if not any(box.startswith(expected) for box in run.boxes):
        report.fail(f"Direct3D stretch failure: no box '{expected}' (boxes: {run.boxes})")
    elif run.code == 1:
        report.ok("Direct3D: a failed stretch shows its box and ends with exit code 1")

    run = Run(args.program, args.source, ["ddraw-no"], "DirectDraw No")
    check_process(run, report, code=1)
    boxes = [b for b in run.boxes if b.startswith("DirectDraw Error|RenderBufferInternal() ")
             and b.endswith("|Try continuing anyway?")]
    if len(boxes) != 2:
        report.fail(f"DirectDraw No: expected two error boxes, got {run.boxes}")
    elif run.code == 1:
        report.ok("DirectDraw: Yes goes on, No ends with exit code 1")

    run = Run(args.program, args.source, ["gl-init-failure"], "OpenGL start failure")
    check_process(run, report)
    if run.code == 0:
        report.ok(f"OpenGL start failures: {sum(1 for ok, _ in run.checks if ok)} checks passed")


def keep_for_inspection(mode):
    """Copies the runs' screenshots into the test's build folder, where the next
    run replaces them; the temporary folders go in any case."""
    kept = os.path.join(os.getcwd(), f"backends-{mode}-failed")
    shutil.rmtree(kept, ignore_errors=True)
    for number, run in enumerate(RUNS):
        if os.path.isdir(run.work):
            shutil.copytree(run.work, os.path.join(kept, f"{number}-{run.label.replace(' ', '-')}"))
    return kept


def main():
    args = parse_args(lambda parser: parser.add_argument("mode", choices=["scene", "switch", "faults"]))
    report = Report()
    try:
        {"scene": scene, "switch": switch, "faults": faults}[args.mode](args, report)
        if report.failures:
            kept = keep_for_inspection(args.mode)
            print(f"{len(report.failures)} failures; screenshots kept in {kept}")
            return 1
        return 0
    finally:
        for run in RUNS:
            shutil.rmtree(run.work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
