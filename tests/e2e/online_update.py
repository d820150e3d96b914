"""End-to-end scenario of the online update: a local web server serves signed
releases made by scripts/release with a key made for the test; scenarios.py
runs it by name."""

import hashlib
import http.server
import re
import shutil
import socket
import subprocess
import sys
import threading
import time
from pathlib import Path

import harness as h
from harness import ASYNC, WAIT, Failure



def said(flags, text):
    """A line ending with the text: the shortcut's announcement rides in front of
    the first words that may take it."""
    return (flags, re.compile(re.escape(text) + "$"))


UPDATING = said(WAIT, "Updating Lumafind")
FAILED = said(ASYNC, "Lumafind Update Failed")
NOT_GENUINE = said(ASYNC, "Lumafind Update Failed : Not A Genuine Release")
UP_TO_DATE = said(ASYNC, "Lumafind is up to date")
DONE = said(WAIT, "Update successful. Restarting Lumafind.")
KEY_FILE = "lumafind-release-key.der"
# The starter brings the program up again: it greets with its own version.
WELCOME_NEW = (ASYNC, re.compile(r"^Welcome to Lumafind, version 9\.0!SearchBox has focus"))


def openssl(*args):
    subprocess.run(["openssl", *args], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.PIPE, timeout=30)


def make_key(folder, name):
    """A fresh P-256 key pair; returns the private key's path."""
    private = folder / (name + ".pem")
    openssl("ecparam", "-name", "prime256v1", "-genkey", "-noout", "-out", str(private))
    return private


def release(served, key, program, version):
    """What the update address serves, made as a release is made."""
    for old in served.iterdir():
        old.unlink()
    subprocess.run([str(h.REPO / "scripts" / "release"), str(key), str(program), str(served),
                    version], check=True, stdout=subprocess.DEVNULL, timeout=60)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class WebServer:
    """python3 -m http.server on 127.0.0.1 only, started and stopped by the test."""

    def __init__(self, folder, port, log):
        self.folder, self.port, self.log, self.process = folder, port, log, None

    def start(self):
        log = open(self.log, "a")
        self.process = subprocess.Popen(
            [sys.executable, "-m", "http.server", "--bind", "127.0.0.1", "--directory",
             str(self.folder), str(self.port)], stdout=log, stderr=subprocess.STDOUT,
            start_new_session=True)
        log.close()
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            try:
                with socket.create_connection(("127.0.0.1", self.port), timeout=1):
                    return
            except OSError:
                time.sleep(0.1)
        raise Failure("the local web server did not start on port %d" % self.port)

    def stop(self):
        h.stop_process(self.process)
        self.process = None


class CutOffServer:
    """Answers the program file with its whole length announced and then ends the
    connection halfway through, as a dropped transfer does; the release note is
    served whole."""

    def __init__(self, folder, port):
        folder = Path(folder)

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                path = folder / self.path.lstrip("/")
                if not path.is_file():
                    self.send_error(404)
                    return
                data = path.read_bytes()
                self.send_response(200)
                self.send_header("Content-Length", str(len(data)))
                self.end_headers()
                self.wfile.write(data if path.suffix == ".sig" else data[:len(data) // 2])
                self.wfile.flush()
                self.close_connection = True

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler)
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.server.shutdown()
        self.server.server_close()


class StallServer:
    """Takes connections on 127.0.0.1 and never answers, as a hung server does.
    Ends on its own after `bound` seconds."""

    def __init__(self, port, bound=120):
        self.listener = socket.socket()
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind(("127.0.0.1", port))
        self.listener.listen(16)
        self.listener.settimeout(0.2)
        self.held, self.stopping = [], threading.Event()
        self.deadline = time.monotonic() + bound
        self.thread = threading.Thread(target=self.serve, daemon=True)

    def serve(self):
        while not self.stopping.is_set() and time.monotonic() < self.deadline:
            try:
                connection, _ = self.listener.accept()
                self.held.append(connection)
            except OSError:
                pass

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.stopping.set()
        self.thread.join(5)
        for connection in self.held:
            connection.close()
        self.listener.close()


class TrickleServer:
    """Serves the release note whole and the program file one byte every
    `every` seconds, its whole length announced; stops after `bound` seconds."""

    def __init__(self, folder, port, every=1.0, bound=120):
        folder, stopping = Path(folder), threading.Event()
        deadline = time.monotonic() + bound
        self.stopping = stopping

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                path = folder / self.path.lstrip("/")
                if not path.is_file():
                    self.send_error(404)
                    return
                data = path.read_bytes()
                self.send_response(200)
                self.send_header("Content-Length", str(len(data)))
                self.end_headers()
                if path.suffix == ".sig":
                    self.wfile.write(data)
                    return
                try:
                    for byte in data:
                        if stopping.wait(every) or time.monotonic() > deadline:
                            break
                        self.wfile.write(bytes([byte]))
                        self.wfile.flush()
                except OSError:
                    pass  # the program gave up and closed the connection
                self.close_connection = True

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler)
        self.server.daemon_threads = True
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.stopping.set()
        self.server.shutdown()
        self.server.server_close()


