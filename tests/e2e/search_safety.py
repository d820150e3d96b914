"""End-to-end scenarios of what a search may and may not do to the user's files
and to the program; scenarios.py runs them by name: option words typed into
the search box, a close request while the engine hangs, a long program folder,
and names that Windows would read as another file."""

import re
import shutil
import time

import harness as h
from harness import ASYNC, WAIT, Failure

WELL_KNOWN = {
    "maps/texas_road_map.pdf": (2048, "2024-03-05 10:00"),
    "notes/Texas Notes.txt": (700, "2023-06-01 09:30"),
    "notes/houston.txt": (40, "2024-06-01 12:00"),
}
EXCLUSIONS = "Z:\\nowhere at all\\\r\n"
PRECIOUS = "a letter the user wrote\r\n"


def summary(count, first):
    word = " Match : " if count == 1 else " Matches : "
    return said("Search is complete : %d%s%s" % (count, word, first))


def said(text):
    """A message that a shortcut announcement may ride in front of."""
    return (ASYNC, re.compile(r"^(Shortcut Pressed: [^:]+ : \S+ : )?" + re.escape(text) + "$"))


def snapshot(*folders):
    """Every file below the folders with its bytes, but the result and the log."""
    found = {}
    for folder in folders:
        for path in sorted(folder.rglob("*")):
            if path.is_file() and path.name not in ("results.txt", "speech.log"):
                found[str(path)] = path.read_bytes()
    return found


def new_term(session, text):
    """F4 empties the box; the term is then typed as a user would."""
    h.settle(session)
    h.keys(session, "F4")
    h.settle(session)
    h.type_text(session, text)
    h.settle(session)


def engine_option_words(session):
    """Words that the engine would read as options are names in File, Folder and
    Both searches and refused aloud in Custom ones: no file but "results.txt"
    changes in the program folder or the searched tree."""
    # The search box keeps the keyboard after each search, for the next term.
    h.prepare_folder(session, ini=["SearchTerm=-export-csv exclusion.txt", "FocusOnRE= 1"],
                     files={"exclusion.txt": EXCLUSIONS, "precious.txt": PRECIOUS})
    tree = h.make_tree(session.out / session.name / "tree", WELL_KNOWN)
    before = snapshot(session.folder, tree)
    h.start_program(session, [tree])
    for keys, spoken in [("ctrl+f", "File Search for "), ("ctrl+g", "Folder Search for "),
                         ("ctrl+h", "Search All for ")]:
        h.keys(session, keys)
        h.expect(session, (WAIT, spoken + "-export-csv exclusion.txt"), timeout=20)
        h.expect(session, summary(0, "<empty>"), timeout=60)
    h.keys(session, "ctrl+i")
    h.expect(session, said("Search Option Not Allowed : -export-csv"), timeout=20)
    for typed, refused in [("/export-csv precious.txt", "/export-csv"),
                           ("-save-settings", "-save-settings"), ("texas --", "--")]:
        new_term(session, typed)
        h.keys(session, "ctrl+i")
        h.expect(session, said("Search Option Not Allowed : " + refused), timeout=20)
        h.keys(session, "ctrl+f")
        h.expect(session, summary(0, "<empty>"), timeout=60)
    # What a user of the engine's query writes still works, and asks for no
    # second export.
    new_term(session, "-size -dm -sort name texas")
    h.keys(session, "ctrl+i")
    h.expect(session, summary(2, "texas notes.txt"), timeout=60)
    after = snapshot(session.folder, tree)
    changed = sorted(set(before) ^ set(after) | {p for p in before if after.get(p) != before[p]})
    # The history is the searches' own; the settings are written at exit.
    changed = [p for p in changed if not p.endswith(("lumafind.ini", "searchterms.txt"))]
    if changed:
        raise Failure("the searches changed or made %r" % changed)
    h.screenshot(session, "engine_option_words")
    h.keys(session, "Escape")
    h.expect(session, (WAIT, "Exiting Lumafind"), timeout=20)
    h.wait_for_exit(session)


def close_window(session, how):
    closer = session.bin / "lumafind_window_closer.exe"
    if not closer.is_file():
        raise Failure("the window closer %s was not built" % closer)
    out = session.out / session.name / "closer.txt"
    out.unlink(missing_ok=True)
    # Only a program on the same desktop sees the window.
    h.run(session, ["wine", "explorer", "/desktop=lumafind," + session.screen, h.z_path(closer),
                    h.z_path(out), how], timeout=60)
    deadline = time.monotonic() + 30
    while not out.exists() or not out.read_bytes().endswith(b"\n"):
        if time.monotonic() > deadline:
            raise Failure("the window closer wrote nothing")
        time.sleep(0.1)
    answer = out.read_bytes().decode("utf-8").strip()
    if answer != "closed":
        raise Failure("the window closer said %r" % answer)


