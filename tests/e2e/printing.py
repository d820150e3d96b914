"""End-to-end scenario of printing the result list on a real (PDF) printer:
CUPS with the cups-pdf driver, read back with pdftotext and pdfinfo.
scenarios.py runs it by name."""

import os
import pwd
import re
import shutil
import subprocess
import time
from pathlib import Path

import harness as h
from harness import ASYNC, WAIT, Failure

PRINTER = "LumafindPDF"
DRIVER = "lsb/usr/cups-pdf/CUPS-PDF_noopt.ppd"
# 120 known names in the order of the export; the import lower-cases them.
NAMES = ["report %03d.txt" % i for i in range(1, 121)]
NAMES[1] = "caf\u00e9 002.txt"


def export_of(names):
    rows = "".join('5,01/02/2020 03:04,"C:\\Data\\%s"\r\n' % n for n in names)
    return "Size,Date Modified,Filename\r\n" + rows


def pdf_folder():
    """Where cups-pdf puts the jobs of the user who printed (its "Out ${HOME}/PDF")."""
    return Path(pwd.getpwuid(os.getuid()).pw_dir) / "PDF"


def scheduler_running():
    return subprocess.run(["lpstat", "-r"], capture_output=True, text=True).stdout.startswith(
        "scheduler is running")


def start_scheduler(session):
    """Starts cupsd in the foreground as our child; None when one already runs.
    Skips the scenario only when the scheduler cannot be started at all."""
    missing = [t for t in ["/usr/sbin/cupsd", "lpadmin", "lpstat", "pdftotext", "pdfinfo"]
               if shutil.which(t) is None]
    if missing:
        raise h.Skipped("printing needs CUPS, cups-pdf and poppler-utils (scripts/setup "
                        "installs them); missing: " + ", ".join(missing))
    if scheduler_running():
        return None
    (session.out / session.name).mkdir(parents=True, exist_ok=True)
    log = open(session.out / session.name / "cupsd.log", "w")
    cupsd = subprocess.Popen(["/usr/sbin/cupsd", "-f"], stdout=log, stderr=subprocess.STDOUT,
                             start_new_session=True)
    log.close()
    deadline = time.monotonic() + 15
    while not scheduler_running():
        if cupsd.poll() is not None or time.monotonic() > deadline:
            h.stop_process(cupsd)
            text = (session.out / session.name / "cupsd.log").read_text(errors="replace")
            raise h.Skipped("the CUPS scheduler cannot start here (exit %s): %s" % (
                cupsd.returncode, text.strip()[-300:] or "no output"))
        time.sleep(0.2)
    return cupsd


def add_printer(session):
    h.run(session, ["lpadmin", "-p", PRINTER, "-E", "-v", "cups-pdf:/", "-m", DRIVER])
    h.run(session, ["lpadmin", "-d", PRINTER])


def pdf_stamps():
    return {p: p.stat().st_mtime_ns for p in pdf_folder().glob("*.pdf")}


