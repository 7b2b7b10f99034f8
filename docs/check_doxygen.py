#!/usr/bin/env python3
"""Runs Doxygen over QvKit's headers and fails when a checked folder has a warning.

  check_doxygen.py --out DIR [--html] [--source ROOT] [--checked FOLDER...]

Without --html only the checked folders are read and no pages are written (the quick
form the test suite runs); with --html the whole reference is written to DIR/html from
docs/Doxyfile. Every warning from a header under a checked folder (an undocumented
public member, a broken reference) is printed and makes the exit status 1; a missing
doxygen gives exit status 2.
"""
import argparse
import os
import shutil
import subprocess
import sys

# The package's unit folders whose headers are fully documented.
CHECKED_FOLDERS = [
    "src/package", "src/frame", "src/files", "src/layout", "src/system", "src/dialogs",
    "src/lists", "src/gradient", "src/utilities", "src/imaging", "src/shell", "src/internet",
]


def run_doxygen(root, out, checked, html):
    os.makedirs(out, exist_ok=True)
    config = [f"@INCLUDE = {os.path.join(root, 'docs', 'Doxyfile')}"]
    if not html:
        config += ["INPUT = " + " ".join(checked), "GENERATE_HTML = NO"]
    env = dict(os.environ, QV_DOCS_OUT=os.path.abspath(out))
    result = subprocess.run(["doxygen", "-"], input="\n".join(config) + "\n", text=True, cwd=root,
                            env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if result.returncode != 0:
        sys.stderr.write(result.stdout)
        sys.exit(f"check_doxygen: doxygen failed with status {result.returncode}")


def checked_warnings(root, out, checked):
    prefixes = [os.path.join(os.path.abspath(root), f) + os.sep for f in checked]
    warnings = []
    log = os.path.join(out, "warnings.log")
    with open(log, encoding="utf-8", errors="replace") as f:
        for line in f:
            path = line.split(":", 1)[0]
            if any(path.startswith(p) for p in prefixes):
                warnings.append(line.rstrip("\n"))
    return warnings


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--html", action="store_true")
    parser.add_argument("--source", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser.add_argument("--checked", nargs="+", default=CHECKED_FOLDERS)
    args = parser.parse_args()
    if shutil.which("doxygen") is None:
        sys.stderr.write("check_doxygen: doxygen is not installed (Debian package doxygen; ./qv setup)\n")
        return 2
    out = os.path.abspath(args.out)
    run_doxygen(args.source, out, args.checked, args.html)
    warnings = checked_warnings(args.source, out, args.checked)
    for w in warnings:
        print(w)
    if warnings:
        print(f"check_doxygen: {len(warnings)} warnings in {', '.join(args.checked)}", file=sys.stderr)
        return 1
    if args.html:
        print(f"check_doxygen: reference written to {os.path.join(out, 'html', 'index.html')}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
