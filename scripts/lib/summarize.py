#!/usr/bin/env python3
"""Counts the test results of both builds: GoogleTest cases from their XML
reports, and every other ctest test (the Wine-driven ones) as one test each;
and the short fuzzing run (fuzz-ctest.xml, written by scripts/fuzz), one test
per fuzz target; only the builds named after the results folder when some
are. Prints "N passed, N failed" and exits non-zero on any failure."""
import os
import sys
import xml.etree.ElementTree as ET


def gtest_counts(path):
    root = ET.parse(path).getroot()
    total = failed = 0
    for case in root.iter("testcase"):
        if case.get("status") == "notrun" or case.get("result") == "skipped":
            continue
        total += 1
        if case.find("failure") is not None:
            failed += 1
    return total, failed


def main(results, builds):
    passed = failed = 0
    for build in builds:
        junit = os.path.join(results, build + "-ctest.xml")
        if not os.path.exists(junit):
            print(f"{build}: no test results", file=sys.stderr)
            failed += 1
            continue
        for case in ET.parse(junit).getroot().iter("testcase"):
            name = case.get("name")
            ok = case.get("status") in ("run", "passed") and case.find("failure") is None
            report = os.path.join(results, build, f"test_{name}.xml")
            if os.path.exists(report):
                try:
                    total, bad = gtest_counts(report)
                except ET.ParseError:
                    total, bad = 1, 1
                # A crash after the last case leaves a clean report behind.
                if not ok and bad == 0:
                    bad, total = 1, total + 1
                passed += total - bad
                failed += bad
            else:
                passed += 1 if ok else 0
                failed += 0 if ok else 1
            if not ok:
                print(f"FAILED: {build} {name}", file=sys.stderr)
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    # The builds to count (native, windows, fuzz); all three without a list.
    sys.exit(main(sys.argv[1], sys.argv[2:] or ["native", "windows", "fuzz"]))
