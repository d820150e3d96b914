#!/usr/bin/env python3
"""How long Up, Down, Page Up, Page Down, Home and End take from the key to the
row's speech in a list of a million rows, in lumafind.exe under Wine.

    bench/list_keys_bench.py [--bin DIR] [--out DIR] [--rows N]

Writes a results.txt of N rows (default 1,000,000) named "row 0000001.txt" and
on, which the program imports at start, moves into the list and presses each
key several times, a key 0.3 s after the row before was spoken, timing each
from the key to its row's speech; the first-letter jump (R) is timed beside
them. Every key must speak the row it should: the next or previous row, the
top or bottom with its "Top of List : " or "Bottom of List : ", a page further
on or back. Goal: a median of at most 50 ms for every key. Stops with an error
when a speech does not come or names the wrong row.
"""

import argparse
import os
import re
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import harness as h  # noqa: E402
from harness import Failure  # noqa: E402

PAUSE = 0.3
GOAL_MS = 50
ROW = re.compile(r"^(Top of List : |Bottom of List : )?row (\d{7})\.txt$")


def name(n):
    return "row %07d.txt" % n


def write_results(path, rows):
    with open(path, "w", encoding="ascii", newline="") as out:
        out.write("Size,Date Modified,Filename\r\n")
        for n in range(1, rows + 1):
            out.write('%d,03/%02d/2024 10:%02d,"C:\\Data\\Part %d\\%s"\r\n'
                      % (n * 7 % 90000, 1 + n % 28, n % 60, n // 1000, name(n)))


def next_row(session, timeout=30):
    """The first row spoken after what was heard: its number and edge prefix,
    and when it appeared (a tight poll of the speech log)."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        heard = h.speech(session)
        for index in range(session.heard, len(heard)):
            found = ROW.match(heard[index][1])
            if found:
                session.heard = index + 1
                return int(found.group(2)), found.group(1) or "", time.monotonic()
        time.sleep(0.002)
    raise Failure("no row was spoken within %d s; heard since: %s"
                  % (timeout, h.speech(session)[session.heard:] or "nothing"))


def edge(row, rows):
    return "Bottom of List : " if row == rows else "Top of List : " if row == 1 else ""


def press(session, key, at, rows, want):
    """Presses the key and checks the row spoken: `want` is the row, or a test of
    the row number for the page keys. Returns the new row and the time taken."""
    started = time.monotonic()
    h.run(session, ["xdotool", "key", key])
    try:
        row, prefix, heard = next_row(session)
    except Failure as error:
        raise Failure("%s from row %d: %s" % (key, at, error))
    good = want(row) if callable(want) else row == want
    if not good or prefix != edge(row, rows):
        raise Failure("%s from row %d spoke %r" % (key, at, prefix + name(row)))
    time.sleep(PAUSE)
    return row, heard - started


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", default=str(h.DEFAULT_BIN))
    parser.add_argument("--out", default=str(h.REPO / "build" / "list-keys-bench"))
    parser.add_argument("--rows", type=int, default=1000000)
    options = parser.parse_args()
    rows = options.rows
    session = h.new_session("list_keys_bench", options.bin, Path(options.out))
    missing = h.missing_requirements(session.bin)
    if missing:
        print("list_keys_bench.py needs: " + ", ".join(missing), file=sys.stderr)
        return 1
    try:
        h.end_on_terminate()
        h.begin(session)
        h.prepare_folder(session, ini=["ShowPreview= 0", "SearchTerm=row", "TopRow= 0",
                                       "LastRow= 1", "FocusOnRE= 1"])
        write_results(session.folder / "results.txt", rows)
        h.start_program(session, [session.folder], ready_timeout=300)
        h.settle(session)
        h.keys(session, "Tab")  # the welcome rides in front of what it says
        h.expect(session, re.compile(r"Results List has focus\. Top of List : %s$"
                                     % re.escape(name(1))), timeout=120)
        h.settle(session)
        times = {}

        def run_keys(label, key, count, want):
            nonlocal at
            for _ in range(count):
                at, took = press(session, key, at, rows, want(at))
                times.setdefault(label, []).append(took)

        at = 1
        run_keys("Down", "Down", 15, lambda a: a + 1)
        run_keys("Up", "Up", 10, lambda a: a - 1)
        run_keys("Shift+Down", "shift+Down", 5, lambda a: a + 1)
        run_keys("Ctrl+Down", "ctrl+Down", 5, lambda a: a + 1)
        run_keys("Page Down", "Next", 8, lambda a: (lambda r: r > a + 1))
        run_keys("Page Up", "Prior", 5, lambda a: (lambda r: r < a - 1))
        run_keys("End", "End", 1, lambda a: rows)
        run_keys("Up", "Up", 5, lambda a: a - 1)
        run_keys("Down", "Down", 5, lambda a: a + 1)
        run_keys("Page Up", "Prior", 3, lambda a: (lambda r: r < a - 1))
        run_keys("Home", "Home", 1, lambda a: 1)
        run_keys("Page Down", "Next", 2, lambda a: (lambda r: r > a + 1))
        run_keys("End", "End", 1, lambda a: rows)
        run_keys("Up", "Up", 2, lambda a: a - 1)
        run_keys("End", "End", 1, lambda a: rows)
        run_keys("Home", "Home", 1, lambda a: 1)
        run_keys("first letter (R)", "r", 10, lambda a: a + 1)
        h.stop_wine(session)

        load = os.getloadavg()
        print("Key to the row's speech in %d rows under Wine, a key %.1f s after each row "
              "(load average %.1f %.1f %.1f on %d cores):"
              % (rows, PAUSE, load[0], load[1], load[2], os.cpu_count()))
        met = True
        for label, taken in times.items():
            ms = sorted(t * 1000 for t in taken)
            median = statistics.median(ms)
            if label != "first letter (R)":
                met = met and median <= GOAL_MS
            print("  %-17s %2d keys: median %4.0f ms, max %4.0f ms"
                  % (label + ":", len(ms), median, ms[-1]))
        print("goal (median at most %d ms for every move key) %s" % (GOAL_MS,
                                                                     "met" if met else "NOT met"))
        return 0
    except (Failure, subprocess.SubprocessError, OSError) as error:
        print("list_keys_bench.py stopped: %s" % error, file=sys.stderr)
        return 1
    finally:
        h.teardown(session)


if __name__ == "__main__":
    sys.exit(main())
