"""Runs the real lumafind.exe under Wine in a private Xvfb display and listens to it.

The program's voice is silent under Wine, so we hear it through the speech log
that it appends to when LUMAFIND_SPEECH_LOG names a file: one line per call to
the voice, the flags, a tab, the exact text. Keys go in with xdotool, pictures
come out with ImageMagick's import. Standard library only.
"""

import fcntl
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass, field
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
DEFAULT_BIN = REPO / "build" / "windows" / "bin"
DEFAULT_OUT = REPO / "build" / "e2e"
SCREEN = "1280x800"
TOOLS = ["wine", "wineserver", "wineboot", "Xvfb", "xdotool", "xwininfo", "import"]
PROGRAMS = ["lumafind.exe", "lumafind-es.exe"]

# Flags of the two kinds of speech: spoken while the program goes on, and
# spoken to its end before the program goes on.
ASYNC = 3
WAIT = 2


class Failure(Exception):
    """A scenario heard or saw something other than it expected."""


class Skipped(Exception):
    """A scenario cannot run here for a reason outside the program (say why)."""


@dataclass
class Session:
    name: str
    out: Path  # screenshots, logs and program folders of all scenarios
    bin: Path  # where lumafind.exe and the stand-in engine were built
    prefix: Path
    display: str = ""
    xvfb: subprocess.Popen = None
    wine: subprocess.Popen = None
    folder: Path = None  # the program folder: exe files, INI, results.txt
    log: Path = None
    heard: int = 0  # lines of the speech log already matched
    env: dict = field(default_factory=dict)
    screenshots: list = field(default_factory=list)
    lock: object = None  # held while the session uses the prefix
    screen: str = SCREEN  # the display's size; set before start_display


def missing_requirements(bin_dir):
    missing = [tool for tool in TOOLS if shutil.which(tool) is None]
    missing += [str(bin_dir / p) for p in PROGRAMS if not (bin_dir / p).is_file()]
    return missing


def z_path(path):
    """The Windows name Wine gives a Linux path (Z: is the root folder)."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def new_session(name, bin_dir=DEFAULT_BIN, out=DEFAULT_OUT, prefix=None):
    out = Path(out).resolve()
    out.mkdir(parents=True, exist_ok=True)
    prefix = out / prefix if prefix else out / "wineprefix"  # a name under `out`, or a path
    return Session(name=name, out=out, bin=Path(bin_dir).resolve(), prefix=prefix)


# ---- Display and Wine ---------------------------------------------------------


def start_display(session, first=90, last=140):
    """Starts Xvfb on the first free display number from `first` upward."""
    for number in range(first, last):
        if Path(f"/tmp/.X{number}-lock").exists() or Path(f"/tmp/.X11-unix/X{number}").exists():
            continue
        xvfb = subprocess.Popen(
            ["Xvfb", f":{number}", "-screen", "0", session.screen + "x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline and xvfb.poll() is None:
            if Path(f"/tmp/.X11-unix/X{number}").exists():
                session.xvfb, session.display = xvfb, f":{number}"
                display_pid_file(session).write_text(str(xvfb.pid))
                session.env = wine_env(session)
                return
            time.sleep(0.05)
        stop_process(xvfb)  # lost a race for this number to someone else
    raise Failure("no free X display between :%d and :%d" % (first, last - 1))


def wine_env(session):
    env = dict(os.environ)
    for name in [n for n in env if n.startswith("LUMAFIND_")]:
        del env[name]
    env.update(DISPLAY=session.display, WINEPREFIX=str(session.prefix), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=")
    return env


def begin(session):
    """Takes the prefix for this session alone (other runs wait: ending Wine ends
    every program of the prefix), then starts the display and Wine's prefix."""
    session.prefix.parent.mkdir(parents=True, exist_ok=True)
    session.lock = open(str(session.prefix) + ".lock", "w")
    fcntl.flock(session.lock, fcntl.LOCK_EX)
    stop_stale_display(session)
    start_display(session)
    ensure_prefix(session)
    stop_wine(session)  # nothing left over from an earlier, interrupted run


