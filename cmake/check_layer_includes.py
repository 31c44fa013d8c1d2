#!/usr/bin/env python3
"""Checks every #include "..." of the folders in ARCHITECTURE.md's layer rules against the folders
their row allows. A folder's tests/ may also include the test support and the built-in statements."""
import os
import re
import sys

# What tests may use besides their layer: the test support and the built-in statement table that
# scripts under test run with.
TEST_SUPPORT = ["setup/engine/testing", "setup/engine/builtin", "tests/support"]
ROW = re.compile(r"^\| `([^`]+)` \| `([^`]+)` \|(.*)\|$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def read_rules(root):
    rules = {}
    with open(os.path.join(root, "ARCHITECTURE.md"), encoding="utf-8") as text:
        for line in text:
            match = ROW.match(line.rstrip("\n"))
            if match:
                rules[match.group(1)] = re.findall(r"`([^`]+)`", match.group(3))
    return rules


def owner(path, folders):
    """The longest ruled folder that holds the path, or None."""
    best = None
    for folder in folders:
        if path.startswith(folder + "/") and (best is None or len(folder) > len(best)):
            best = folder
    return best


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.getcwd()
    rules = read_rules(root)
    failures = []
    for folder in rules:
        for directory, _, names in os.walk(os.path.join(root, folder)):
            for name in names:
                if not name.endswith((".cpp", ".h", ".c", ".rc")):
                    continue
                path = os.path.relpath(os.path.join(directory, name), root).replace(os.sep, "/")
                if owner(path, rules) != folder:
                    continue
                allowed = {folder, *rules[folder]}
                if "/tests/" in path[len(folder):] + "/":
                    allowed.update(TEST_SUPPORT)
                with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
                    included = INCLUDE.findall(source.read())
                for header in included:
                    if "/" not in header:
                        continue  # a header beside the source
                    used = owner(header, rules)
                    if used is None and not os.path.exists(os.path.join(root, header)):
                        continue  # a generated or outside header
                    if used not in allowed:
                        failures.append(f"{path}: includes {header} ({used or 'unruled folder'})")
    for failure in failures:
        print(failure)
    print(f"{len(failures)} include(s) outside the layer rules")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
