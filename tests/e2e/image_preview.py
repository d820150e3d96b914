"""End-to-end scenario of the image preview: known pictures in the pane, checked
in the screenshot's pixels for their size and place on each background;
scenarios.py runs it by name."""

import os
import re
import subprocess
import time

import harness as h
from harness import ASYNC, Failure

# Solid pictures of known colours, newest first in the result (sorted by date):
# a small square shown at its own size, a banner wider than the pane, a
# portrait taller than it; then a text file and an image the decoder refuses.
PICTURES = [
    ("pv_square.png", 120, 120, "#FF0000", "2024-06-05 10:00"),
    ("pv_banner.png", 1400, 100, "#00FF00", "2024-06-04 10:00"),
    ("pv_portrait.bmp", 90, 1500, "#FF00FF", "2024-06-03 10:00"),
]
OTHERS = [("pv_notes.txt", b"notes", "2024-06-02 10:00"),
          ("pv_drawing.svg", b"<svg xmlns='http://www.w3.org/2000/svg'/>", "2024-06-01 10:00")]
BACKGROUNDS = [("White", "#FFFFFF"), ("Black", "#000000"), ("Blue", "#0000FF")]
INI = ["SearchTerm=pv_", "ShowPreview= 1", "PreviewResize= 0", "ImageBG= 0"]


def make_pictures(session, folder):
    folder.mkdir(parents=True, exist_ok=True)
    for name, width, height, colour, stamp in PICTURES:
        h.run(session, ["convert", "-size", "%dx%d" % (width, height), "xc:" + colour,
                     str(folder / name)])
        moment = time.mktime(time.strptime(stamp, "%Y-%m-%d %H:%M"))
        os.utime(folder / name, (moment, moment))
    for name, data, stamp in OTHERS:
        (folder / name).write_bytes(data)
        moment = time.mktime(time.strptime(stamp, "%Y-%m-%d %H:%M"))
        os.utime(folder / name, (moment, moment))


