#!/usr/bin/env python3
"""A short tour of Lumafind for a machine without a display.

    tour.py [--bin DIR] [--out DIR] [--roots FOLDERS] [--term TERM]

Starts lumafind.exe under Wine in a private Xvfb display, types the term,
searches, walks two rows and exits, then prints what the program said (Wine's
voice is silent, so its speech log is the only way to hear it) and where the
screenshots are.
"""

import argparse
import subprocess
import sys

sys.dont_write_bytecode = True  # keep the source tree clean
import harness as h  # noqa: E402
from harness import ASYNC, WAIT, Failure


def tour(session, roots, term):
    h.prepare_folder(session, folder=session.out / "tour")
    h.start_program(session, roots)
    h.screenshot(session, "tour-1-start")
    h.type_text(session, term)
    h.settle(session)
    h.keys(session, "ctrl+f")
    h.expect(session, (ASYNC, h.re.compile("Search is complete : ")), timeout=300)
    h.settle(session)
    h.screenshot(session, "tour-2-result")
    caption = h.caption(session)
    for _ in range(2):
        h.keys(session, "Down")
        h.settle(session)
    h.screenshot(session, "tour-3-walk")
    h.keys(session, "Escape")
    h.expect(session, (WAIT, "Exiting Lumafind"))
    h.wait_for_exit(session)
    return caption


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", default=str(h.DEFAULT_BIN))
    parser.add_argument("--out", default=str(h.REPO / "build" / "run"))
    parser.add_argument("--roots", default=";".join(h.visible_folders(h.REPO, ["build"])),
                        help="folders to search, ';' between them (default: the project's "
                        "source folders)")
    parser.add_argument("--term", default="search")
    options = parser.parse_args()
    session = h.new_session("tour", options.bin, options.out)
    missing = h.missing_requirements(session.bin)
    if missing:
        print("The tour needs: " + ", ".join(missing), file=sys.stderr)
        return 1
    print("Searching %s for %r" % (h.es_roots(options.roots), options.term))
    code = 0
    try:
        h.end_on_terminate()
        h.begin(session)
        caption = tour(session, options.roots, options.term)
        print("Caption after the search: %s" % caption)
    except (Failure, subprocess.TimeoutExpired, OSError) as error:
        print("The tour stopped: %s" % error, file=sys.stderr)
        code = 1
    finally:
        h.teardown(session)
    print("What Lumafind said (one line per message; [waits] the program waited for it):")
    h.print_speech(session)
    print("Screenshots:")
    for path in session.screenshots:
        print("  %s" % path)
    return code


if __name__ == "__main__":
    sys.exit(main())
