"""End-to-end scenarios of the shortcut lists, the help page and the search box's
clipboard commands; scenarios.py runs them by name."""

import os
import re
import shutil
import stat
import time

import harness as h
import reflow
from harness import ASYNC, WAIT, Failure

# A tree with one known answer for "texas".
TREE = {
    "maps/texas_road_map.pdf": (2048, "2024-03-05 10:00"),
    "notes/houston.txt": (40, "2024-06-01 12:00"),
}
PAGE = "lumafind-help.html"


def shortcut(name, key, text):
    """What a shortcut speaks with the default announcement settings."""
    return (ASYNC, "Shortcut Pressed: %s : %s : %s" % (name, key, text))


def press(session, keys, *wanted):
    """Keys with modifiers: the focused control names each modifier as it goes
    down, then the wanted lines follow, in order."""
    modifiers = {"ctrl": "Control", "shift": "Shift"}
    echoes = [(ASYNC, modifiers[k]) for k in keys.split("+")[:-1] if k in modifiers]
    h.keys(session, keys)
    h.expect_in_order(session, echoes + list(wanted))


def start(session, ini=None, env=None, files=None):
    h.prepare_folder(session, ini=ini, files=files)
    page = session.bin / PAGE
    if not page.is_file():
        raise Failure("the build made no %s beside lumafind.exe" % page)
    shutil.copy2(page, session.folder / PAGE)
    tree = h.make_tree(session.out / session.name / "tree", TREE)
    h.start_program(session, [tree], env=env)


def help_lists(session):
    """F1, Down three times and Space turn the system-folder exclusion off and row
    4 says so; F2, row 6 and Enter run a file search that ends help mode."""
    start(session)
    h.keys(session, "F1")
    h.expect_in_order(session, [
        (ASYNC, "Results List has focus. "),
        (ASYNC, "Opening Settings List : Top of List : 1 Hide Toolbar Text - Ctrl+B  - OFF")])
    h.settle(session)
    h.screenshot(session, "help_lists-settings")
    for row in ["2 Icon Size - Ctrl+E  -  96", "3 Enable Speak Letters - Ctrl+N  - Letters",
                "4 Exclude System Folders - Ctrl+Q  - ON"]:
        h.keys(session, "Down")
        h.expect(session, (ASYNC, row), next_line=True)
    h.keys(session, "space")
    h.expect(session, (ASYNC, "Exclude System Folders is OFF"), next_line=True)
    press(session, "ctrl+0", shortcut("Speak Location", "C-0",
                                      "Line 4 of  29 : 4 Exclude System Folders - Ctrl+Q  - OFF"))
    h.settle(session)
    h.screenshot(session, "help_lists-row4")
    # The loading row may be said first, as the selection moves to it.
    h.keys(session, "F2")
    h.expect(session, (ASYNC, "Opening Action Shortcuts : Top of List : "
                              "1 Display Settings Shortcuts - F1"))
    h.settle(session)
    h.screenshot(session, "help_lists-actions")
    # Esc goes back to the result and says which key did it.
    h.keys(session, "Escape")
    h.expect(session, (WAIT, "Returning to Last Search Result"))
    h.expect(session, (ASYNC, re.compile(r"^Shortcut Pressed: Back to Results : Esc : ")))
    h.keys(session, "F2")
    h.expect(session, (ASYNC, "Opening Action Shortcuts : Top of List : "
                              "1 Display Settings Shortcuts - F1"))
    h.settle(session)
    for row in ["2 Online Help - Ctrl+F1", "3 Display Action Shortcuts - F2",
                "4 Open Everthing - F3", "5 Copy File - Ctrl+D", "6 File Search - Ctrl+F"]:
        h.keys(session, "Down")
        h.expect(session, (ASYNC, row), next_line=True)
    h.keys(session, "Return")
    h.expect(session, (WAIT, "File Search for texas"))
    h.expect(session, (ASYNC, "Search is complete : 1 Match : texas_road_map.pdf"), timeout=60)
    h.settle(session)
    h.screenshot(session, "help_lists")
    h.keys(session, "Escape")  # no longer in help mode: Esc ends the program
    h.expect(session, (WAIT, "Exiting Lumafind"))
    h.wait_for_exit(session)
    ini = (session.folder / "lumafind.ini").read_bytes().decode("utf-8")
    if "ExcludeSystemFolders= 0\r\n" not in ini:
        raise Failure("the INI does not keep the exclusion off")