class Picture:
    """A screenshot's pixels, for finding boxes of one colour."""

    def __init__(self, path):
        size = subprocess.run(["identify", "-format", "%w %h", str(path)],
                              stdout=subprocess.PIPE, text=True, timeout=30, check=True).stdout
        self.width, self.height = (int(n) for n in size.split())
        self.rgb = subprocess.run(["convert", str(path), "-depth", "8", "rgb:-"],
                                  stdout=subprocess.PIPE, timeout=30, check=True).stdout

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return "#%02X%02X%02X" % tuple(self.rgb[i:i + 3])

    def box_of(self, colour):
        """The smallest box (left, top, width, height) holding every pixel of the colour."""
        want = bytes.fromhex(colour[1:])
        xs, ys = [], []
        for y in range(self.height):
            row = self.rgb[3 * y * self.width:3 * (y + 1) * self.width]
            start = row.find(want)
            while start >= 0 and start % 3:
                start = row.find(want, start + 1)
            if start < 0:
                continue
            end = row.rfind(want)
            while end % 3:
                end = row.rfind(want, 0, end)
            xs += [start // 3, end // 3]
            ys.append(y)
        if not xs:
            return None
        return min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1

    def run_of(self, x, y, dx, dy, colour):
        """How far the colour reaches from (x, y) in a direction."""
        n = 0
        while 0 <= x + dx * (n + 1) < self.width and 0 <= y + dy * (n + 1) < self.height and \
                self.at(x + dx * (n + 1), y + dy * (n + 1)) == colour:
            n += 1
        return n


def pane_around(picture, box, background):
    """The pane's drawing area around the image: the background reaches from the
    image to the pane's border on each side."""
    x, y, width, height = box
    mx, my = x + width // 2, y + height // 2
    left = x - picture.run_of(x, my, -1, 0, background)
    right = x + width - 1 + picture.run_of(x + width - 1, my, 1, 0, background)
    top = y - picture.run_of(mx, y, 0, -1, background)
    bottom = y + height - 1 + picture.run_of(mx, y + height - 1, 0, 1, background)
    return left, top, right - left + 1, bottom - top + 1


def fitted(width, height, cw, ch):
    """What the pane shows of a picture without resizing: its own size, or shrunk
    to touch two opposite edges keeping its proportions."""
    if cw >= width and ch >= height:
        return width, height
    f = max(width / cw, height / ch)
    return round(width / f), round(height / f)


def check_picture(session, shot, picture, background):
    name, width, height, colour, _ = picture
    seen = Picture(shot)
    box = seen.box_of(colour)
    if box is None:
        raise Failure("%s: no %s pixels of %s in the screenshot" % (shot.name, colour, name))
    x, y, w, h_ = box
    # The box is filled with the picture's colour: no pixel of another colour inside.
    inside = h.colours(shot, x, y, w, h_)
    if inside != {colour}:
        raise Failure("%s: %s shows %s inside its box %s" % (shot.name, name, inside, box))
    left, top, cw, ch = pane_around(seen, box, background)
    if seen.at(left + 2, top + 2) != background:
        raise Failure("%s: the pane's corner is %s, not %s" % (shot.name, seen.at(left + 2, top + 2),
                                                               background))
    want = fitted(width, height, cw, ch)
    if abs(w - want[0]) > 1 or abs(h_ - want[1]) > 1:
        raise Failure("%s: %s is %dx%d in a %dx%d pane, not %dx%d" %
                      (shot.name, name, w, h_, cw, ch, want[0], want[1]))
    # Centred: the margins on opposite sides differ by at most the rounding.
    margins = (x - left, left + cw - (x + w), y - top, top + ch - (y + h_))
    if abs(margins[0] - margins[1]) > 1 or abs(margins[2] - margins[3]) > 1:
        raise Failure("%s: %s is not centred; margins left, right, top, bottom %s" %
                      (shot.name, name, margins))
    print("  %s on %s: %dx%d at (%d, %d) in a %dx%d pane at (%d, %d)" %
          (name, background, w, h_, x - left, y - top, cw, ch, left, top))
    return left, top, cw, ch


def shows_text(session, shot, pane, colour):
    """The pane holds text of this colour."""
    left, top, cw, ch = pane
    return colour in h.colours(shot, left, top, cw, ch)


def image_preview(session):
    """Each picture on each background: its size and centring in the pane; a
    text file says "Not An Image", an svg the decoder refuses says so too."""
    h.prepare_folder(session, ini=INI)
    tree = session.out / session.name / "tree"
    if tree.exists():
        subprocess.run(["rm", "-rf", str(tree)], check=True)
    make_pictures(session, tree)
    h.start_program(session, [tree])
    h.keys(session, "ctrl+f")
    h.expect(session, (ASYNC, re.compile(r"Search is complete : 5 Matches : pv_square\.png$")),
             timeout=60)
    pane, square_pane, now = None, None, 0  # ImageBG 0: White
    for index, picture in enumerate(PICTURES):
        if index:
            h.keys(session, "Down")
            h.expect(session, (ASYNC, picture[0]), next_line=True)
        for step in range(len(BACKGROUNDS)):
            if step:
                now = (now + 1) % len(BACKGROUNDS)
                h.keys(session, "ctrl+shift+i")
                h.expect(session, (ASYNC, re.compile("Image Background is " + BACKGROUNDS[now][0] +
                                                     "$")))
            spoken, background = BACKGROUNDS[now]
            h.settle(session)
            time.sleep(0.5)  # the picture is decoded once the keys are quiet
            shot = h.screenshot(session, "image_preview-%s-%s" % (picture[0][3:-4],
                                                                   spoken.lower()))
            pane = check_picture(session, shot, picture, background)
            if index == 0:
                # The status bar's height follows the selected row's text, and
                # the pane's height follows it: the square's own pane.
                square_pane = pane
    h.keys(session, "Down")
    h.expect(session, (ASYNC, "pv_notes.txt"), next_line=True)
    h.settle(session)
    shot = h.screenshot(session, "image_preview-not-an-image")
    # The scheme's yellow would fade on the white background: the text is black.
    if not shows_text(session, shot, pane, "#000000"):
        raise Failure("no black text on white in the pane for a text file")
    h.keys(session, "Down")
    h.expect(session, (ASYNC, "Bottom of List : pv_drawing.svg"), next_line=True)
    h.settle(session)
    time.sleep(0.5)
    shot = h.screenshot(session, "image_preview-cannot-show")
    if not shows_text(session, shot, pane, "#000000"):
        raise Failure("no black text on white in the pane for an svg the decoder refuses")
    # Back to the square, then a click on the pane fits it to the pane.
    h.keys(session, "Home")
    h.expect(session, (ASYNC, "Top of List : pv_square.png"))
    left, top, cw, ch = square_pane
    h.run(session, ["xdotool", "mousemove", str(left + 5), str(top + 5), "click", "1"])
    h.expect(session, (ASYNC, "Preview Resize is ON"))
    h.settle(session)
    time.sleep(0.5)
    shot = h.screenshot(session, "image_preview-resized")
    seen = Picture(shot)
    box = seen.box_of(PICTURES[0][3])
    side = min(cw, ch)
    if box is None or abs(box[2] - side) > 1 or abs(box[3] - side) > 1:
        raise Failure("after the click the square is %s, not %d wide and high" % (box, side))


SCENARIOS = {"image_preview": image_preview}