def ensure_prefix(session):
    """Creates the private Wine prefix once; later sessions reuse it."""
    ready = session.prefix / ".lumafind-ready"
    if ready.exists():
        return
    if session.prefix.exists():
        shutil.rmtree(session.prefix)  # left half made by an interrupted run
    print("Creating the Wine prefix %s (once, about half a minute)" % session.prefix)
    run(session, ["wineboot", "-i"], timeout=300)
    run(session, ["wineserver", "-w"], timeout=120)
    ready.touch()


def display_pid_file(session):
    return Path(str(session.prefix) + ".xvfb")


def stop_stale_display(session):
    """Ends the Xvfb that a killed run of ours left behind (its id was noted)."""
    pid_file = display_pid_file(session)
    try:
        pid = int(pid_file.read_text())
        if b"Xvfb" in Path("/proc/%d/cmdline" % pid).read_bytes():
            os.kill(pid, signal.SIGTERM)
    except (OSError, ValueError):
        pass
    pid_file.unlink(missing_ok=True)


def run(session, command, timeout=30, check=True):
    result = subprocess.run(command, env=session.env, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, text=True, timeout=timeout)
    if check and result.returncode != 0:
        raise Failure("%s failed (%d): %s" % (" ".join(command), result.returncode,
                                              result.stdout.strip()))
    return result.stdout


def stop_process(process, grace=3):
    if process is None or process.poll() is not None:
        return
    try:
        os.killpg(process.pid, signal.SIGTERM)  # the group we started for it
    except ProcessLookupError:
        return
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()


def stop_wine(session):
    if session.env:
        subprocess.run(["wineserver", "-k"], env=session.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)
    stop_process(session.wine)
    session.wine = None


def teardown(session):
    """Ends everything the session started, also after a failure."""
    try:
        stop_wine(session)
    finally:
        if session.xvfb is not None:
            stop_process(session.xvfb)
            display_pid_file(session).unlink(missing_ok=True)
            session.xvfb = None
        if session.lock is not None:
            session.lock.close()
            session.lock = None


# ---- The program ----------------------------------------------------------------


def prepare_folder(session, ini=None, files=None, folder=None):
    """A fresh program folder holding the programs and, when given, an INI file."""
    session.folder = Path(folder) if folder else session.out / session.name / "program"
    if session.folder.exists():
        shutil.rmtree(session.folder)
    session.folder.mkdir(parents=True)
    for program in PROGRAMS:
        shutil.copy2(session.bin / program, session.folder / program)
    if ini is not None:
        write_ini(session, ini)
    for name, text in (files or {}).items():
        (session.folder / name).write_bytes(text.encode("utf-8"))
    session.log = session.out / session.name / "speech.log"
    session.log.unlink(missing_ok=True)
    session.heard = 0


def write_ini(session, lines):
    text = "[All]\r\n" + "".join(line + "\r\n" for line in lines)
    (session.folder / "lumafind.ini").write_bytes(text.encode("utf-8"))


def es_roots(roots):
    """The folders for the engine as its environment variable wants them: Linux
    paths become Wine paths, Wine paths stay."""
    if isinstance(roots, str):
        roots = [r.strip() for r in roots.split(";") if r.strip()]
    return ";".join(str(r).strip() if re.match(r"^\s*[A-Za-z]:", str(r)) else z_path(r)
                    for r in roots)


def visible_folders(path, leave_out=()):
    """The folders in `path` that are not hidden. Hidden ones are left out on
    purpose: a Wine prefix (~/.wine) links back to the root folder, and a search
    under Wine would then walk the whole disk."""
    return [str(p) for p in sorted(Path(path).iterdir())
            if p.is_dir() and not p.name.startswith(".") and p.name not in leave_out]


