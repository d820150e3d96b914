#!/usr/bin/env python3
"""End-to-end scenarios of lumafind.exe under Wine, each what a user would do and hear.

    scenarios.py [--bin DIR] [--out DIR] NAME...   (or "all")

Exit code 0 when every scenario passes, 77 when they cannot run here (no Wine,
Xvfb, xdotool, ImageMagick or no built program), 1 otherwise. Screenshots and
speech logs are kept in the output folder (build/e2e by default).
"""

import argparse
import re
import shutil
import sys
import time
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree clean
import harness as h  # noqa: E402
import display_scale  # noqa: E402
import help_and_clipboard  # noqa: E402
import image_preview  # noqa: E402
import kept_files  # noqa: E402
import outside_programs  # noqa: E402
import online_update  # noqa: E402
import packages  # noqa: E402
import printing  # noqa: E402
import reading  # noqa: E402
import screen_reader  # noqa: E402
import engine_index  # noqa: E402
import search_safety  # noqa: E402
from harness import ASYNC, WAIT, Failure

WELCOME = "Welcome to Lumafind, version 4.43!"

# A tree whose answers are known: names, sizes and dates chosen so that the
# date order (newest first) is fixed, and folders whose names match too, which
# a file search must leave out.
TREE = {
    "maps/texas_road_map.pdf": (2048, "2024-03-05 10:00"),
    "maps/old/texas_1990.txt": (12, "2019-01-20 08:00"),
    "notes/Texas Notes.txt": (700, "2023-06-01 09:30"),
    "notes/houston.txt": (40, "2024-06-01 12:00"),
    "photos/texas-sunset.jpg": (150000, "2022-08-15 18:45"),
    "photos/beach.jpg": (9000, "2024-07-01 07:00"),
    "texas trips/itinerary.txt": (300, "2024-05-02 11:00"),
    "texas trips/": (0, "2024-05-01 11:00"),
    "reports/report_2024.txt": (5000, "2024-02-01 16:00"),
    "reports/report_2023.txt": (4000, "2023-02-01 16:00"),
    "reports/archive/old_report.doc": (3000, "2020-01-01 10:00"),
    "reports/": (0, "2024-08-01 10:00"),
}
# The import lower-cases the result file, so names are heard in lower case.
TEXAS_FILES = ["texas_road_map.pdf", "texas notes.txt", "texas-sunset.jpg", "texas_1990.txt"]
REPORT_FILES = ["report_2024.txt", "report_2023.txt", "old_report.doc"]

# The INI file a first start writes, key by key in the order of the file; None
# stands for a value that depends on the window (a number in the written form).
DEFAULT_INI = [
    ("Left", None), ("Top", None), ("Width", None), ("Height", None),
    ("SearchTerm", "texas"), ("FontName", "Arial Black"), ("IgnoreList", ".lnk"),
    ("Minimized", " 0"), ("Maximized", " 0"), ("FontSize", " 36"), ("FG", " 65535"),
    ("BG", " 16711680"), ("ShowToolbar", " 1"), ("IconSize", " 96"), ("SortType", " 1"),
    ("HideToolbarText", " 0"), ("MaxResults", " 100"), ("ExcludeSystemFolders", " 1"),
    ("EnableSpeakLetters", " 1"), ("SpeakNonLetters", " 1"), ("ShortPath", " 1"),
    ("EnableToolTips", " 1"), ("EnableTime", " 1"), ("vRate", " 0"), ("SlowRate", "-3"),
    ("FastRate", " 3"), ("UseIgnoreList", " 0"), ("ExternalTool", " 1"), ("FocusOnRE", " 0"),
    ("UseHover", " 1"), ("UseKB", " 1"), ("PrintFont", " 0"), ("MaxPrintLines", " 50"),
    ("SearchType", " 1"), ("ShowPreview", " 0"), ("LastRow", " 1"), ("TopRow", " 0"),
    ("SpeakShortcuts", " 1"), ("IncludeShortcutKey", " 1"), ("SpeakMinimalKey", " 1"),
    ("PreviewResize", " 1"), ("ImageBG", " 2"), ("WideToolbar", " 0"), ("DisableSpeech", " 0"),
    ("LastSearchType", " 1"), ("SearchTermNumber", " 1"),
]
WRITTEN_NUMBER = re.compile(r"^( \d+|-\d+)$")