def engine_close(session):
    """The close button's command, Alt+F4 and a session ending, each while the
    engine hangs: the engine is ended, the user hears it, the program ends and
    its settings are saved; the previous result stays on disk."""
    previous = 'Size,Date Modified,Filename\r\n5,01/02/2020 03:04,"C:\\old\\previous.txt"\r\n'
    stub = session.bin / "lumafind_engine_stub.exe"
    for how in ["close", "alt+F4", "end-session"]:
        term = "closing by " + how
        h.prepare_folder(session, ini=["SearchTerm=" + term], files={"results.txt": previous})
        shutil.copy2(stub, session.folder / "es.exe")
        h.start_program(session, [session.folder], env={"LUMAFIND_STUB_HANG": "1"})
        h.keys(session, "ctrl+f")
        h.expect(session, (WAIT, "File Search for " + term), timeout=20)
        deadline = time.monotonic() + 20
        while not h.processes_running("es.exe"):
            if time.monotonic() > deadline:
                raise Failure("the engine stand-in did not start")
            time.sleep(0.1)
        if how == "alt+F4":
            h.keys(session, "alt+F4")
        else:
            close_window(session, how)
        if how != "end-session":
            h.expect(session, said("Search Cancelled : Previous Result Shown"), timeout=20)
        h.expect(session, (WAIT, "Exiting Lumafind"), timeout=20)
        h.wait_for_exit(session)
        if h.processes_running("es.exe"):
            raise Failure("the engine still runs after %s" % how)
        ini = (session.folder / "lumafind.ini").read_bytes().decode("utf-8")
        if "SearchTerm=" + term + "\r\n" not in ini:
            raise Failure("after %s the settings were not saved: %r" % (how, ini[:300]))
        if (session.folder / "results.txt").read_bytes() != previous.encode("utf-8"):
            raise Failure("after %s the previous result changed" % how)
        print("  %s: engine ended, settings saved" % how)


def long_program_folder(session):
    """From a program folder past the old path limit the stand-in beside the
    program answers: it is started by its short form."""
    tree = h.make_tree(session.out / session.name / "tree", WELL_KNOWN)
    base = session.out / session.name
    deep = base / ("a" * 60) / ("b" * 60) / ("c" * 60) / ("d" * 60) / ("e" * 40)
    length = len(h.z_path(deep))
    if length < 300:
        deep = deep / ("f" * (305 - length))
    h.prepare_folder(session, folder=deep)
    h.use_desktop(session)
    h.start_program(session, [tree], explorer=False)
    h.keys(session, "ctrl+f")
    h.expect(session, (WAIT, "File Search for texas"), timeout=20)
    h.expect(session, summary(2, "texas_road_map.pdf"), timeout=60)
    print("  program folder of %d characters" % len(h.z_path(deep)))
    h.screenshot(session, "long_program_folder")
    h.keys(session, "Escape")
    h.expect(session, (WAIT, "Exiting Lumafind"), timeout=20)
    h.wait_for_exit(session)


def exact_names(session):
    """Two files "twin.txt." and "twin.txt" side by side: on the first one's row
    Ctrl+D copies nothing of the other and says why, and Ctrl+J never opens the
    other file."""
    tree = h.make_tree(session.out / session.name / "tree", {
        "pair/twin.txt": (5, "2020-01-01 10:00"),
        "pair/twin.txt.": (9, "2024-01-01 10:00"),
    })
    h.prepare_folder(session, ini=["SearchTerm=twin"])
    h.start_program(session, [tree])
    h.keys(session, "ctrl+f")
    h.expect(session, summary(2, "twin.txt."), timeout=60)
    h.settle(session)
    h.keys(session, "ctrl+d")
    h.expect(session, said("Cannot Copy : A Name In The Path Ends In A Dot Or Blank, "
                           "Which Windows Would Change"), timeout=20)
    h.settle(session)
    h.keys(session, "ctrl+j")
    h.expect(session, said("Using Error: associated program not found to Open twin.txt."),
             timeout=20)
    time.sleep(3)
    windows = h.run(session, ["xdotool", "search", "--name", "twin"], check=False).split()
    names = [h.run(session, ["xdotool", "getwindowname", w], check=False).strip()
             for w in windows]
    if any(re.search(r"(^|\\)twin\.txt( |$)", n, re.IGNORECASE) for n in names):
        raise Failure("Ctrl+J on twin.txt. opened the other file: %r" % names)
    heard = [text for _, text in h.speech(session)]
    refused = any(t.endswith("Cannot Open : A Name In The Path Ends In A Dot Or Blank, "
                             "Which Windows Would Change") for t in heard)
    print("  Ctrl+J on twin.txt.: %s; windows %r" % (
        "refused aloud" if refused else "opened by its short name", names))
    h.screenshot(session, "exact_names")


# The desktop setting stays in a prefix of its own.
long_program_folder.prefix = "wineprefix-long-folder"

SCENARIOS = {
    "engine_option_words": engine_option_words,
    "engine_close": engine_close,
    "long_program_folder": long_program_folder,
    "exact_names": exact_names,
}
