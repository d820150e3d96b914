#!/usr/bin/env python3
"""How long a row takes to be spoken while walking camera photos, with the image
preview on and off, in lumafind.exe under Wine, and how much memory it takes.

    bench/preview_bench.py [--bin DIR] [--out DIR] [--rows N] [--busy N]

Makes N (default 50) JPEGs of 6000 x 4000 pixels and, below them, one PNG of
10000 x 10000 (100 million pixels, past what the preview shows), searches them,
and presses Down through them at a listener's pace: each time from the key to
the row's speech, and, with the preview on, the decodes the program made (it
logs each, with its time, when LUMAFIND_PREVIEW_LOG names a file). Then taps
through 20 rows briskly (a key a quarter second after each speech, so keys
often come while a picture is decoded), and holds Down for two seconds,
counting the rows passed and the decodes. The program's peak memory (VmHWM of
its Wine process) is read after each walk. Meanwhile --busy processes
(default 2) of `sha256sum /dev/zero` keep cores busy. Goal: with the preview
on, tapping briskly, a row is spoken within 1.5 times the time it takes with
the preview off; at most one decode per row and none for rows passed while a
key is held; the large PNG refused unread; a peak under 200 MB.
Stops with an error when a key, a search or a speech does not come.
"""

import argparse
import os
import re
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import time
import zlib
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import harness as h  # noqa: E402
from harness import ASYNC, Failure  # noqa: E402

PAUSE = 0.8  # a listener hears the name before the next key
BRISK = 0.25  # a user tapping through rows they know
PEAK_GOAL_MB = 200


def huge_png(path, side=10000):
    """A valid PNG of side x side pixels, written row by row (a gradient, so it
    stays small on disk and is quick to write)."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    squeeze = zlib.compressobj(1)
    parts = []
    for y in range(side):
        row = bytes([0]) + bytes([y * 255 // side, 128, 200]) * side
        parts.append(squeeze.compress(row))
    parts.append(squeeze.flush())
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", b"".join(parts)))
        out.write(chunk(b"IEND", b""))


def names(rows):
    """The rows as the search lists them: the photos newest first, then the PNG."""
    return ["pb_%03d.jpg" % n for n in range(rows)] + ["pb_%03d.png" % rows]


def peak_mb(session):
    """VmHWM of this session's lumafind.exe (its Wine process names it by its
    Windows path, which holds our own folder)."""
    wanted = h.z_path(session.folder / "lumafind.exe").lower()
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            # The program itself, not the desktop that started it.
            program = (entry / "cmdline").read_bytes().split(b"\0")[0].decode("utf-8", "replace")
            if program.lower() != wanted:
                continue
            for field in (entry / "status").read_text().splitlines():
                if field.startswith("VmHWM:"):
                    return int(field.split()[1]) / 1024
        except OSError:
            continue
    raise Failure("found no running %s to read its peak memory" % wanted)


def make_photos(session, folder, rows):
    done = folder / (".complete-%d-png" % rows)
    if done.exists():
        return
    if folder.exists():
        shutil.rmtree(folder)
    folder.mkdir(parents=True)
    first = folder / "pb_000.jpg"
    # Smooth colours and noise, so the file is as hard to decode as a photo.
    h.run(session, ["convert", "-size", "6000x4000", "gradient:#2040c0-#e0a020",
                    "-attenuate", "0.3", "+noise", "Gaussian", "-quality", "90", str(first)],
          timeout=600)
    base = time.time() - 3600
    for n in range(rows):
        path = folder / ("pb_%03d.jpg" % n)
        if n:
            shutil.copyfile(first, path)
        os.utime(path, (base - n * 60, base - n * 60))  # newest first: pb_000 on top
    huge = folder / ("pb_%03d.png" % rows)
    huge_png(huge)
    os.utime(huge, (base - rows * 60, base - rows * 60))  # the oldest: last
    done.touch()


def decodes(log):
    if not log.exists():
        return []
    return [line.split("\t") for line in log.read_text(errors="replace").splitlines()
            if line.startswith("decode\t")]


def wait_for_line(session, wanted, timeout=30):
    """A tight poll of the speech log: the time the line appeared."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        heard = h.speech(session)
        for index in range(session.heard, len(heard)):
            if heard[index][1] == wanted:
                session.heard = index + 1
                return time.monotonic()
        time.sleep(0.002)
    raise Failure("did not hear %r within %d s" % (wanted, timeout))