def ready_line(term):
    return (ASYNC, WELCOME + "SearchBox has focus. Search term is " + term)


def shortcut(name, key, text):
    """What a shortcut speaks with the default announcement settings."""
    return (ASYNC, "Shortcut Pressed: %s : %s : %s" % (name, key, text))


def press(session, keys, *wanted):
    """Presses keys with modifiers: the focused control names each modifier as it
    goes down, then the wanted lines must follow, in order."""
    modifiers = {"ctrl": "Control", "shift": "Shift"}
    echoes = [(ASYNC, modifiers[k]) for k in keys.split("+")[:-1] if k in modifiers]
    h.keys(session, keys)
    h.expect_in_order(session, echoes + list(wanted))


def search_done(count, first):
    word = " Match : " if count == 1 else " Matches : "
    # The announcement of Ctrl+F may or may not still be waiting for this line.
    return (ASYNC, re.compile(r"^(Shortcut Pressed: Search for Files : C-F : )?" +
                              re.escape("Search is complete : %d%s%s" % (count, word, first)) +
                              "$"))


def start_with_tree(session, ini=None, files=None):
    h.prepare_folder(session, ini=ini, files=files)
    tree = h.make_tree(session.out / session.name / "tree", TREE)
    return tree


def read_ini(session):
    path = session.folder / "lumafind.ini"
    if not path.exists():
        raise Failure("no lumafind.ini in %s after the program ended" % session.folder)
    return path.read_bytes().decode("utf-8")


def ini_values(session):
    text = read_ini(session)
    if not text.startswith("[All]\r\n") or not text.endswith("\r\n"):
        raise Failure("the INI file is not one [All] section of CR LF lines: %r" % text[:200])
    lines = text[len("[All]\r\n"):-2].split("\r\n")
    return [tuple(line.split("=", 1)) if "=" in line else (line, None) for line in lines]


def exit_by_esc(session):
    """Esc with nothing being spoken ends the program, which says goodbye last."""
    h.settle(session)
    h.keys(session, "Escape")
    h.expect(session, (WAIT, "Exiting Lumafind"), next_line=True)
    h.wait_for_exit(session)


def check_ini_value(values, key, wanted):
    found = dict(values).get(key)
    if found != wanted:
        raise Failure("INI %s=%r, expected %r" % (key, found, wanted))


# ---- Scenarios -----------------------------------------------------------------------


def first_start(session):
    """No INI file: the welcome rides on the search box's focus speech; Esc ends
    the program and leaves an INI with all 46 keys in order."""
    tree = start_with_tree(session)
    h.start_program(session, [tree])
    heard = [line for line in h.speech(session) if line[1]]
    if heard[:1] != [ready_line("texas")]:
        raise Failure("the first words were %r, expected the welcome" % heard[:3])
    welcomes = [line for line in heard if WELCOME in line[1]]
    if welcomes != [ready_line("texas")]:
        raise Failure("the welcome came as %r, expected once as %r" % (welcomes,
                                                                     ready_line("texas")))
    check_caption(session, re.compile(r"^Lumafind 4\.43   Compiled: \S.*\d$"))
    picture = h.screenshot(session, "first_start")
    check_scheme(picture, "Yellow on Blue")
    check_toolbar_caption(picture)
    exit_by_esc(session)
    values = ini_values(session)
    keys = [key for key, _ in values]
    wanted_keys = [key for key, _ in DEFAULT_INI]
    if keys != wanted_keys:
        raise Failure("INI keys %s, expected %s" % (keys, wanted_keys))
    for (key, value), (_, wanted) in zip(values, DEFAULT_INI):
        if wanted is None and not WRITTEN_NUMBER.match(value or ""):
            raise Failure("INI %s=%r is not a written number" % (key, value))
        if wanted is not None and value != wanted:
            raise Failure("INI %s=%r, expected %r" % (key, value, wanted))


def typing(session):
    """EnableSpeakLetters 3 (Both): each letter is named, Space names itself and
    the word; the box then holds what was typed."""
    tree = start_with_tree(session, ini=["EnableSpeakLetters= 3"])
    h.start_program(session, [tree])
    h.type_text(session, "el paso")
    h.expect_in_order(session, [(ASYNC, "E"), (ASYNC, "L"), (ASYNC, "Space : EL"), (ASYNC, "P"),
                                (ASYNC, "A"), (ASYNC, "S"), (ASYNC, "O")])
    press(session, "ctrl+l", shortcut("Speak Search Term", "C-L", "el paso"))
    h.screenshot(session, "typing")


