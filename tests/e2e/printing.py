"""End-to-end scenario of printing the result list on a real (PDF) printer:
CUPS with the cups-pdf driver, read back with pdftotext and pdfinfo.
scenarios.py runs it by name."""

import os
import pwd
import re
import shutil
import subprocess
import time
import unicodedata
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


# Names in scripts a bold Latin face lacks. Under Wine the prefix has only the
# fonts fontconfig finds; DejaVu Serif has none of Hebrew, Arabic or the emoji,
# DejaVu Sans has all three, so printing in DejaVu Serif needs a stand-in.
SHALOM, OLAM, MARHABA = "\u05e9\u05dc\u05d5\u05dd", "\u05e2\u05d5\u05dc\u05dd", \
    "\u0645\u0631\u062d\u0628\u0627"
EMOJI = "\U0001f600"
SCRIPT_NAMES = ["report %s.txt" % SHALOM, "%s %s.txt" % (SHALOM, OLAM), "%s notes.txt" % MARHABA,
                "cafe\u0301 menu.txt", "smile %s pic.png" % EMOJI, "plain name.txt"]
# The glyphs of the emoji carry no character for pdftotext, which reads past it.
UNREADABLE = EMOJI


def readable(text):
    """Text as pdftotext gives it back, compared as characters: its marks for
    right-to-left runs dropped, Arabic's joined forms (which the PDF's glyphs
    are) made the letters again, the emoji it cannot read left out, and blanks
    too, which it moves across a change of direction."""
    text = re.sub("[\u202a-\u202e]", "", text)
    text = "".join(c for c in text if c not in UNREADABLE and not c.isspace())
    return unicodedata.normalize("NFKC", text)


def printing_scripts(session):
    """Names in Hebrew, Arabic, with a combining mark and with an emoji, printed
    in a face that lacks them: each name is on the page as characters, the
    stand-in face is in the PDF beside the print face, and a right-to-left pair
    of words reads right to left within the left-to-right line."""
    cupsd = start_scheduler(session)
    try:
        add_printer(session)
        tree = session.out / session.name / "tree"
        tree.mkdir(parents=True, exist_ok=True)
        h.prepare_folder(session, files={"results.txt": export_of(SCRIPT_NAMES)},
                         ini=["SpeakShortcuts= 0", "MaxPrintLines= 0", "PrintFont= 0",
                              "FontName=DejaVu Serif"])
        h.start_program(session, [tree])
        h.settle(session)
        before = pdf_stamps()
        h.keys(session, "ctrl+p")
        h.expect(session, (ASYNC, "Printing With Small Font ..."))
        path = new_pdf(before, session.out / session.name / "printing-scripts.pdf")
        h.settle(session)
        said = [text for _, text in h.speech(session)[session.heard:] if text]
        if said:
            raise Failure("after the job the program said %r" % said)
        text = h.run(session, ["pdftotext", "-layout", str(path), "-"])
        lines = [readable(line) for line in text.splitlines() if line.strip()]
        wanted = [readable(name) for name in SCRIPT_NAMES]
        if lines != wanted:
            raise Failure("the page reads %r, expected %r" % (lines, wanted))
        fonts = h.run(session, ["pdffonts", str(path)])
        if "DejaVuSerif-Bold" not in fonts or "DejaVuSans-Bold" not in fonts:
            raise Failure("the print face and a stand-in should both be used:\n" + fonts)
        # Words in visual order, left to right: of "shalom olam", olam is left.
        boxes = h.run(session, ["pdftotext", "-bbox", str(path), "-"])
        words = [(float(x), w) for x, w in re.findall(r'<word xMin="([\d.]+)"[^>]*>([^<]*)</word>',
                                                        boxes)]
        visual = [w for _, w in words]
        pair = [OLAM[::-1], SHALOM[::-1] + ".txt"]
        if not any(visual[i:i + 2] == pair for i in range(len(visual))):
            raise Failure("the two Hebrew words are not in their reading order: %r" % visual)
        shot = session.out / "printing-scripts"
        h.run(session, ["pdftoppm", "-png", "-r", "150", "-f", "1", "-l", "1", "-W", "700",
                        "-H", "260", str(path), str(shot)])
        session.screenshots.append(Path(str(shot) + "-1.png"))
        print("  fonts in the PDF:", ", ".join(sorted(set(re.findall(r"\+(\S+)", fonts)))))
    finally:
        if cupsd is not None:
            h.stop_process(cupsd)


