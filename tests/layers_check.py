#!/usr/bin/env python3
"""Holds every quoted #include of the tree to the layer table in layers.txt.

    layers_check.py ROOT          check the tree at ROOT; exit 1 naming each include
                                  that goes up or sideways where the table does not allow it
    layers_check.py --self-test   plant faults in a small tree of its own and expect each caught

System includes (<...>) are not read: they are not ours.
"""
import os
import re
import sys
import tempfile

SOURCE_SUFFIXES = (".cpp", ".h", ".rc")
SKIPPED_DIRS = {".git", "build", "dist"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def read_table(path):
    """Rows in file order: folder -> folders it may include; and the links kept
    against the order, as (including file, included header) pairs."""
    rows, kept, errors = {}, set(), []
    with open(path, encoding="utf-8") as table:
        for number, line in enumerate(table, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            if line.startswith("except "):
                parts = line.split()
                if len(parts) != 3:
                    errors.append(f"{path}:{number}: 'except' wants a file and a header")
                else:
                    kept.add((parts[1], parts[2]))
                continue
            folder, colon, allowed = line.partition(":")
            if not colon:
                errors.append(f"{path}:{number}: a row is 'folder: folders it may include'")
                continue
            rows[folder.strip()] = set(allowed.split())
    for folder, allowed in rows.items():
        for name in allowed - rows.keys():
            errors.append(f"{path}: row {folder} allows {name}, which has no row")
    return rows, kept, errors


def folder_of(path, rows):
    """The longest row that holds `path`, or None."""
    best = None
    for folder in rows:
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def check(root):
    rows, kept, problems = read_table(os.path.join(root, "layers.txt"))
    used_exceptions = set()
    for dirpath, dirnames, filenames in os.walk(root):
        dirnames[:] = sorted(d for d in dirnames if d not in SKIPPED_DIRS and not d.startswith("."))
        for name in sorted(filenames):
            if not name.endswith(SOURCE_SUFFIXES):
                continue
            path = os.path.relpath(os.path.join(dirpath, name), root).replace(os.sep, "/")
            here = folder_of(path, rows)
            if here is None:
                problems.append(f"{path}: its folder has no row in layers.txt")
                continue
            with open(os.path.join(root, path), encoding="utf-8", errors="replace") as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    header = match.group(1)
                    if "/" not in header:
                        continue  # beside the including file
                    there = folder_of(header, rows)
                    if there is None:
                        problems.append(f"{path}:{number}: includes {header}, "
                                        "whose folder has no row in layers.txt")
                    elif there != here and there not in rows[here]:
                        if (path, header) in kept:
                            used_exceptions.add((path, header))
                        else:
                            problems.append(f"{path}:{number}: {here} may not include "
                                            f"{there} ({header})")
    for path, header in sorted(kept - used_exceptions):
        problems.append(f"layers.txt: 'except {path} {header}' is no longer needed: remove it")
    return problems


def self_test():
    """A small tree with one fault of each kind the check must name."""
    tree = {
        "layers.txt": "low:\nhigh: low\nside: low\nexcept side/kept.cpp high/top.h\n"
                      "except low/gone.cpp high/top.h\n",
        "low/a.h": '#include <vector>\n#include "a_local.h"\n',
        "low/up.cpp": '// fine\n#include "high/top.h"\n',
        "high/top.h": '#include "low/a.h"\n',
        "side/sideways.cpp": '#include "high/top.h"\n',
        "side/kept.cpp": '#include "high/top.h"\n',
        "stray/x.cpp": "",
        "high/lost.cpp": '#include "nowhere/y.h"\n',
    }
    expected = [
        "high/lost.cpp:1: includes nowhere/y.h, whose folder has no row in layers.txt",
        "low/up.cpp:2: low may not include high (high/top.h)",
        "side/sideways.cpp:1: side may not include high (high/top.h)",
        "stray/x.cpp: its folder has no row in layers.txt",
        "layers.txt: 'except low/gone.cpp high/top.h' is no longer needed: remove it",
    ]
    with tempfile.TemporaryDirectory() as root:
        for path, text in tree.items():
            os.makedirs(os.path.dirname(os.path.join(root, path)) or root, exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as f:
                f.write(text)
        found = check(root)
    if sorted(found) != sorted(expected):
        print("self-test: expected\n  " + "\n  ".join(expected) + "\nfound\n  " + "\n  ".join(found))
        return 1
    print(f"self-test: {len(expected)} planted faults named")
    return 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    if len(argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    problems = check(argv[1])
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) against layers.txt")
        return 1
    print("every include keeps to layers.txt")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
