#!/usr/bin/env python3
"""Copies each example program's source into its block in README.md.

A block is a fenced C++ block right after a line
    <!-- example: tests/examples/example_NAME.cpp -->
test_examples fails when a block and its program differ; run this after changing one.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BLOCK = re.compile(r"(<!-- example: (tests/examples/[\w.]+) -->\n```cpp\n)(.*?)(```\n)", re.S)


def main():
    readme_path = os.path.join(ROOT, "README.md")
    with open(readme_path, encoding="utf-8") as f:
        readme = f.read()

    def replace(match):
        with open(os.path.join(ROOT, match.group(2)), encoding="utf-8") as source:
            return match.group(1) + source.read() + match.group(4)

    updated = BLOCK.sub(replace, readme)
    if updated != readme:
        with open(readme_path, "w", encoding="utf-8") as f:
            f.write(updated)
        print("README.md updated")
    return 0


if __name__ == "__main__":
    sys.exit(main())
