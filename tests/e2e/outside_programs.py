"""End-to-end scenario of the outside programs the user starts: the magnifier
after Ctrl+F1 and the engine's own window on F3; scenarios.py runs it by name.
A stand-in records the command line each was started with."""

import shutil
import time

import harness as h
from harness import ASYNC, Failure
from help_and_clipboard import press, shortcut

STUB = "lumafind_program_stub.exe"
SIMPLE_HOVER_SPEAK = "96 0 0 0 0 0 0 0 0 0 2 0 0 0 0 0 1 0 0".split()
FULL_HOVER_SPEAK = "96 1 0 1 1 0 0 0 0 0 2 0 0 0 0 0 1 0 0".split()


def started_with(record, timeout=30):
    """The stand-in's record once it has run: its command line, then its
    arguments as Windows splits them. The record is taken away."""
    deadline = time.monotonic() + timeout
    # The stand-in makes the file, then writes it whole in one go.
    while not record.exists() or record.stat().st_size == 0:
        if time.monotonic() > deadline:
            raise Failure("%s was not started within %d s" % (record.name[:-len(".ran.txt")],
                                                              timeout))
        time.sleep(0.2)
    lines = record.read_bytes().decode("utf-8").split("\r\n")[:-1]
    record.unlink()
    return lines[0], lines[1:]


def check_magnifier(session, wanted):
    line, args = started_with(session.folder / "lupa.exe.ran.txt")
    print("The magnifier was started with: %s" % line)
    h.give_keyboard_focus(session)  # the started program may have taken it
    if args[1:] != wanted:
        raise Failure("the magnifier got %s, expected %s" % (args[1:], wanted))
    if args[0] != h.z_path(session.folder / "lupa.exe"):
        raise Failure("the magnifier was named %r, not by its full path" % args[0])


def outside_programs(session):
    """Ctrl+F1 starts lupa.exe by its full path from a program folder with a
    blank in its name, with its nineteen numbers in the simple form, and after
    Ctrl+Shift+B in the full form; F3 says "Everything Not Found" with no engine
    installed, and with one in the 64-bit place starts it without arguments."""
    stub = session.bin / STUB
    if not stub.is_file():
        raise Failure("the stand-in %s was not built" % stub)
    engine_folder = session.prefix / "drive_c" / "Program Files" / "Everything"
    shutil.rmtree(engine_folder, ignore_errors=True)  # left by an interrupted run
    # A blank in the folder's name must not split the magnifier's name.
    h.prepare_folder(session, ini=["ExternalTool= 1", "UseHover= 2"],
                     folder=session.out / session.name / "Lumafind Program")
    shutil.copy2(stub, session.folder / "lupa.exe")
    # No help page beside the program: the browser stays out of it, and the
    # tool starts all the same.
    h.start_program(session, [session.folder])
    try:
        press(session, "ctrl+F1", (ASYNC, "Opening Lumafind Web Site"),
              (ASYNC, "Help Page Not Found"))
        check_magnifier(session, SIMPLE_HOVER_SPEAK)
        press(session, "ctrl+shift+b",
              shortcut("External Tool", "CS-B", "External Tool is Lupa"))
        press(session, "ctrl+F1", (ASYNC, "Opening Lumafind Web Site"))
        check_magnifier(session, FULL_HOVER_SPEAK)

        h.keys(session, "F3")
        h.expect(session, shortcut("Open Everything", "F3", "Everything Not Found"))
        engine_folder.mkdir(parents=True)
        shutil.copy2(stub, engine_folder / "everything.exe")
        h.keys(session, "F3")
        h.expect(session, shortcut("Open Everything", "F3", "Opening Everything"))
        line, args = started_with(engine_folder / "everything.exe.ran.txt")
        print("The engine's window was started with: %s" % line)
        h.give_keyboard_focus(session)
        if [a.lower() for a in args] != ["c:\\program files\\everything\\everything.exe"]:
            raise Failure("the engine's window got %s, expected its path alone" % args)
        h.settle(session)
        h.screenshot(session, "outside_programs")
    finally:
        shutil.rmtree(engine_folder, ignore_errors=True)


SCENARIOS = {
    "outside_programs": outside_programs,
}