def walk(session, tree, rows, preview):
    log = session.out / session.name / "preview.log"
    log.unlink(missing_ok=True)
    h.prepare_folder(session, ini=["SearchTerm=pb_", "ShowPreview= %d" % preview,
                                   "PreviewResize= 0", "MaxResults= %d" % max(100, rows)])
    h.start_program(session, [tree], env={"LUMAFIND_PREVIEW_LOG": h.z_path(log)})
    h.keys(session, "ctrl+f")
    listed = names(rows)
    h.expect(session, (ASYNC, re.compile(r"Search is complete : %d Matches : pb_000\.jpg$"
                                         % len(listed))), timeout=120)
    h.settle(session)
    time.sleep(2 if preview else 0.5)  # the first row's picture
    times = []
    for n in range(1, len(listed)):
        wanted = ("Bottom of List : " if n == len(listed) - 1 else "") + listed[n]
        started = time.monotonic()
        h.run(session, ["xdotool", "key", "Down"])
        times.append(wait_for_line(session, wanted) - started)
        time.sleep(PAUSE)
    time.sleep(1)
    walked = decodes(log)
    # Brisk: a key every quarter second or so, often while a picture is decoded.
    h.keys(session, "Home")
    h.expect(session, (ASYNC, "Top of List : pb_000.jpg"))
    time.sleep(2)
    brisk = []
    for n in range(1, min(len(listed), 21)):
        wanted = ("Bottom of List : " if n == len(listed) - 1 else "") + listed[n]
        started = time.monotonic()
        h.run(session, ["xdotool", "key", "Down"])
        brisk.append(wait_for_line(session, wanted) - started)
        time.sleep(BRISK)
    # Held: from the top, Down held for two seconds.
    h.keys(session, "Home")
    h.expect(session, (ASYNC, "Top of List : pb_000.jpg"))
    time.sleep(2)
    before, spoken_before = len(decodes(log)), len(h.speech(session))
    h.run(session, ["xdotool", "keydown", "Down"])
    time.sleep(2)
    h.run(session, ["xdotool", "keyup", "Down"])
    time.sleep(2)
    passed = len(h.speech(session)) - spoken_before
    held = decodes(log)[before:]
    peak = peak_mb(session)
    refused = [line for line in (log.read_text(errors="replace").splitlines() if log.exists()
                                 else []) if line.startswith("refused\t")]
    h.stop_wine(session)
    return times, walked, passed, held, brisk, peak, refused


def describe(times):
    ms = sorted(t * 1000 for t in times)
    return "median %.0f ms, 90th percentile %.0f ms, max %.0f ms" % (
        statistics.median(ms), ms[int(0.9 * (len(ms) - 1))], ms[-1])


def start_busy(count):
    """Processes that keep a core busy each, ended by their ids afterwards."""
    return [subprocess.Popen(["sha256sum", "/dev/zero"], stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL) for _ in range(count)]


def stop_busy(busy):
    for process in busy:
        if process.poll() is None:
            os.kill(process.pid, signal.SIGTERM)
            process.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", default=str(h.DEFAULT_BIN))
    parser.add_argument("--out", default=str(h.REPO / "build" / "preview-bench"))
    parser.add_argument("--rows", type=int, default=50)
    parser.add_argument("--busy", type=int, default=2)
    options = parser.parse_args()
    session = h.new_session("preview_bench", options.bin, Path(options.out))
    missing = h.missing_requirements(session.bin)
    if missing:
        print("preview_bench.py needs: " + ", ".join(missing), file=sys.stderr)
        return 1
    busy = []
    try:
        h.end_on_terminate()
        h.begin(session)
        tree = Path(options.out) / "photos"
        make_photos(session, tree, options.rows)
        busy = start_busy(options.busy)
        results, loads = {}, []
        for preview in (0, 1):
            results[preview] = walk(session, tree, options.rows, preview)
            loads.append(os.getloadavg()[0])
        stop_busy(busy)
        print("Machine: %d cores, %d busy processes of ours, load average %.1f and %.1f "
              "at the end of each walk" % (os.cpu_count(), options.busy, loads[0], loads[1]))
        off, on = results[0][0], results[1][0]
        print("Down to the row's speech over %d JPEGs of 6000 x 4000 and a PNG of "
              "10000 x 10000, %.1f s apart:" % (options.rows, PAUSE))
        print("  preview off: " + describe(off))
        print("  preview on:  " + describe(on))
        print("  ratio of the medians: %.2f" % (statistics.median(on) / statistics.median(off)))
        walked = results[1][1]
        cost = [int(d[1]) for d in walked]
        print("  decodes while walking: %d for %d rows (%d selections)%s" % (
            len(walked), options.rows + 1, options.rows,
            "; each %s" % describe([c / 1000 for c in cost]) if cost else ""))
        refused = results[1][6]
        print("  refused on their size: %s" % (
            [line.split("\t")[2] for line in refused] or "none"))
        for preview in (0, 1):
            passed, held = results[preview][2], results[preview][3]
            print("  Down held 2 s, preview %s: %d lines spoken, %d decodes %s" % (
                "on" if preview else "off", passed, len(held),
                [Path(d[3].replace("\\", "/")).name for d in held]))
        print("Tapping Down %.2f s after each row is spoken:" % BRISK)
        print("  preview off: " + describe(results[0][4]))
        print("  preview on:  " + describe(results[1][4]))
        ratio = statistics.median(results[1][4]) / statistics.median(results[0][4])
        print("  ratio of the medians: %.2f (goal: at most 1.5)" % ratio)
        print("Peak memory (VmHWM): preview off %.0f MB, preview on %.0f MB (goal: under %d MB)"
              % (results[0][5], results[1][5], PEAK_GOAL_MB))
        met = (ratio <= 1.5 and len(walked) <= options.rows + 1 and len(results[1][3]) <= 1
               and refused and all("\t10000x10000\t" in line for line in refused)
               and results[1][5] < PEAK_GOAL_MB)
        print("goal %s" % ("met" if met else "NOT met"))
        return 0
    except (Failure, subprocess.SubprocessError, OSError) as error:
        print("preview_bench.py stopped: %s" % error, file=sys.stderr)
        return 1
    finally:
        stop_busy(busy)
        h.teardown(session)


if __name__ == "__main__":
    sys.exit(main())
