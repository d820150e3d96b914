"""End-to-end scenario of a screen reader beside the program; scenarios.py runs it
by name. Wine has no UI Automation notification, so the program must start
without it and hand its messages over by a live-region change instead. The
speech log shows each hand-over as a line "live-region<TAB>text" (or
"notification<TAB>text" where the system has the notification)."""

import shutil
import subprocess
import time

import harness as h
from harness import ASYNC, Failure

TREE = {
    "maps/texas_road_map.pdf": (2048, "2024-03-05 10:00"),
    "notes/houston.txt": (40, "2024-06-01 12:00"),
}
OBJDUMP = "x86_64-w64-mingw32-objdump"


def reader_flag(session, command):
    """Runs the stand-in screen reader: "on", "off" or "announced"; its one line."""
    tool = session.bin / "lumafind_screen_reader_flag.exe"
    if not tool.is_file():
        raise Failure("the screen-reader stand-in %s was not built" % tool)
    out = session.out / session.name / "screen_reader.txt"
    out.parent.mkdir(parents=True, exist_ok=True)
    out.unlink(missing_ok=True)
    h.run(session, ["wine", str(tool), h.z_path(out), command], timeout=60)
    return out.read_bytes().decode("utf-8").rstrip("\n")


def handed_over(session):
    """The speech log's lines for the screen reader, as (way, text), in order."""
    return [(way, text) for way, text in raw_log(session) if not way.isdigit()]


def raw_log(session):
    data = session.log.read_bytes().decode("utf-8", errors="replace") if session.log.exists() else ""
    return [tuple(line.rstrip("\r").split("\t", 1)) for line in data.split("\n")[:-1]]


def wait_for_hand_over(session, text, timeout=60):
    deadline = time.monotonic() + timeout
    while (("live-region", text) not in handed_over(session)):
        if time.monotonic() > deadline:
            raise Failure("the screen reader was not handed %r; it was handed %r" % (
                text, handed_over(session)))
        time.sleep(0.1)


def check_imports(session):
    """A statically imported function Wine lacks would stop the program at its start."""
    if shutil.which(OBJDUMP) is None:
        print("  %s missing: the import table is not checked" % OBJDUMP)
        return
    table = subprocess.run([OBJDUMP, "-p", str(session.bin / "lumafind.exe")],
                           capture_output=True, text=True, check=True).stdout
    found = [line.strip() for line in table.splitlines()
             if "file format" not in line and ("uiautomation" in line.lower() or "Uia" in line)]
    if found:
        raise Failure("lumafind.exe imports UI Automation statically: %s" % found)


def screen_reader(session):
    """With a screen reader running and the voice turned off with F9, a search, a
    missing engine window and a copy are handed to the reader through the
    live-region control; typed keys are not (the reader echoes them itself); F9
    brings the voice back."""
    check_imports(session)
    if reader_flag(session, "on") != "flag: 1":
        raise Failure("the system's screen-reader flag could not be set")
    try:
        h.prepare_folder(session)
        tree = h.make_tree(session.out / session.name / "tree", TREE)
        h.start_program(session, [tree])
        if handed_over(session):
            raise Failure("with the voice on the reader was handed %r" % handed_over(session))
        h.keys(session, "F9")
        h.expect(session, (ASYNC, "Speech is Disabled"))
        spoken_before = len(raw_log(session))
        h.keys(session, "ctrl+a")
        h.type_text(session, "texas")
        h.keys(session, "ctrl+f")
        wait_for_hand_over(session, "Search is complete : 1 Match : texas_road_map.pdf")
        h.keys(session, "F3")  # no engine window is installed under Wine
        wait_for_hand_over(session, "Shortcut Pressed: Open Everything : F3 : Everything Not Found")
        h.keys(session, "ctrl+shift+c")
        copied = "Shortcut Pressed: Copy Results : CS-C : Search Results Copied to Clipboard"
        wait_for_hand_over(session, copied)
        h.settle(session)
        shown = reader_flag(session, "announced")
        if shown != "announced: " + copied:
            raise Failure("the live-region control holds %r, expected %r" % (shown, copied))
        lines = raw_log(session)[spoken_before:]
        voiced = [text for way, text in lines if way.isdigit()]
        if voiced:
            raise Failure("the voice spoke while it was off: %r" % voiced)
        texts = [text for way, text in lines]
        if texts.count("File Search for texas") != 1 or any(t in ("T", "E", "X", "A", "S")
                                                              for t in texts):
            raise Failure("expected the search announced once and no typed key: %r" % texts)
        print("  handed to the screen reader: %r" % handed_over(session))
        h.screenshot(session, "screen_reader")
        h.keys(session, "F9")  # the program still answers, and the voice is back
        h.expect(session, (ASYNC, "Speech is Enabled"))
        h.keys(session, "Escape")
        h.wait_for_exit(session)
    finally:
        cleared = reader_flag(session, "off")  # the prefix serves the other scenarios too
    if cleared != "flag: 0":
        raise Failure("the screen-reader flag could not be cleared: %r" % cleared)


SCENARIOS = {"screen_reader": screen_reader}