def start_program(session, roots, ready_timeout=90, env=None, program=None, explorer=True):
    """Starts lumafind.exe in a Wine virtual desktop and waits until it is ready:
    the search box has the focus and has said so. Returns that speech. `env`
    adds variables for the program and what it starts; `program` names it by a
    Windows path of its own instead of the one in the session's folder. Without
    `explorer` Wine starts it directly (explorer cannot start a program whose
    path passes 260 characters), and the prefix must name the virtual desktop
    (use_desktop)."""
    env = dict(session.env, LUMAFIND_SPEECH_LOG=z_path(session.log),
               LUMAFIND_ES_ROOTS=es_roots(roots), **(env or {}))
    wine_log = open(session.out / session.name / "wine.log", "a")
    launcher = ["wine", "explorer", "/desktop=lumafind," + session.screen] if explorer else ["wine"]
    session.wine = subprocess.Popen(
        launcher + [program or z_path(session.folder / "lumafind.exe")],
        cwd=session.folder, env=env, stdout=wine_log, stderr=subprocess.STDOUT,
        start_new_session=True)
    wine_log.close()
    heard = expect(session, re.compile(r"SearchBox has focus\. Search term is "),
                   timeout=ready_timeout)
    give_keyboard_focus(session)
    return heard


def use_desktop(session):
    """Every program of the prefix opens in the virtual desktop "lumafind"."""
    explorer = "HKCU\\Software\\Wine\\Explorer"
    run(session, ["wine", "reg", "add", explorer, "/v", "Desktop", "/d", "lumafind", "/f"],
        timeout=60)
    run(session, ["wine", "reg", "add", explorer + "\\Desktops", "/v", "lumafind", "/d",
                  session.screen, "/f"], timeout=60)


def processes_running(name):
    """Ids of the Linux processes whose command line names the Windows program
    `name` (Wine shows a program's Windows path there)."""
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            line = (entry / "cmdline").read_bytes().replace(b"\0", b" ").decode("utf-8", "replace")
        except OSError:
            continue
        if re.search(r"(^|[\\/ ])" + re.escape(name) + r"( |$)", line, re.IGNORECASE):
            found.append(int(entry.name))
    return found


def main_window(session):
    """The X window of the main window (its caption starts with the program's name)."""
    ids = run(session, ["xdotool", "search", "--name", "^Lumafind "], check=False).split()
    return ids[-1] if ids else None


def give_keyboard_focus(session):
    window = main_window(session)
    if window is None:
        raise Failure("the main window has no X window with a 'Lumafind ...' caption")
    focused = run(session, ["xdotool", "getwindowfocus"], check=False).strip()
    if focused != window:
        run(session, ["xdotool", "windowfocus", "--sync", window], check=False)


def caption(session):
    window = main_window(session)
    if window is None:
        return ""
    return run(session, ["xdotool", "getwindowname", window], check=False).rstrip("\n")


def session_processes(session, name):
    """Ids of the Linux processes running the Windows program `name` in this
    session's prefix."""
    found = []
    for pid in processes_running(name):
        try:
            environ = Path("/proc/%d/environ" % pid).read_bytes().split(b"\0")
        except OSError:
            continue
        if ("WINEPREFIX=%s" % session.prefix).encode() in environ:
            found.append(pid)
    return found


def end_index(session):
    """Ends the stand-in's index the program started: it outlives the program
    by design, and the session's end waits for every Wine process."""
    for pid in session_processes(session, "lumafind-index.exe"):
        try:
            os.kill(pid, signal.SIGKILL)
        except OSError:
            pass