def searchbox_clipboard(session):
    """Ctrl+A and Ctrl+C copy the term, Ctrl+X cuts a selected word and Ctrl+V
    pastes it back elsewhere; Ctrl+C in the list copies the row's folder, which
    Ctrl+V puts in the box: the box's text after each step is what Ctrl+L says."""
    previous = 'Size,Date Modified,Filename\r\n5,01/02/2020 03:04,"C:\\Old Maps\\texas.txt"\r\n'
    start(session, ini=["SearchTerm=el paso", "EnableSpeakLetters= 0"],
          files={"results.txt": previous})
    # With letters unspoken the box names no modifier keys.
    quiet = lambda keys, *wanted: (h.keys(session, keys), h.expect_in_order(session, wanted))
    quiet("ctrl+a", shortcut("Select All", "C-A", "Select All"))
    quiet("ctrl+c", (ASYNC, "Shortcut Pressed: Copy Search Term : C-C : "
                            "Selection from Search String  Was Copied"),
          (ASYNC, "Selection Copied"))
    h.keys(session, "End")
    h.expect(session, (ASYNC, "End Key : End of Search Term : "))
    # Select "paso" with Shift+Left, then cut it.
    h.keys(session, *["shift+Left"] * 4)
    h.settle(session)
    h.keys(session, "ctrl+x")
    h.expect(session, shortcut("Cut", "C-X", "Selection Cut"))
    quiet("ctrl+l", shortcut("Speak Search Term", "C-L", "el "))
    h.keys(session, "Home")
    h.expect(session, (ASYNC, "Home Key : Start of Search Term : "))
    quiet("ctrl+v", shortcut("Paste", "C-V", "Clipboard Pasted"))
    quiet("ctrl+l", shortcut("Speak Search Term", "C-L", "pasoel "))
    h.keys(session, "shift+Tab")
    h.expect(session, (ASYNC, re.compile(r"^Results List has focus\. ")))
    press(session, "ctrl+x", shortcut("Cut", "C-X", "Cut Option not Available"))
    press(session, "ctrl+c", shortcut("Copy Search Term", "C-C", "Path Copied"),
          (ASYNC, "Selection Copied"))
    # Back in the box, the folder pasted over the whole term shows what the clipboard held.
    h.keys(session, "Tab")
    h.expect(session, (ASYNC, "SearchBox has focus. Search term is pasoel "))
    quiet("ctrl+a", shortcut("Select All", "C-A", "Select All"))
    quiet("ctrl+v", shortcut("Paste", "C-V", "Clipboard Pasted"))
    quiet("ctrl+l", shortcut("Speak Search Term", "C-L", "c:\\old maps\\"))
    h.screenshot(session, "searchbox_clipboard")


BROWSER_STUB = """#!/bin/sh
# Stands in for the desktop's browser: notes what it was asked to open.
printf '%s\\n' "$@" >> "{record}"
"""


def help_page(session):
    """Ctrl+F1 says it opens the web site and hands the page beside the program to
    the shell, which (under Wine) passes it to the desktop's browser."""
    stub = session.out / session.name / "browser"
    record = session.out / session.name / "browser-asked.txt"
    if stub.exists():
        shutil.rmtree(stub)
    stub.mkdir(parents=True)
    record.unlink(missing_ok=True)
    for name in ["xdg-open", "firefox"]:
        path = stub / name
        path.write_text(BROWSER_STUB.format(record=record))
        path.chmod(path.stat().st_mode | stat.S_IXUSR)
    h.prepare_folder(session)
    # Every Windows has a program for web pages; this Wine prefix is made without
    # one, so the page type is given Wine's browser launcher, as Wine itself does.
    h.run(session, ["wine", "reg", "add", r"HKCR\.html", "/ve", "/d",
                    "htmlfile", "/f"])
    start(session, env={"PATH": "%s:%s" % (stub, os.environ.get("PATH", "")),
                        "WINEDEBUG": "+exec"})
    press(session, "ctrl+F1", (ASYNC, "Opening Lumafind Web Site"))
    deadline = time.monotonic() + 30
    while not record.exists():
        if time.monotonic() > deadline:
            raise Failure("no browser was asked to open anything within 30 s")
        time.sleep(0.2)
    time.sleep(0.5)
    asked = record.read_text(encoding="utf-8", errors="replace").split("\n")[0]
    page = (session.folder / PAGE).resolve()
    if not asked.endswith(PAGE) or str(page) not in asked.replace("file://", ""):
        raise Failure("the browser was asked to open %r, expected %s" % (asked, page))
    print("The browser was asked to open %s" % asked)
    # Wine's shell trace shows the request itself: the open verb and the full path.
    request = 'verb=L"Open" file=L"%s"' % h.z_path(page).replace("\\", "\\\\")
    if request not in (session.out / session.name / "wine.log").read_text(errors="replace"):
        raise Failure("the shell trace holds no request %s" % request)
    h.screenshot(session, "help_page")
    # The page shipped beside the program, in a real browser: whole at every width.
    try:
        figures = reflow.measure(page, session.out / session.name)
    except FileNotFoundError:
        print("The page's reflow is not measured here: no chromium")
        return
    reflow.report(figures)
    found = reflow.failures(figures)
    if found:
        raise Failure("the help page does not reflow: " + "; ".join(found))


SCENARIOS = {
    "help_lists": help_lists,
    "searchbox_clipboard": searchbox_clipboard,
    "help_page": help_page,
}
