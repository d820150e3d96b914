"""End-to-end scenarios of the files the user keeps when another program holds
them while Lumafind starts, and of a start saved as minimised; scenarios.py runs
them by name. The holder stands in for backup, antivirus and sync tools: it
opens the files without sharing, so no other program can read them."""

import re
import subprocess
import time

import harness as h
from harness import ASYNC, WAIT, Failure

WELCOME = "Welcome to Lumafind, version 4.43!"
TREE = {
    "maps/texas_road_map.pdf": (2048, "2024-03-05 10:00"),
    "notes/houston.txt": (40, "2024-06-01 12:00"),
    "reports/report_2024.txt": (5000, "2024-02-01 16:00"),
}
SAVED = ["SearchTerm=report", "FontSize= 48", "FG= 0", "BG= 16777215", "SearchTermNumber= 1"]
HISTORY = "one++++two++++three++++four++++five"
UNREAD = (" Settings Could Not Be Read : They Will Not Be Saved."
          " Search History Could Not Be Read : It Will Not Be Saved. ")


def prepare(session, ini):
    h.prepare_folder(session, ini=ini, files={"searchterms.txt": HISTORY})
    return h.make_tree(session.out / session.name / "tree", TREE)


def hold(session, until, names):
    """Starts the holder on the program folder's files; returns once it holds them."""
    tool = session.bin / "lumafind_file_holder.exe"
    if not tool.is_file():
        raise Failure("the file holder %s was not built" % tool)
    status = session.out / session.name / "holder.txt"
    status.unlink(missing_ok=True)
    holder = subprocess.Popen(
        ["wine", str(tool), h.z_path(status), until] + [h.z_path(session.folder / n) for n in names],
        env=session.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        start_new_session=True)
    wait_for_status(status, "held", holder)
    return holder, status


def wait_for_status(status, wanted, holder, timeout=60):
    deadline = time.monotonic() + timeout
    while not (status.exists() and status.read_text().strip() == wanted):
        if holder.poll() is not None and not status.exists():
            raise Failure("the file holder ended (%d) without holding" % holder.returncode)
        if time.monotonic() > deadline:
            raise Failure("the file holder did not say %r within %d s" % (wanted, timeout))
        time.sleep(0.05)


def exit_by_esc(session):
    h.settle(session)
    h.keys(session, "Escape")
    h.expect(session, (WAIT, "Exiting Lumafind"), next_line=True)
    h.wait_for_exit(session)


def held_files(session):
    """Settings and history held for longer than the program waits: the user hears
    so with the welcome, and after the holder lets go, a search and the exit
    leave both files byte for byte."""
    tree = prepare(session, SAVED)
    ini = (session.folder / "lumafind.ini").read_bytes()
    history = (session.folder / "searchterms.txt").read_bytes()
    let_go = session.out / session.name / "let-go"
    let_go.unlink(missing_ok=True)
    holder, status = hold(session, h.z_path(let_go), ["lumafind.ini", "searchterms.txt"])
    try:
        heard = h.start_program(session, [tree])
        wanted = WELCOME + UNREAD + "SearchBox has focus. Search term is texas"
        if heard != wanted:
            raise Failure("the start said %r, expected %r" % (heard, wanted))
        let_go.touch()
        wait_for_status(status, "released", holder)
        h.settle(session)
        h.keys(session, "ctrl+f")
        h.expect(session, (WAIT, "File Search for texas"), timeout=30)
        h.expect(session, (ASYNC, re.compile(r"Search is complete : 1 Match : texas_road_map\.pdf$")),
                 timeout=60)
        h.screenshot(session, "held_files")
        exit_by_esc(session)
    finally:
        h.stop_process(holder)
    if (session.folder / "lumafind.ini").read_bytes() != ini:
        raise Failure("the held INI file was written over: %r" %
                      (session.folder / "lumafind.ini").read_bytes()[:200])
    if (session.folder / "searchterms.txt").read_bytes() != history:
        raise Failure("the held history was written over: %r" %
                      (session.folder / "searchterms.txt").read_bytes())


def held_briefly(session):
    """A holder that lets go soon after the program has made its window (just
    before it reads its settings): the program waits and reads both files."""
    tree = prepare(session, SAVED)
    holder, status = hold(session, "window:400", ["lumafind.ini", "searchterms.txt"])
    try:
        heard = h.start_program(session, [tree])
        wait_for_status(status, "released", holder)
    finally:
        h.stop_process(holder)
    wanted = WELCOME + "SearchBox has focus. Search term is report"
    if heard != wanted:
        raise Failure("the start said %r, expected %r" % (heard, wanted))
    h.keys(session, "Down")  # the next older entry of the history read
    h.expect(session, (ASYNC, re.compile(r"Search Term is : two$")), timeout=20)
    exit_by_esc(session)
    text = (session.folder / "lumafind.ini").read_bytes().decode("utf-8")
    for line in ["FontSize= 48", "FG= 0", "BG= 16777215"]:
        if "\r\n" + line + "\r\n" not in text:
            raise Failure("the INI lost %r: %r" % (line, text[:300]))


def window_state(session):
    info = h.run(session, ["xwininfo", "-id", h.main_window(session)])
    fields = dict((k.strip(), v.strip()) for k, v in
                  (line.split(":", 1) for line in info.splitlines() if ":" in line))
    return fields.get("Map State"), int(fields["Width"]), int(fields["Height"])


def minimized_start(session):
    """Saved minimised and maximised: the window comes up maximised, not as an
    icon, says the welcome and takes typing at once; the INI keeps Maximized."""
    tree = prepare(session, ["Minimized= 1", "Maximized= 1"])
    heard = h.start_program(session, [tree])
    if heard != WELCOME + "SearchBox has focus. Search term is texas":
        raise Failure("the start said %r" % heard)
    state, width, height = window_state(session)
    screen_width, screen_height = (int(n) for n in session.screen.split("x"))
    if state != "IsViewable" or width < screen_width - 40 or height < screen_height - 120:
        raise Failure("the window is %s at %dx%d, not maximised on %s" % (state, width, height,
                                                                         session.screen))
    h.type_text(session, "el")
    h.expect_in_order(session, [(ASYNC, "E"), (ASYNC, "L")])
    h.screenshot(session, "minimized_start")
    exit_by_esc(session)
    text = (session.folder / "lumafind.ini").read_bytes().decode("utf-8")
    for line in ["Minimized= 0", "Maximized= 1"]:
        if "\r\n" + line + "\r\n" not in text:
            raise Failure("the INI does not hold %r: %r" % (line, text[:300]))


SCENARIOS = {
    "held_files": held_files,
    "held_briefly": held_briefly,
    "minimized_start": minimized_start,
}
