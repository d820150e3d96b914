"""End-to-end scenario of the stand-in engine's resident index under Wine:
the program starts lumafind-index.exe beside it, and a file made or removed
from Linux is found, or gone, at the next search within a second."""

import re
import shutil
import subprocess
import time

import harness as h
from harness import ASYNC, Failure

TREE = {
    "maps/texas_road_map.pdf": (2048, "2024-03-05 10:00"),
    "notes/houston.txt": (40, "2024-06-01 12:00"),
}


def summary(count, first):
    word = " Match : " if count == 1 else " Matches : "
    text = "Search is complete : %d%s%s" % (count, word, first)
    return (ASYNC, re.compile(r"^(Shortcut Pressed: [^:]+ : \S+ : )?" + re.escape(text) + "$"))


def index_caught_up(session, tree):
    env = dict(session.env, LUMAFIND_ES_ROOTS=h.es_roots([tree]))
    done = subprocess.run(["wine", h.z_path(session.folder / "lumafind-index.exe"),
                           "--caught-up"], env=env, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=60)
    return done.returncode == 0


def engine_index(session):
    """Started on a tree, the program starts its index; every search below is
    answered by it alone (LUMAFIND_ES_INDEX=only makes the stand-in fail rather
    than walk). A file created from Linux is spoken at a search made within a
    second; once removed, it is gone."""
    h.prepare_folder(session, ini=["SearchTerm=texas", "FocusOnRE= 1"])
    shutil.copy2(session.bin / "lumafind-index.exe", session.folder / "lumafind-index.exe")
    tree = h.make_tree(session.out / session.name / "tree", TREE)
    h.start_program(session, [tree], env={"LUMAFIND_ES_INDEX": "only"})
    deadline = time.monotonic() + 60
    while not index_caught_up(session, tree):
        if time.monotonic() > deadline:
            raise Failure("the program started no index, or it never caught up")
        time.sleep(0.5)
    h.keys(session, "ctrl+f")
    h.expect(session, summary(1, "texas_road_map.pdf"), timeout=30)
    h.settle(session)

    made = tree / "notes" / "texas_new.txt"
    made.write_text("new\n")
    created = time.monotonic()
    h.keys(session, "ctrl+f")
    pressed = time.monotonic() - created
    h.expect(session, summary(2, "texas_new.txt"), timeout=30)
    h.settle(session)
    made.unlink()
    h.keys(session, "ctrl+f")
    h.expect(session, summary(1, "texas_road_map.pdf"), timeout=30)
    if pressed > 1.0:
        raise Failure("the search was asked %.2f s after the file was made, not within 1 s"
                      % pressed)
    h.settle(session)
    h.keys(session, "Escape")
    h.wait_for_exit(session)
    print("  a new file was found by a search %.2f s after it was made; removed, it was gone"
          % pressed)


SCENARIOS = {"engine_index": engine_index}