def snapshot(folder):
    """Every file of the program folder with the SHA-256 of its bytes."""
    return {p.name: hashlib.sha256(p.read_bytes()).hexdigest()
            for p in sorted(folder.iterdir()) if p.is_file()}


def check_caption(session, prefix, timeout=30):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = h.caption(session)
        if found.startswith(prefix):
            return found
        time.sleep(0.2)
    raise Failure("the caption is %r, expected it to start with %r" % (h.caption(session), prefix))


def update_refused(session, heard, before, what):
    h.keys(session, "ctrl+o")
    h.expect(session, UPDATING, timeout=30)
    text = h.expect(session, heard, timeout=60)
    after = snapshot(session.folder)
    if after != before:
        raise Failure("%s changed the program folder: %r, before %r" % (what, after, before))
    if h.main_window(session) is None:
        raise Failure("%s: the program is no longer running" % what)
    print("  %s: %r, files unchanged" % (what, text))


def online_update(session):
    """Refusals leave every file byte-identical and the program running; a signed,
    newer build is installed and started by the starter; a new program that fails
    at start, or cannot start at all, is replaced by the previous one again."""
    update_test = session.bin.parent / "update-test"
    newer, failing = update_test / "lumafind.exe", update_test / "lumafind_failing_program.exe"
    for needed in [newer, failing, session.bin / "start_lumafind.exe"]:
        if not needed.is_file():
            raise Failure("the Windows build made no %s" % needed)
    if shutil.which("openssl") is None:
        raise Failure("openssl is needed to make the test's release keys")
    work = session.out / session.name
    keys, served = work / "keys", work / "served"
    for folder in (keys, served):
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
    key, other_key = make_key(keys, "release"), make_key(keys, "other")

    h.prepare_folder(session)
    shutil.copy2(session.bin / "start_lumafind.exe", session.folder / "start_lumafind.exe")
    openssl("pkey", "-in", str(key), "-pubout", "-outform", "DER", "-out",
            str(session.folder / KEY_FILE))
    original = (session.folder / "lumafind.exe").read_bytes()
    tree = h.make_tree(work / "tree", {"notes/houston.txt": (40, "2024-06-01 12:00")})
    port = free_port()
    server = WebServer(served, port, work / "web.log")
    address = "http://127.0.0.1:%d/lumafind.exe" % port
    try:
        h.start_program(session, [tree], env={"LUMAFIND_UPDATE_URL": address})
        before = snapshot(session.folder)

        update_refused(session, FAILED, before, "no server")
        server.start()
        update_refused(session, FAILED, before, "HTTP 404")
        release(served, key, newer, "9.0")
        # The same port, so the address the program was started with still holds.
        server.stop()
        with CutOffServer(served, port):
            update_refused(session, FAILED, before, "a transfer cut off halfway")
        server.start()
        data = (served / "lumafind.exe").read_bytes()
        (served / "lumafind.exe").write_bytes(data[:len(data) // 2])
        update_refused(session, NOT_GENUINE, before, "a truncated file")
        release(served, other_key, newer, "9.0")
        update_refused(session, NOT_GENUINE, before, "a signature by another key")
        release(served, key, newer, "4.40")
        update_refused(session, UP_TO_DATE, before, "an older version")
        h.screenshot(session, "online_update-refused")

        release(served, key, newer, "9.0")
        h.keys(session, "ctrl+o")
        h.expect(session, UPDATING, timeout=30)
        h.expect_in_order(session, [DONE, (WAIT, "Exiting Lumafind")], timeout=120)
        h.expect(session, WELCOME_NEW, timeout=120)
        found = check_caption(session, "Lumafind 9.0")
        if (session.folder / "lumafind.exe").read_bytes() != newer.read_bytes():
            raise Failure("lumafind.exe is not the new build after the update")
        if (session.folder / "lumafind.old").read_bytes() != original:
            raise Failure("lumafind.old does not hold the previous program")
        if (session.folder / "lumafind.tmp").exists():
            raise Failure("the download was left behind as lumafind.tmp")
        print("  updated: the caption reads %r" % found)
        h.give_keyboard_focus(session)
        h.screenshot(session, "online_update-new-version")

        # The failing program is signed as a release: only the starter can
        # notice that it does not run.
        release(served, key, failing, "9.1")
        h.keys(session, "ctrl+o")
        h.expect(session, UPDATING, timeout=30)
        h.expect_in_order(session, [DONE, (WAIT, "Exiting Lumafind")], timeout=120)
        h.expect(session, WELCOME_NEW, timeout=120)
        check_caption(session, "Lumafind 9.0")
        if (session.folder / "lumafind.exe").read_bytes() != newer.read_bytes():
            raise Failure("the starter did not put the previous program back")
        if (session.folder / "lumafind.old").exists():
            raise Failure("lumafind.old should have been moved back into place")
        print("  a new program that ended at once with a failure was rolled back")

        # A signed file that Windows cannot start at all goes the same way.
        not_a_program = work / "not-a-program.exe"
        not_a_program.write_bytes(b"MZ" + b"\0" * 4096)
        release(served, key, not_a_program, "9.2")
        h.keys(session, "ctrl+o")
        h.expect(session, UPDATING, timeout=30)
        h.expect_in_order(session, [DONE, (WAIT, "Exiting Lumafind")], timeout=120)
        h.expect(session, WELCOME_NEW, timeout=120)
        check_caption(session, "Lumafind 9.0")
        if (session.folder / "lumafind.exe").read_bytes() != newer.read_bytes():
            raise Failure("the starter did not put the previous program back after a file "
                          "that cannot start")
        if h.processes_running("start_lumafind.exe"):
            raise Failure("start_lumafind.exe is still running after it started the program")
        print("  a new program that cannot start was rolled back")
        h.give_keyboard_focus(session)
        h.screenshot(session, "online_update")
    finally:
        server.stop()


# The tests' shorter time limits (connect, each read, whole, in milliseconds),
# through the variable only tests set; the program's own are 15 s, 30 s and
# about 9.5 minutes.
TEST_LIMITS = "3000,4000,25000"
CANCELLED = said(ASYNC, "Update Cancelled")
STARTER_MISSING = said(ASYNC, "Lumafind Update Failed : Starter Missing")
PROGRESS = re.compile(r"Downloaded \d+ percent$")


def slow_server_session(session):
    """A program folder with a starter and a signed 9.0 release to serve; the
    program started against a port of 127.0.0.1 with the tests' limits."""
    update_test = session.bin.parent / "update-test"
    newer = update_test / "lumafind.exe"
    for needed in [newer, session.bin / "start_lumafind.exe"]:
        if not needed.is_file():
            raise Failure("the Windows build made no %s" % needed)
    if shutil.which("openssl") is None:
        raise Failure("openssl is needed to make the test's release keys")
    work = session.out / session.name
    keys, served = work / "keys", work / "served"
    for folder in (keys, served):
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
    key = make_key(keys, "release")
    h.prepare_folder(session)
    shutil.copy2(session.bin / "start_lumafind.exe", session.folder / "start_lumafind.exe")
    openssl("pkey", "-in", str(key), "-pubout", "-outform", "DER", "-out",
            str(session.folder / KEY_FILE))
    release(served, key, newer, "9.0")
    tree = h.make_tree(work / "tree", {"notes/houston.txt": (40, "2024-06-01 12:00")})
    port = free_port()
    h.start_program(session, [tree], env={
        "LUMAFIND_UPDATE_URL": "http://127.0.0.1:%d/lumafind.exe" % port,
        "LUMAFIND_UPDATE_TEST_LIMITS": TEST_LIMITS})
    return served, port, work


def unchanged(session, before, what):
    after = snapshot(session.folder)
    if after != before:
        raise Failure("%s changed the program folder: %r, before %r" % (what, after, before))
    if h.main_window(session) is None:
        raise Failure("%s: the program is no longer running" % what)


def update_slow_server(session):
    """A server that never answers is given up on within the time limits and one
    that trickles is reported now and then until it is; Esc cancels a download
    at once, and Alt+F4 during one closes the program the usual way."""
    served, port, _ = slow_server_session(session)
    before = snapshot(session.folder)
    with StallServer(port):
        h.keys(session, "ctrl+o")
        h.expect(session, UPDATING, timeout=30)
        began = time.monotonic()
        h.expect(session, FAILED, timeout=30)
        took = time.monotonic() - began
        unchanged(session, before, "a server that never answers")
        # Connect 3 s, then 4 s for the answer to begin.
        if took > 12:
            raise Failure("a stalled server was given up on only after %.1f s" % took)
        print("  a stalled server: failed after %.1f s, files unchanged" % took)

        h.keys(session, "ctrl+o")
        h.expect(session, UPDATING, timeout=30)
        time.sleep(1)
        h.keys(session, "ctrl+l")  # dropped while the download runs
        pressed = time.monotonic()
        h.keys(session, "Escape")
        h.expect(session, CANCELLED, timeout=10, next_line=True)
        took = time.monotonic() - pressed
        unchanged(session, before, "Esc during a stalled download")
        print("  Esc during a stalled download: 'Update Cancelled' after %.2f s" % took)

    with TrickleServer(served, port, every=0.5, bound=60):
        h.keys(session, "ctrl+o")
        h.expect(session, UPDATING, timeout=30)
        began = time.monotonic()
        progress = [h.expect(session, (ASYNC, PROGRESS), timeout=15, next_line=True)
                    for _ in range(2)]
        h.expect(session, FAILED, timeout=20, next_line=True)
        took = time.monotonic() - began
        unchanged(session, before, "a trickling server")
        if took > 35:
            raise Failure("a trickling server was given up on only after %.1f s" % took)
        print("  a trickling server: heard %r, failed after %.1f s" % (progress, took))

    h.keys(session, "ctrl+y")  # a setting the close must save
    h.expect(session, re.compile("Black on White"), timeout=10)
    with StallServer(port):
        h.keys(session, "ctrl+o")
        h.expect(session, UPDATING, timeout=30)
        time.sleep(1)
        pressed = time.monotonic()
        h.keys(session, "alt+F4")
        h.expect(session, (WAIT, "Exiting Lumafind"), timeout=10, next_line=True)
        took = time.monotonic() - pressed
        h.wait_for_exit(session)
    text = (session.folder / "lumafind.ini").read_bytes().decode("utf-8")
    if "\r\nBG= 16777215\r\n" not in text:
        raise Failure("the settings were not saved on the way out: %r" % text[:300])
    for name in ("lumafind.exe", "start_lumafind.exe", KEY_FILE):
        if snapshot(session.folder)[name] != before[name]:
            raise Failure("closing during a download changed %s" % name)
    if (session.folder / "lumafind.tmp").exists() or (session.folder / "lumafind.old").exists():
        raise Failure("closing during a download left update files behind")
    print("  Alt+F4 during a stalled download: 'Exiting Lumafind' after %.2f s, settings saved"
          % took)


def update_without_starter(session):
    """With the starter missing, or a text file in its name, a newer release is
    refused before it is downloaded and every file stays as it was."""
    served, port, work = slow_server_session(session)
    (work / "web.log").unlink(missing_ok=True)  # only this run's requests count
    server = WebServer(served, port, work / "web.log")
    starter = session.folder / "start_lumafind.exe"
    try:
        server.start()
        starter.unlink()
        before = snapshot(session.folder)
        update_refused(session, STARTER_MISSING, before, "the starter removed")
        starter.write_bytes(b"This is not a program.\r\n")
        before = snapshot(session.folder)
        update_refused(session, STARTER_MISSING, before, "a text file named as the starter")
        asked = (work / "web.log").read_text()
        if "GET /lumafind.exe " in asked:
            raise Failure("the program file was downloaded without a starter: %s" % asked)
        h.screenshot(session, "update_without_starter")
    finally:
        server.stop()


SCENARIOS = {"online_update": online_update, "update_slow_server": update_slow_server,
             "update_without_starter": update_without_starter}