def search_walk(session):
    """Ctrl+F over a known tree: the count and the newest match are spoken, the
    caption shows the timing and the engine's arguments; Down walks the rows to
    the bottom."""
    tree = start_with_tree(session)
    h.start_program(session, [tree])
    press(session, "ctrl+f", (WAIT, "File Search for texas"))
    h.expect(session, search_done(4, TEXAS_FILES[0]), timeout=60)
    arguments = (" !c:\\windows\\ !c:\\$recycle.bin\\ " + " -size -size-format 2 -dm /a-d " +
                 " -sort dm " + " -n 100" + " -export-csv results.txt " + "texas")
    wanted = re.compile(r"^Lumafind 4\.43    [\d,]*\.\d sec : [\d,]*\.\d sec   \.\.\. " +
                        re.escape(arguments) + "$")
    check_caption(session, wanted)
    h.settle(session)
    h.screenshot(session, "search_walk-result")
    for name in TEXAS_FILES[1:-1]:
        h.keys(session, "Down")
        h.expect(session, (ASYNC, name), next_line=True)
    h.keys(session, "Down")
    h.expect(session, (ASYNC, "Bottom of List : " + TEXAS_FILES[-1]), next_line=True)
    h.screenshot(session, "search_walk")


def check_caption(session, wanted, timeout=10):
    deadline = time.monotonic() + timeout
    seen = h.caption(session)
    while not wanted.match(seen):
        if time.monotonic() > deadline:
            raise Failure("caption %r does not match /%s/" % (seen, wanted.pattern))
        time.sleep(0.2)
        seen = h.caption(session)


# Where the screenshots show the search box's and the list's empty background,
# and the name in the list's first row.
SEARCH_BOX_BACKGROUND = (1000, 225)
FIRST_NAME = (45, 315, 360, 40)
SCHEMES = {"Yellow on Blue": ("#FFFF00", "#0000FF"), "Black on White": ("#000000", "#FFFFFF"),
           "White on Black": ("#FFFFFF", "#000000")}