def new_pdf(before, keep_as, timeout=60):
    """The PDF written after `before` was taken (cups-pdf names it after the
    document, so a later job may reuse the name), once whole, moved to `keep_as`."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        fresh = sorted(p for p, stamp in pdf_stamps().items() if before.get(p) != stamp)
        if fresh:
            path = fresh[0]
            size = -1
            while path.stat().st_size != size or size == 0:
                size = path.stat().st_size
                time.sleep(0.5)
            shutil.move(path, keep_as)
            return keep_as
        time.sleep(0.3)
    raise Failure("no PDF appeared in %s within %d s" % (pdf_folder(), timeout))


def pdf_pages(session, path):
    """The text lines of each page, blank lines left out."""
    text = h.run(session, ["pdftotext", "-layout", str(path), "-"])
    pages = [[line.strip() for line in page.splitlines() if line.strip()]
             for page in text.split("\f")]
    while pages and not pages[-1]:
        pages.pop()
    info = h.run(session, ["pdfinfo", str(path)])
    count = int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))
    if count != len(pages):
        raise Failure("%s: pdfinfo says %d pages, the text has %d" % (path, count, len(pages)))
    return pages


def print_and_read(session, font, wanted, picture):
    """Ctrl+P, the announcement, nothing more said, and the PDF's pages holding
    exactly the wanted names in order, every page but the last full."""
    before = pdf_stamps()
    h.keys(session, "ctrl+p")
    h.expect(session, (ASYNC, "Printing With %s Font ..." % font))
    path = new_pdf(before, session.out / session.name / (picture + ".pdf"))
    h.settle(session)
    said = [text for _, text in h.speech(session)[session.heard:] if text]
    if said:
        raise Failure("after a job that printed the program said %r" % said)
    pages = pdf_pages(session, path)
    printed = [line for page in pages for line in page]
    if printed != wanted:
        raise Failure("the %s font's PDF holds %r, expected %r" % (font, printed, wanted))
    full = len(pages[0])
    if any(len(page) != full for page in pages[:-1]) or len(pages[-1]) > full:
        raise Failure("the pages hold %r lines" % [len(p) for p in pages])
    shot = session.out / picture
    h.run(session, ["pdftoppm", "-png", "-r", "30", "-f", "1", "-l", "1", str(path), str(shot)])
    session.screenshots.append(Path(str(shot) + "-1.png"))
    return pages


def check_clipboard(session, names, when):
    """What another Windows program finds on the clipboard: the names, one a
    line, no line break after the last."""
    reader = session.bin / "lumafind_clipboard_reader.exe"
    out = session.out / session.name / "clipboard.txt"
    out.unlink(missing_ok=True)
    h.run(session, ["wine", str(reader), h.z_path(out)], timeout=60)
    found = out.read_bytes().decode("utf-8").splitlines()
    wanted = ["text: " + "\\r\\n".join(names)]
    if found != wanted:
        raise Failure("%s the clipboard holds %r, expected %r" % (when, found, wanted))


def printing(session):
    """The known list printed in the small font, in the visual font (fewer lines
    a page) and with the limit of 50 (50 names over several pages); a job the
    stopped scheduler cannot take is said to have failed, and with no scheduler
    at the start the program says no printer was found; the names reach the
    clipboard each time."""
    cupsd = start_scheduler(session)
    try:
        add_printer(session)
        names = [n.lower() for n in NAMES]
        tree = session.out / session.name / "tree"
        tree.mkdir(parents=True, exist_ok=True)
        h.prepare_folder(session, files={"results.txt": export_of(NAMES)},
                         ini=["SpeakShortcuts= 0", "MaxPrintLines= 0", "PrintFont= 0"])
        h.start_program(session, [tree])
        h.settle(session)
        small = print_and_read(session, "Small", names, "printing-small")
        h.keys(session, "ctrl+shift+p")
        h.expect(session, (ASYNC, "Print With Visual Font is ON"))
        visual = print_and_read(session, "Visual", names, "printing-visual")
        if not len(visual[0]) < len(small[0]):
            raise Failure("the visual font holds %d lines a page, the small %d" % (
                len(visual[0]), len(small[0])))
        h.keys(session, "ctrl+shift+e", "ctrl+shift+e")
        h.expect(session, (ASYNC, "Max Print Lines is  10"))
        h.expect(session, (ASYNC, "Max Print Lines is  50"))
        limited = print_and_read(session, "Visual", names[:50], "printing-limit")
        print("  lines a page: small font %d, visual font %d; 50 names on %d pages" % (
            len(small[0]), len(visual[0]), len(limited)))

        # The printer and scheduler gone while the program runs: Wine still
        # lists the printer to this process, and the job fails.
        h.run(session, ["lpadmin", "-x", PRINTER])
        h.stop_process(cupsd)
        cupsd = None
        h.keys(session, "ctrl+p")
        h.expect(session, (ASYNC, "Printing With Visual Font ..."))
        h.expect(session, (ASYNC, "Printing Failed"), next_line=True)
        check_clipboard(session, names[:50], "after a failed job")
        h.keys(session, "Escape")
        h.expect(session, (WAIT, "Exiting Lumafind"))
        h.wait_for_exit(session)

        # Started without a scheduler: no printer at all.
        if scheduler_running() and subprocess.run(["lpstat", "-e"], capture_output=True,
                                                  text=True).stdout.strip():
            print("  the no-printer half is left out: a scheduler we did not start "
                  "has printers of its own")
            return
        h.start_program(session, [tree])
        h.settle(session)
        h.keys(session, "ctrl+shift+e")
        h.expect(session, (ASYNC, "Max Print Lines is  100"))
        h.keys(session, "ctrl+p")
        h.expect(session, (ASYNC, "Printing With Visual Font ..."))
        h.expect(session, (ASYNC, "No Printer Found"), next_line=True)
        h.screenshot(session, "printing")
        check_clipboard(session, names[:100], "without a printer")
    finally:
        if cupsd is not None:
            h.stop_process(cupsd)


SCENARIOS = {"printing": printing}
