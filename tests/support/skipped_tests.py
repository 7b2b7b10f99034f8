#!/usr/bin/env python3
"""Counts the tests that were skipped in one ./qv test run and names them.

Reads the GoogleTest XML reports that the test programs wrote into one folder. A test
that ran in any report (a program that starts copies of itself runs some tests only in
the copies) is not counted as skipped.
"""
import pathlib
import sys
import xml.etree.ElementTree as ElementTree


def skipped_tests(folder):
    ran, skipped = set(), {}
    for report in sorted(pathlib.Path(folder).glob("*.xml")):
        try:
            root = ElementTree.parse(report).getroot()
        except ElementTree.ParseError:
            continue
        for case in root.iter("testcase"):
            name = f"{case.get('classname')}.{case.get('name')}"
            if case.get("status") != "run":
                continue
            skip = case.find("skipped")
            if case.get("result") == "skipped" or skip is not None:
                skipped.setdefault(name, (skip.get("message", "") if skip is not None else "").strip())
            else:
                ran.add(name)
    return {name: why for name, why in skipped.items() if name not in ran}


def main():
    skipped = skipped_tests(sys.argv[1])
    print(f"qv test: {len(skipped)} test{'s' if len(skipped) != 1 else ''} skipped")
    for name, why in sorted(skipped.items()):
        # GoogleTest puts "file:line" on the first line of the message, the reason below.
        lines = [line for line in why.splitlines() if line.strip()] or ["no reason given"]
        print(f"  {name}: {lines[-1]}" + (f" ({lines[0]})" if len(lines) > 1 else ""))


if __name__ == "__main__":
    main()