def check_scheme(picture, scheme):
    """The screenshot shows the scheme: its background behind the box and the
    list, its text colour in the first row's name."""
    text, background = SCHEMES[scheme]
    # The status bar grows with its text, so the list's foot is measured.
    list_background = reading.list_background(picture, FIRST_NAME[1] + FIRST_NAME[3] // 2)
    for name, point in [("search box", SEARCH_BOX_BACKGROUND), ("list", list_background)]:
        found = h.colours(picture, *point)
        if found != {background}:
            raise Failure("%s: the %s background is %s, expected %s for %s" % (
                picture.name, name, found, background, scheme))
    if text not in h.colours(picture, *FIRST_NAME):
        raise Failure("%s: no %s text in the first row for %s" % (picture.name, text, scheme))


# A column through the Exit button: its icon, then its caption below it.
EXIT_BUTTON = (20, 24, 130, 200)
# 24 points at 96 dpi is a 32-pixel em, so "Exit" in a bold face stands about
# 23 pixels tall; in the small system font it stands 8.
CAPTION_HEIGHT = 18


def check_toolbar_caption(picture):
    """The toolbar's captions are in the window's large font from the first paint."""
    runs = h.dark_runs(picture, *EXIT_BUTTON)
    if len(runs) < 2 or runs[1][1] < CAPTION_HEIGHT:
        raise Failure("%s: the Exit caption is %s pixels tall, expected at least %d (bands "
                      "of dark rows under the Exit button: %s)" % (
                          picture.name, runs[1][1] if len(runs) > 1 else "no", CAPTION_HEIGHT,
                          runs))


def toggles(session):
    """Ctrl+5 twice flips the short paths off and on; Ctrl+Y three times runs
    through the colour schemes back to yellow on blue; Esc keeps the result."""
    tree = Path(session.out / session.name / "tree")
    rows = "".join('%d,%s,"%s"\r\n' % (size, stamp, h.z_path(tree / path)) for path, size, stamp in [
        ("maps/texas_road_map.pdf", 2048, "03/05/2024 10:00"),
        ("notes/Texas Notes.txt", 700, "06/01/2023 09:30"),
        ("photos/texas-sunset.jpg", 150000, "08/15/2022 18:45")])
    start_with_tree(session, files={"results.txt": "Size,Date Modified,Filename\r\n" + rows})
    h.start_program(session, [tree])
    press(session, "ctrl+5", shortcut("Folder Short Path", "C-5", "Short Path Name is OFF"))
    h.settle(session)
    h.screenshot(session, "toggles-long-paths")
    press(session, "ctrl+5", shortcut("Folder Short Path", "C-5", "Short Path Name is ON"))
    for scheme in ["Black on White", "White on Black", "Yellow on Blue"]:
        press(session, "ctrl+y", shortcut("Change Colors", "C-Y", scheme))
        h.settle(session)
        check_scheme(h.screenshot(session, "toggles" if scheme == "Yellow on Blue" else
                                  "toggles-" + scheme.lower().replace(" ", "-")), scheme)
    exit_by_esc(session)
    values = ini_values(session)
    for key, wanted in [("ShortPath", " 1"), ("FG", " 65535"), ("BG", " 16711680")]:
        check_ini_value(values, key, wanted)


def restart(session):
    """A term typed, searched and walked one row; Esc saves it all; the second
    start brings back the term, the result and the selected row."""
    tree = start_with_tree(session)
    h.start_program(session, [tree])
    h.type_text(session, "report")
    h.expect(session, (ASYNC, "T"))  # the last letter typed has arrived
    press(session, "ctrl+f", (WAIT, "File Search for report"))
    h.expect(session, search_done(3, REPORT_FILES[0]), timeout=60)
    h.settle(session)
    h.keys(session, "Down")
    h.expect(session, (ASYNC, REPORT_FILES[1]), next_line=True)
    exit_by_esc(session)
    values = ini_values(session)
    for key, wanted in [("SearchTerm", "report"), ("LastRow", " 2"), ("LastSearchType", " 1")]:
        check_ini_value(values, key, wanted)
    heard = h.start_program(session, [tree])
    if heard != ready_line("report")[1]:
        raise Failure("second start said %r, expected %r" % (heard, ready_line("report")[1]))
    h.settle(session)
    h.screenshot(session, "restart-second-start")
    press(session, "ctrl+0", shortcut("Speak Location", "C-0",
                                      "Line 2 of  3 : File : " + REPORT_FILES[1]))
    # Tab is how many of our users move between the box and the list; the term
    # must survive it.
    press(session, "shift+Tab", (ASYNC, "Results List has focus. " + REPORT_FILES[1]))
    press(session, "ctrl+l", shortcut("Speak Search Term", "C-L", "report"))
    h.screenshot(session, "restart")


# A term and exclusion lines that would run a second command if the engine were
# started through the command interpreter.
HOSTILE_TERM = '%os:"=%|mkdir pwned'
HOSTILE_EXCLUSIONS = '"c:\\program files\\"\r\nd:\\a & b\\\r\n%windir%\\'
STUB_ANSWER = "answer from the stub.txt"


def with_engine_stub(session, *names):
    """Puts the recording engine stand-in into the program folder under each name."""
    stub = session.bin / "lumafind_engine_stub.exe"
    if not stub.is_file():
        raise Failure("the engine stand-in %s was not built" % stub)
    for name in names:
        shutil.copy2(stub, session.folder / name)


def engine_arguments(session):
    """The engine is started directly, by its path: with a planted cmd.exe in the
    program folder and hostile exclusions and term, the client gets each piece
    as one argument (split by the system's own rules) and no interpreter runs."""
    h.prepare_folder(session, ini=["SearchTerm=" + HOSTILE_TERM],
                     files={"exclusion.txt": HOSTILE_EXCLUSIONS})
    with_engine_stub(session, "es.exe", "cmd.exe")
    h.start_program(session, [session.folder])
    press(session, "ctrl+f", (WAIT, "File Search for " + HOSTILE_TERM))
    h.expect(session, search_done(1, STUB_ANSWER), timeout=60)
    received = (session.folder / "engine-args.txt").read_text(encoding="utf-8").split("\n")[:-1]
    wanted = ['!"c:\\program files\\"', "!d:\\a & b\\", "!%windir%\\", "-size", "-size-format",
              "2", "-dm", "/a-d", "-sort", "dm", "-n", "100", "-export-csv", "results.txt",
              '%os:=%|mkdir pwned']
    if received[1:] != wanted or received[0].lower() != h.z_path(session.folder / "es.exe").lower():
        raise Failure("the engine received %r, expected %r" % (received, wanted))
    text = (' !"c:\\program files\\" !d:\\a & b\\ !%windir%\\ -size -size-format 2 -dm /a-d '
            ' -sort dm  -n 100 -export-csv results.txt %os:"=%^|mkdir pwned')
    check_caption(session, re.compile(r"^Lumafind 4\.43 .* \.\.\. " + re.escape(text) + "$"))
    press(session, "ctrl+i", (WAIT, "Custom Search " + HOSTILE_TERM))
    h.expect(session, search_done(1, STUB_ANSWER), timeout=60)
    received = (session.folder / "engine-args.txt").read_text(encoding="utf-8").split("\n")[1:-1]
    if received != ["-export-csv", "results.txt", "%os:=%|mkdir pwned"]:
        raise Failure("the Custom search gave the engine %r" % received)
    for left in ["cmd-ran.txt", "pwned"]:
        if (session.folder / left).exists():
            raise Failure("%s exists: a command interpreter ran" % left)
    h.screenshot(session, "engine_arguments")
    exit_by_esc(session)


def engine_cancel(session):
    """An engine that never ends (as a crashed one under Wine): Esc ends it, the
    user hears so, and the previous result stays on screen and on disk."""
    previous = 'Size,Date Modified,Filename\r\n5,01/02/2020 03:04,"C:\\old\\previous result.txt"\r\n'
    h.prepare_folder(session, files={"results.txt": previous})
    with_engine_stub(session, "es.exe")
    h.start_program(session, [session.folder], env={"LUMAFIND_STUB_HANG": "1"})
    press(session, "ctrl+f", (WAIT, "File Search for texas"))
    deadline = time.monotonic() + 20
    while not (session.folder / "engine-args.txt").exists() or not h.processes_running("es.exe"):
        if time.monotonic() > deadline:
            raise Failure("the engine stand-in did not start")
        time.sleep(0.1)
    h.screenshot(session, "engine_cancel-waiting")
    h.keys(session, "Escape")
    h.expect(session, (ASYNC, re.compile(r"^(Shortcut Pressed: Search for Files : C-F : )?"
                                         r"Search Cancelled : Previous Result Shown$")), timeout=20)
    deadline = time.monotonic() + 10
    while h.processes_running("es.exe"):
        if time.monotonic() > deadline:
            raise Failure("the engine was still running after Esc")
        time.sleep(0.1)
    if (session.folder / "results.txt").read_bytes() != previous.encode("utf-8"):
        raise Failure("the previous result file changed")
    h.settle(session)
    press(session, "ctrl+0", shortcut("Speak Location", "C-0",
                                      "Line 1 of  1 : File : previous result.txt"))
    h.screenshot(session, "engine_cancel")
    exit_by_esc(session)


def engine_choice(session):
    """The outside engine's client on PATH answers; without it the stand-in
    shipped beside the program (lumafind-es.exe) walks the disk instead."""
    tree = start_with_tree(session)
    tools = session.out / session.name / "outside engine"
    tools.mkdir(exist_ok=True)
    shutil.copy2(session.bin / "lumafind_engine_stub.exe", tools / "es.exe")
    h.start_program(session, [tree], env={"WINEPATH": h.z_path(tools)})
    press(session, "ctrl+f", (WAIT, "File Search for texas"))
    h.expect(session, search_done(1, STUB_ANSWER), timeout=60)
    received = (session.folder / "engine-args.txt").read_text(encoding="utf-8").split("\n")
    if received[0].lower() != h.z_path(tools / "es.exe").lower():
        raise Failure("the program started %r, not the es.exe on PATH" % received[0])
    exit_by_esc(session)
    (session.folder / "engine-args.txt").unlink()
    h.start_program(session, [tree])
    press(session, "ctrl+f", (WAIT, "File Search for texas"))
    h.expect(session, search_done(4, TEXAS_FILES[0]), timeout=60)
    if (session.folder / "engine-args.txt").exists():
        raise Failure("the outside engine's client ran although it was not on PATH")
    exit_by_esc(session)


def window_box(session):
    """Where the main window is on the desktop: (left, top, width, height). Asked
    of xwininfo: xdotool counts a Wine desktop's child windows from elsewhere."""
    info = h.run(session, ["xwininfo", "-id", h.main_window(session)])
    fields = dict(line.strip().split(":", 1) for line in info.splitlines() if ":" in line)
    return tuple(int(fields[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y",
                                          "Width", "Height"))


def unusable_ini(session):
    """An INI file an editor saved in UTF-16 with values that would hide the
    window: it is read, the window comes up on the desktop, large enough, and
    takes keys; the file written at exit is UTF-8 and holds the fitted values."""
    tree = start_with_tree(session)
    text = ("[All]\r\nLeft=100000\r\nTop=-5000\r\nWidth=0\r\nHeight=-20\r\nFontSize=0\r\n"
            "SearchTerm=Z\u00fcrich\r\n")
    (session.folder / "lumafind.ini").write_bytes(b"\xff\xfe" + text.encode("utf-16-le"))
    h.start_program(session, [tree])
    left, top, width, height = window_box(session)
    screen_width, screen_height = (int(n) for n in h.SCREEN.split("x"))
    if left < 0 or top < 0 or left + width > screen_width or top + height > screen_height:
        raise Failure("the window is at %r, not on the %s desktop" % ((left, top, width, height),
                                                                       h.SCREEN))
    if width < 600 or height < 300:
        raise Failure("the window is %dx%d, too small to use" % (width, height))
    press(session, "ctrl+l", shortcut("Speak Search Term", "C-L", "Z\u00fcrich"))
    h.screenshot(session, "unusable_ini")
    exit_by_esc(session)
    values = dict(ini_values(session))
    check_ini_value(values.items(), "FontSize", " 8")
    check_ini_value(values.items(), "SearchTerm", "Z\u00fcrich")
    saved = [int(values[k]) for k in ("Left", "Top", "Width", "Height")]
    if saved[0] < 0 or saved[1] < 0 or saved[0] + saved[2] > screen_width or saved[2] < 600:
        raise Failure("the INI keeps the window at %r" % saved)


# A folder whose name holds what a typed term may not: blanks, "&", "'", ","
# and an accented letter; a sibling whose name starts the same way.
EXPANDED = "My Documents & Ann's, caf\u00e9"
EXPAND_TREE = {
    EXPANDED + "/inside one.txt": (10, "2024-09-01 10:00"),
    EXPANDED + "/sub folder/inside_two-b.txt": (20, "2024-08-01 10:00"),
    EXPANDED + "/sub folder/": (0, "2024-07-01 10:00"),
    EXPANDED + "/": (0, "2024-06-01 10:00"),
    EXPANDED + " 2/beside.txt": (30, "2024-05-01 10:00"),
    EXPANDED + " 2/": (0, "2024-04-01 10:00"),
}


def expanded_search_done(count, first):
    """The summary of an expansion; a shortcut announcement may ride in front."""
    word = " Match : " if count == 1 else " Matches : "
    return (ASYNC, re.compile(r"^(Shortcut Pressed: [^:]+ : \S+ : )?" +
                              re.escape("Search is complete : %d%s%s" % (count, word, first)) +
                              "$"))


def expand_and_spell(session):
    """Ctrl+S lists exactly what is under the selected row's folder, whose name
    no typed term could hold, and the search box has the typed term again; F5
    goes one folder up; Ctrl+M and Ctrl+Z spell the term and the row's name."""
    h.prepare_folder(session, ini=["SearchTerm=inside one"])
    tree = h.make_tree(session.out / session.name / "tree", EXPAND_TREE)
    h.start_program(session, [tree])
    press(session, "ctrl+f", (WAIT, "File Search for inside one"))
    h.expect(session, search_done(1, "inside one.txt"), timeout=60)
    h.settle(session)
    # The import lower-cases the result, the folder's path with it.
    folder = '"' + h.z_path(tree / EXPANDED).lower() + '\\"'
    press(session, "ctrl+s", (WAIT, "Search All for " + folder))
    h.expect(session, expanded_search_done(3, "inside one.txt"), timeout=60)
    check_caption(session, re.compile(r"^Lumafind 4\.43 .* -export-csv results\.txt " +
                                      re.escape(folder) + "$"))
    h.settle(session)
    press(session, "ctrl+l", shortcut("Speak Search Term", "C-L", "inside one"))
    h.screenshot(session, "expand_and_spell-expanded")
    h.keys(session, "Down")
    h.expect(session, (ASYNC, "inside_two-b.txt"), next_line=True)
    h.keys(session, "Down")
    h.expect(session, (ASYNC, "Bottom of List : Folder : sub folder"), next_line=True)
    h.keys(session, "Up")
    h.expect(session, (ASYNC, "inside_two-b.txt"), next_line=True)
    press(session, "ctrl+z", shortcut("Spell Name", "C-Z", "Spelling File Name: i : n : s : i : "
                                      "d : e :  underscore : t : w : o :  dash : b :  period : "
                                      "t : x : t :"))
    press(session, "ctrl+m", shortcut("Spell Search Term", "C-M", "Spelling Search Term: i : n : "
                                      "s : i : d : e :  space : o : n : e :"))
    # Row 2 lies in the sub folder: its parent is the expanded folder again.
    h.keys(session, "F5")
    h.expect(session, (WAIT, "Search All for " + folder), timeout=20)
    h.expect(session, expanded_search_done(3, "inside one.txt"), timeout=60)
    h.settle(session)
    press(session, "ctrl+l", shortcut("Speak Search Term", "C-L", "inside one"))
    h.screenshot(session, "expand_and_spell")
    exit_by_esc(session)


# The file actions' tree: the newest match is a text file, the next has an
# accented name, so the clipboard must carry more than ASCII.
ACTION_TREE = {
    "notes/Texas Notes.txt": (700, "2024-06-01 09:30"),
    "notes/texas caf\u00e9.txt": (40, "2023-06-01 12:00"),
    "maps/texas_road_map.pdf": (2048, "2022-03-05 10:00"),
}


def read_clipboard(session, *arguments):
    """What another Windows program finds on the clipboard (or, with --program,
    the shell's program for a file type): the reader's lines, as a list."""
    reader = session.bin / "lumafind_clipboard_reader.exe"
    if not reader.is_file():
        raise Failure("the clipboard reader %s was not built" % reader)
    out = session.out / session.name / "clipboard.txt"
    out.unlink(missing_ok=True)
    h.run(session, ["wine", str(reader), h.z_path(out)] + list(arguments), timeout=60)
    return out.read_bytes().decode("utf-8").splitlines()


def wait_for_window(session, pattern, timeout=30):
    """Waits until an X window whose name matches the pattern appears; returns its name."""
    deadline = time.monotonic() + timeout
    while True:
        for window in h.run(session, ["xdotool", "search", "--name", pattern],
                            check=False).split():
            name = h.run(session, ["xdotool", "getwindowname", window], check=False).strip()
            if name:
                return name
        if time.monotonic() > deadline:
            names = [h.run(session, ["xdotool", "getwindowname", w], check=False).strip()
                     for w in h.run(session, ["xdotool", "search", "--name", "."],
                                    check=False).split()]
            raise Failure("no window named /%s/ appeared; windows: %s" % (
                pattern, sorted(set(n for n in names if n))))
        time.sleep(0.3)


def back_to_lumafind(session):
    """Closes the window the shell opened, which has the keyboard; the list
    takes it back and says so."""
    h.settle(session)
    h.keys(session, "alt+F4")
    h.expect(session, (ASYNC, re.compile(r"^Results List has focus\. ")), timeout=20)
    h.settle(session)


def file_actions(session):
    """Ctrl+J names the program the shell will use and that program's window
    appears; Ctrl+K opens the folder; Ctrl+D leaves a file drop that another
    program reads back as exactly the row's path, accents included; Ctrl+Shift+C
    leaves the engine's export as text."""
    h.prepare_folder(session)
    tree = h.make_tree(session.out / session.name / "tree", ACTION_TREE)
    # Windows maps .txt to its text type; Wine 8's fresh prefix has the type
    # (opened by its notepad) but not the mapping.
    h.run(session, ["wine", "reg", "add", "HKCR\\.txt", "/ve", "/d", "txtfile", "/f"], timeout=60)
    h.start_program(session, [tree])
    answer = read_clipboard(session, "--program", ".txt")
    if not answer or not answer[0].startswith("program: "):
        raise Failure("the shell names no program for .txt: %r" % answer)
    program = answer[0][len("program: "):]
    press(session, "ctrl+f", (WAIT, "File Search for texas"))
    h.expect(session, search_done(3, "texas notes.txt"), timeout=60)
    h.settle(session)
    # The import lower-cases the result, paths with it.
    notes = h.z_path(tree / "notes").lower() + "\\"

    press(session, "ctrl+j", shortcut("Open File", "C-J",
                                      "Using %s to Open texas notes.txt" % program))
    opened = wait_for_window(session, "texas notes")
    h.screenshot(session, "file_actions-opened")
    back_to_lumafind(session)
    press(session, "ctrl+k", shortcut("Open Folder", "C-K", "Opening " + notes))
    folder_window = wait_for_window(session, "^notes$")
    h.screenshot(session, "file_actions-folder")
    back_to_lumafind(session)

    h.keys(session, "Down")
    h.expect(session, (ASYNC, "texas caf\u00e9.txt"), timeout=10)
    full = notes + "texas caf\u00e9.txt"
    press(session, "ctrl+d", shortcut("Copy File", "C-D", "Copying File " + full))
    length = len(full.encode("utf-16-le")) // 2
    wanted = ["drop-header: 20 0 0 0 1", "drop-size: %d" % (20 + 2 * (length + 2)),
              "drop: " + full]
    found = read_clipboard(session)
    if found != wanted:
        raise Failure("after Ctrl+D the clipboard holds %r, expected %r" % (found, wanted))
    if not (tree / "notes" / "texas caf\u00e9.txt").is_file():
        raise Failure("the copied file is not in the tree")

    press(session, "ctrl+shift+c", shortcut("Copy Results", "CS-C",
                                            "Search Results Copied to Clipboard"))
    export = (session.folder / "results.txt").read_bytes().decode("utf-8")
    text = export.replace("\r", "\\r").replace("\n", "\\n")
    found = read_clipboard(session)
    if found != ["text: " + text] or "caf\u00e9" not in text:
        raise Failure("after Ctrl+Shift+C the clipboard holds %r, expected the export %r" % (
            found, text))
    h.screenshot(session, "file_actions")
    print("  program for .txt: %s; its window: %r; the folder's: %r" % (program, opened,
                                                                      folder_window))


SCENARIOS = {
    "engine_arguments": engine_arguments,
    "engine_cancel": engine_cancel,
    "engine_choice": engine_choice,
    "file_actions": file_actions,
    "expand_and_spell": expand_and_spell,
    "first_start": first_start,
    "typing": typing,
    "search_walk": search_walk,
    "toggles": toggles,
    "restart": restart,
    "unusable_ini": unusable_ini,
}
# The shortcut lists, the help page and the search box's clipboard commands.
SCENARIOS.update(help_and_clipboard.SCENARIOS)
# The image preview pane, checked in the screenshots' pixels.
SCENARIOS.update(image_preview.SCENARIOS)
# Settings and history held by another program at start, and a minimised start.
SCENARIOS.update(kept_files.SCENARIOS)
# The magnifier and the engine's window.
SCENARIOS.update(outside_programs.SCENARIOS)
# The online update and the starter, against a local web server.
SCENARIOS.update(online_update.SCENARIOS)
# Printing on a PDF printer.
SCENARIOS.update(printing.SCENARIOS)
# A screen reader beside the program, with the voice off.
SCENARIOS.update(screen_reader.SCENARIOS)
# The downloads made by scripts/package: the installer and the zip.
SCENARIOS.update(packages.SCENARIOS)
SCENARIOS.update(engine_index.SCENARIOS)
# What a search may not do: option words, a lost close request, a long program
# folder, a neighbour's name.
SCENARIOS.update(search_safety.SCENARIOS)
# The window at 96, 144 and 192 dots an inch, checked in the screenshots' pixels.
SCENARIOS.update(display_scale.SCENARIOS)
# The row being read: its colours, its whole text and its place, in the pixels.
SCENARIOS.update(reading.SCENARIOS)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", default=str(h.DEFAULT_BIN),
                        help="folder with lumafind.exe and lumafind-es.exe (default %(default)s)")
    parser.add_argument("--out", default=str(h.DEFAULT_OUT),
                        help="screenshots, logs, Wine prefix (default %(default)s)")
    parser.add_argument("names", nargs="+", choices=list(SCENARIOS) + ["all"], metavar="NAME")
    options = parser.parse_args()
    names = list(SCENARIOS) if "all" in options.names else options.names
    codes = [h.run_scenario(name, SCENARIOS[name], options.bin, options.out) for name in names]
    if any(code not in (0, h.SKIP) for code in codes):
        return 1
    return h.SKIP if all(code == h.SKIP for code in codes) else 0


if __name__ == "__main__":
    sys.exit(main())
