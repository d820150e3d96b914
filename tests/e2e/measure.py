#!/usr/bin/env python3
"""Two figures of lumafind.exe under Wine, as a user lives them.

    measure.py [--bin DIR] [--tree DIR] [--rows N]

1. Ctrl+F to "Search is complete" over a large tree (default: the 300,000-file
   tree of bench/es_bench.sh, made by it when missing), where the default
   MaxResults of 100 keeps 100 matches of "texas". Three searches; the first
   finds the disk cold or warm as it is.
2. Start-up with a previous "results.txt" of N rows (default 1,000,000): time
   from launch until the search box says it has the focus, against a start with
   no results, and what was spoken meanwhile.
"""

import argparse
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree clean
import harness as h  # noqa: E402
from harness import ASYNC, Failure  # noqa: E402

BENCH_TREE = Path("/tmp/es-bench-tree")


def ensure_tree(tree):
    if (tree / ".complete").exists():
        return
    if tree != BENCH_TREE:
        raise Failure("%s is not a finished tree" % tree)
    print("Making the 300,000-file tree with bench/es_bench.sh (a few minutes, once)")
    subprocess.run(["bash", "-c", "source <(sed -n '/^make_tree()/,/^}/p' %s); tree=%s; "
                    "make_tree" % (h.REPO / "bench" / "es_bench.sh", tree)], check=True)


def search_times(session, tree):
    h.prepare_folder(session)
    h.start_program(session, [tree])
    times = []
    for _ in range(3):
        h.settle(session)
        started = time.monotonic()
        h.keys(session, "ctrl+f")
        heard = h.expect(session, (ASYNC, h.re.compile("Search is complete : ")), timeout=600)
        times.append(time.monotonic() - started)
        print("  %.2f s  %s | caption: %s" % (times[-1], heard, h.caption(session)[:40]))
    h.stop_wine(session)
    return times


def results_file(rows):
    lines = ["Size,Date Modified,Filename\r\n"]
    for n in range(rows):
        lines.append('%d,%02d/%02d/20%02d 10:%02d,"Z:\\data\\folder %d\\file %d.txt"\r\n' % (
            n % 100000, n % 12 + 1, n % 28 + 1, n % 25, n % 60, n // 1000, n))
    return "".join(lines)


def start_time(session, tree, files):
    h.prepare_folder(session, files=files)
    started = time.monotonic()
    h.start_program(session, [tree], ready_timeout=600)
    ready = time.monotonic() - started
    heard = [text for _, text in h.speech(session)]
    h.screenshot(session, "measure-start-%d" % len(files))
    h.stop_wine(session)
    return ready, heard


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", default=str(h.DEFAULT_BIN))
    parser.add_argument("--tree", default=str(BENCH_TREE))
    parser.add_argument("--rows", type=int, default=1000000)
    options = parser.parse_args()
    session = h.new_session("measure", options.bin)
    missing = h.missing_requirements(session.bin)
    if missing:
        print("measure.py needs: " + ", ".join(missing), file=sys.stderr)
        return 1
    tree = Path(options.tree)
    try:
        h.end_on_terminate()
        ensure_tree(tree)
        h.begin(session)
        print("Ctrl+F to \"Search is complete\" over %s:" % tree)
        times = search_times(session, tree)
        print("search: median %.2f s of %s" % (statistics.median(times),
                                                ", ".join("%.2f" % t for t in times)))
        plain, _ = start_time(session, tree, {})
        big, heard = start_time(session, tree, {"results.txt": results_file(options.rows)})
        print("start with no results.txt: %.2f s to the search box's focus speech" % plain)
        print("start with %d rows: %.2f s; heard meanwhile:" % (options.rows, big))
        for text in heard:
            print("  " + text)
        return 0
    except (Failure, subprocess.SubprocessError, OSError) as error:
        print("measure.py stopped: %s" % error, file=sys.stderr)
        return 1
    finally:
        h.teardown(session)
        if session.folder is not None:  # a hundred megabytes
            (session.folder / "results.txt").unlink(missing_ok=True)


if __name__ == "__main__":
    sys.exit(main())