def wait_for_exit(session, timeout=30):
    """Waits until every Wine process of the session has ended (the index is
    ended first)."""
    end_index(session)
    try:
        subprocess.run(["wineserver", "-w"], env=session.env, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Failure("the program was still running %d s after it was told to end" % timeout)
    stop_process(session.wine)
    session.wine = None


# ---- Keys, speech and pictures ---------------------------------------------------


def keys(session, *names):
    """Presses keys by xdotool's names (ctrl+f, Down, Escape) one after another."""
    run(session, ["xdotool", "key", "--delay", "150"] + list(names))


def type_text(session, text):
    run(session, ["xdotool", "type", "--delay", "120", "--", text])


def speech(session):
    """Every complete line of the speech log so far, as (flags, text)."""
    try:
        data = session.log.read_bytes().decode("utf-8", errors="replace")
    except FileNotFoundError:
        return []
    lines = data.split("\n")[:-1]  # the last piece is unfinished or empty
    heard = []
    for line in lines:
        flags, _, text = line.rstrip("\r").partition("\t")
        heard.append((int(flags) if flags.strip().isdigit() else -1, text))
    return heard


def matches(wanted, flags, text):
    wanted_flags, pattern = wanted if isinstance(wanted, tuple) else (None, wanted)
    if wanted_flags is not None and flags != wanted_flags:
        return False
    if isinstance(pattern, re.Pattern):
        return pattern.search(text) is not None
    return text == pattern


def describe(wanted):
    flags, pattern = wanted if isinstance(wanted, tuple) else (None, wanted)
    shown = "/%s/" % pattern.pattern if isinstance(pattern, re.Pattern) else repr(pattern)
    return shown if flags is None else "%s with flags %d" % (shown, flags)


def expect(session, wanted, timeout=20, next_line=False):
    """Waits for a line not heard before that matches `wanted`: an exact text, a
    compiled pattern, or (flags, either). With next_line the very next line must
    match. Returns the text and moves past it."""
    deadline = time.monotonic() + timeout
    while True:
        heard = speech(session)
        for index in range(session.heard, len(heard)):
            flags, text = heard[index]
            if matches(wanted, flags, text):
                session.heard = index + 1
                return text
            if next_line:
                raise Failure("expected next %s, heard %r" % (describe(wanted), text))
        if time.monotonic() > deadline:
            raise Failure("did not hear %s within %d s; heard since: %s" % (
                describe(wanted), timeout, heard[session.heard:] or "nothing"))
        time.sleep(0.1)


def expect_in_order(session, wanted_lines, timeout=20):
    """Each wanted line must be the next line spoken, in this order."""
    return [expect(session, wanted, timeout=timeout, next_line=True) for wanted in wanted_lines]


def settle(session, quiet=0.6, timeout=10):
    """Waits until the speech log has been quiet for `quiet` seconds."""
    deadline = time.monotonic() + timeout
    size, since = -1, time.monotonic()
    while time.monotonic() < deadline:
        now = session.log.stat().st_size if session.log.exists() else 0
        if now != size:
            size, since = now, time.monotonic()
        elif time.monotonic() - since >= quiet:
            return
        time.sleep(0.05)


def screenshot(session, name):
    path = session.out / (name + ".png")
    run(session, ["import", "-window", "root", str(path)])
    session.screenshots.append(path)
    return path


def colours(picture, x, y, width=1, height=1):
    """The colours in a box of a screenshot, as "#RRGGBB" texts."""
    histogram = subprocess.run(
        ["convert", str(picture), "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage",
         "-format", "%c", "histogram:info:-"], stdout=subprocess.PIPE, text=True,
        timeout=30).stdout
    return set(re.findall(r"#[0-9A-F]{6}\b", histogram.upper()))


def dark_runs(picture, x, y, width, height, limit=100):
    """The bands of rows in a box of a screenshot that hold dark pixels (blue below
    `limit`: black text, never the blue of the schemes), top to bottom, as
    (first row, number of rows)."""
    raw = subprocess.run(
        ["convert", str(picture), "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage",
         "-channel", "B", "-separate", "-depth", "8", "gray:-"], stdout=subprocess.PIPE,
        timeout=30).stdout
    rows = [any(b < limit for b in raw[r * width:(r + 1) * width]) for r in range(height)]
    runs, start = [], None
    for row, dark in enumerate(rows + [False]):
        if dark and start is None:
            start = row
        elif not dark and start is not None:
            runs.append((y + start, row - start))
            start = None
    return runs


def print_speech(session, stream=sys.stdout):
    for flags, text in speech(session):
        print("  %s%s" % ("[waits] " if flags == WAIT else "", text), file=stream)


# ---- Trees to search ----------------------------------------------------------------


def make_tree(root, files):
    """Makes a fresh folder tree: {relative path: (size in bytes, "YYYY-MM-DD HH:MM")};
    a path ending in "/" is a folder."""
    root = Path(root)
    if root.exists():
        shutil.rmtree(root)
    root.mkdir(parents=True)
    for relative, (size, _) in files.items():
        path = root / relative
        if relative.endswith("/"):
            path.mkdir(parents=True, exist_ok=True)
        else:
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(b"x" * size)
    for relative, (_, stamp) in files.items():  # after all are made: making one touches its folder
        moment = time.mktime(time.strptime(stamp, "%Y-%m-%d %H:%M"))
        os.utime(root / relative, (moment, moment))
    return root


# ---- Running a scenario -------------------------------------------------------------

def check_program_at_end(session):
    """Whatever a scenario opened and closed meanwhile (under Wine the desktop
    can go when other programs' windows close, taking Lumafind's with it), the
    program must still answer a key at its end; or, when the scenario ended it
    (wait_for_exit), it must have ended cleanly: saying goodbye, not crashing."""
    if session.log is None or not session.log.exists():
        return  # the scenario never started the program
    if session.wine is None:
        heard = [text for _, text in speech(session) if text]
        if not heard or heard[-1] != "Exiting Lumafind":
            raise Failure("the program ended without its goodbye; last heard %r" % heard[-1:])
        wine_log = session.out / session.name / "wine.log"
        if wine_log.exists() and "Unhandled" in wine_log.read_text(errors="replace"):
            raise Failure("the program crashed: see %s" % wine_log)
        return
    window = main_window(session)
    if window is None:
        raise Failure("at the scenario's end Lumafind's window is gone")
    give_keyboard_focus(session)
    # A program it opened (Notepad, a folder window) may hold Wine's focus: a
    # click on the status bar brings Lumafind back to the front.
    shape = dict(line.split("=", 1) for line in run(
        session, ["xdotool", "getwindowgeometry", "--shell", window]).split())
    x = int(shape["X"]) + int(shape["WIDTH"]) // 2
    y = int(shape["Y"]) + int(shape["HEIGHT"]) - 8
    run(session, ["xdotool", "windowraise", window, "mousemove", str(x), str(y), "click", "1"])
    settle(session)
    session.heard = len(speech(session))
    keys(session, "ctrl+0")  # Speak Location answers wherever the focus is
    expect(session, re.compile("."), timeout=15)


SKIP = 77  # what ctest is told means "skipped"


def end_on_terminate():
    """Turns SIGTERM into an ordinary exit, so that teardowns run."""
    signal.signal(signal.SIGTERM, lambda number, frame: sys.exit(128 + number))


def run_scenario(name, body, bin_dir=DEFAULT_BIN, out=DEFAULT_OUT):
    """Runs one scenario from display to teardown; returns the process exit code.
    A scenario that changes its Wine prefix names a prefix of its own in its
    `prefix` attribute, so the others never see the change."""
    session = new_session(name, bin_dir, out, prefix=getattr(body, "prefix", None))
    missing = missing_requirements(session.bin)
    if missing:
        print("SKIPPED %s: missing %s" % (name, ", ".join(missing)))
        return SKIP
    started = time.monotonic()
    end_on_terminate()
    try:
        begin(session)
        # Only this run's crashes count: the log is appended to across starts.
        (session.out / name / "wine.log").unlink(missing_ok=True)
        body(session)
        check_program_at_end(session)
        shot = session.out / (name + ".png")
        if shot not in session.screenshots:
            screenshot(session, name)
        print("PASSED %s in %.1f s" % (name, time.monotonic() - started))
        return 0
    except Skipped as reason:
        print("SKIPPED %s: %s" % (name, reason))
        return SKIP
    except (Failure, subprocess.TimeoutExpired, OSError) as error:
        print("FAILED %s after %.1f s: %s" % (name, time.monotonic() - started, error))
        try:
            if session.xvfb is not None:
                print("  screen at failure: %s" % screenshot(session, name + "-failure"))
        except (Failure, subprocess.TimeoutExpired, OSError):
            pass
        return 1
    finally:
        if session.log is not None and session.log.exists():
            print("Speech log %s:" % session.log)
            print_speech(session)
        for path in session.screenshots:
            print("Screenshot: %s" % path)
        teardown(session)
