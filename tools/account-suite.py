#!/usr/bin/env python3
"""The run's account of one ctest suite, read from ctest's JUnit file.

Prints one line for the suite (ran or FAILED, its tests, failures and skips, its time), then one
line per group of skipped tests sharing a reason: how many, the first three names, and the reason,
which is the line after GoogleTest's "Skipped" in the test's output, else the output's last line.
Usage: account-suite.py SUITE JUNIT-FILE CTEST-STATUS SECONDS
"""
import sys
import xml.etree.ElementTree as ElementTree


def reason(output):
    lines = [line.strip() for line in (output or "").splitlines() if line.strip()]
    for before, line in zip(lines, lines[1:]):
        if before.endswith(": Skipped"):
            return line.removeprefix("SKIP: ")
    return lines[-1].removeprefix("SKIP: ") if lines else "(no reason given)"


def main(suite, junit, status, seconds):
    verdict = "ran" if status == "0" else "FAILED"
    try:
        root = ElementTree.parse(junit).getroot()
    except (OSError, ElementTree.ParseError):
        print(f"  FAILED   {suite}: ctest wrote no results (status {status})")
        return
    skipped = {}
    for case in root.iter("testcase"):
        if case.get("status") == "notrun":
            skipped.setdefault(reason(case.findtext("system-out")), []).append(case.get("name"))
    total = sum(len(names) for names in skipped.values())
    print(f"  {verdict:<8} {suite}: {root.get('tests')} tests, {root.get('failures')} failed, "
          f"{total} skipped, in {seconds} s")
    for why, names in skipped.items():
        shown = ", ".join(names[:3]) + (", ..." if len(names) > 3 else "")
        print(f"             {len(names)} skipped ({shown}): {why}")


main(*sys.argv[1:])
