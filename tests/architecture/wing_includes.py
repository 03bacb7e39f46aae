#!/usr/bin/env python3
"""Checks that no wing of the source tree includes anything from a wing above it.

The wings, lowest first: engine/ (standard C++), command_line/ (the table
programs), desktop/ (the windows). Headers are included by file name alone
(each room puts its folder on the include path), so an include is resolved by
name: a file may include a header found in its own wing or a lower one; a
header found only in a higher wing, or any Qt header below desktop/, is a
breach. The tests mirror the wings (tests/engine/ ... tests/desktop/) and are
held to the same rule.

Usage: wing_includes.py [source root]. Prints each breach as FILE:LINE and
exits 1 when there is one, 0 otherwise.
"""
import os
import re
import sys

WINGS = ["engine", "command_line", "desktop"]
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# Qt's own headers (QWidget, QtGlobal, qobject.h ...) and the forms it generates.
QT_HEADER = re.compile(r"^(Q[A-Za-z]*|Qt[A-Za-z]*/.*|ui_.*\.h)$")


def sources(folder):
    for top, _, names in os.walk(folder):
        for name in sorted(names):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.join(top, name)


def header_names(root, wing):
    names = set()
    for folder in (os.path.join(root, wing), os.path.join(root, "tests", wing)):
        for path in sources(folder):
            names.add(os.path.basename(path))
    return names


def breaches(root):
    headers = {wing: header_names(root, wing) for wing in WINGS}
    found = []
    for level, wing in enumerate(WINGS):
        allowed = set().union(*(headers[w] for w in WINGS[: level + 1]))
        higher = set().union(*(headers[w] for w in WINGS[level + 1 :])) - allowed
        qt_allowed = wing == "desktop"
        for folder in (os.path.join(root, wing), os.path.join(root, "tests", wing)):
            for path in sources(folder):
                with open(path, encoding="utf-8", errors="replace") as source:
                    for number, line in enumerate(source, 1):
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        name = match.group(2)
                        base = os.path.basename(name)
                        where = "%s:%d" % (os.path.relpath(path, root), number)
                        if not qt_allowed and QT_HEADER.match(name):
                            found.append("%s: %s includes Qt's %s" % (where, wing, name))
                        elif match.group(1) == '"' and base in higher:
                            owner = next(w for w in WINGS[level + 1 :] if base in headers[w])
                            found.append("%s: %s includes %s from %s/" % (where, wing, name, owner))
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    missing = [w for w in WINGS if not os.path.isdir(os.path.join(root, w))]
    if missing:
        print("no wing folder %s under %s" % (", ".join(missing), root))
        return 2
    found = breaches(root)
    for breach in found:
        print(breach)
    if not found:
        print("no wing includes from a wing above it")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