def heard_within(session, text, since, timeout):
    """Seconds from `since` until `text` is the next line said, looked for
    every 10 ms."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        heard = h.speech(session)[session.heard:]
        if heard:
            if heard[0][1] != text:
                raise Failure("expected next %r, heard %r" % (text, heard[0][1]))
            session.heard += 1
            return time.monotonic() - since
        time.sleep(0.01)
    raise Failure("did not hear %r within %d s" % (text, timeout))


def first_answer(session, key, text, since, timeout):
    """Presses the key every 50 ms until the program says `text` (keys pressed
    while it is held are dropped); the time from `since` to that answer."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        h.run(session, ["xdotool", "key", key])
        heard = h.speech(session)[session.heard:]
        for index, (_, said) in enumerate(heard):
            if said == text:
                session.heard += index + 1
                return time.monotonic() - since
        time.sleep(0.05)
    raise Failure("%s was not answered within %d s" % (key, timeout))


def printing_cancel(session):
    """A 2,000-row list: how long its print holds the window; then Esc pressed
    during a second print drops the job: "Printing Cancelled" is said, the
    program still answers keys, no whole PDF comes, and the next Esc closes the
    program as Esc does. Alt+F4 during a print drops the job, then closes."""
    cupsd = start_scheduler(session)
    try:
        add_printer(session)
        names = ["row %04d of the long list.txt" % i for i in range(1, 2001)]
        tree = session.out / session.name / "tree"
        tree.mkdir(parents=True, exist_ok=True)
        h.prepare_folder(session, files={"results.txt": export_of(names)},
                         ini=["SpeakShortcuts= 0", "MaxPrintLines= 0", "PrintFont= 0",
                              "EnableSpeakLetters= 3"])
        h.start_program(session, [tree])
        h.settle(session)

        before = pdf_stamps()
        h.keys(session, "ctrl+p")
        h.expect(session, (ASYNC, "Printing With Small Font ..."))
        started = time.monotonic()
        held = first_answer(session, "x", "X", started, 120)
        whole = pdf_pages(session, new_pdf(before, session.out / session.name / "whole.pdf"))
        if sum(len(page) for page in whole) != 2000:
            raise Failure("the whole job printed %d lines" % sum(len(p) for p in whole))

        h.settle(session)
        before = pdf_stamps()
        h.keys(session, "ctrl+p")
        h.expect(session, (ASYNC, "Printing With Small Font ..."))
        time.sleep(min(2.0, held / 2))
        pressed = time.monotonic()
        h.run(session, ["xdotool", "key", "Escape"])
        answered = heard_within(session, "Printing Cancelled", pressed, 60)
        # The program runs on and answers the next key at once.
        typed = time.monotonic()
        h.keys(session, "y")
        h.expect(session, (ASYNC, "Y"), timeout=10)
        next_key = time.monotonic() - typed
        if h.main_window(session) is None:
            raise Failure("the program closed after Esc during the print")
        h.screenshot(session, "printing-cancel")
        # The spooler dropped the job: no PDF, or one shorter than the list.
        aborted = "no PDF"
        try:
            pages = pdf_pages(session, new_pdf(before, session.out / session.name / "cut.pdf",
                                               timeout=8))
            lines = sum(len(page) for page in pages)
            if lines >= 2000:
                raise Failure("the cancelled job printed all %d lines" % lines)
            aborted = "a PDF of %d lines" % lines
        except Failure as error:
            if "no PDF appeared" not in str(error):
                raise
        h.keys(session, "Escape")
        h.expect(session, (WAIT, "Exiting Lumafind"))
        h.wait_for_exit(session)

        # Alt+F4 during a print: the job is dropped, then the program closes.
        h.start_program(session, [tree])
        h.settle(session)
        before = pdf_stamps()
        h.keys(session, "ctrl+p")
        h.expect(session, (ASYNC, "Printing With Small Font ..."))
        time.sleep(min(1.0, held / 2))
        h.keys(session, "alt+F4")
        h.expect_in_order(session, [(ASYNC, "Printing Cancelled"), (WAIT, "Exiting Lumafind")])
        h.wait_for_exit(session)
        try:
            pages = pdf_pages(session, new_pdf(before, session.out / session.name / "closed.pdf",
                                               timeout=8))
            if sum(len(page) for page in pages) >= 2000:
                raise Failure("the job cut short by Alt+F4 printed every line")
        except Failure as error:
            if "no PDF appeared" not in str(error):
                raise
        print("  2,000 rows (%d pages) hold the window %.2f s; Esc %.2f s into a second print "
              "is answered in %.3f s (%s), the next key in %.3f s" % (
                  len(whole), held, min(2.0, held / 2), answered, aborted, next_key))
    finally:
        if cupsd is not None:
            h.stop_process(cupsd)


SCENARIOS = {"printing": printing, "printing_scripts": printing_scripts,
             "printing_cancel": printing_cancel}
