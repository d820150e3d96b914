"""End-to-end scenarios of the row being read: its colours and the search box's
selected text in every scheme and with a hand-edited pair, at 36 and 72 points,
measured in the screenshots' pixels; a 120-character name shown whole in the
status bar (at 72 points its start, with the selected row whole, and the
rest a page at a time with Ctrl+Shift+Z); and the
selected row of the settings list whole inside the list after a larger font.
scenarios.py runs them by name."""

import re
import shutil
import subprocess

import harness as h
from harness import ASYNC, Failure
from image_preview import Picture

# The newest file comes first, so the long name is the selected row.
LONG_NAME = ("reading_" + "quarterly_statement_for_the_garden_allotment_society_"
             "with_every_receipt_scanned_and_checked_twice_by_ann_") + "x"
LONG_NAME = LONG_NAME[:116] + ".txt"
TREE = {
    "papers/" + LONG_NAME: (2048, "2024-06-05 10:00"),
    "papers/reading_list.txt": (40, "2024-06-01 10:00"),
    "papers/reading_notes.txt": (700, "2024-05-01 10:00"),
}
SCHEMES = [("Yellow on Blue", "#FFFF00", "#0000FF"), ("Black on White", "#000000", "#FFFFFF"),
           ("White on Black", "#FFFFFF", "#000000")]
LEAST_CONTRAST = 7.0


def luminance(colour):
    def linear(c):
        c /= 255
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (int(colour[i:i + 2], 16) for i in (1, 3, 5))
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b)


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def selected_band(picture, block, frame):
    """The rows (top, height) of the tallest run of the selected row's block
    colour down a column near the list's left edge, between the row's frame and
    its text, where only the block lies."""
    def across(y):  # a row of the block reaches across most of the list
        row = picture.rgb[3 * y * picture.width:3 * (y + 1) * picture.width]
        want = bytes.fromhex(block[1:])
        return sum(row[i:i + 3] == want for i in range(0, len(row), 3)) > picture.width * 0.6

    best = (0, 0)
    for x in range(20, 64, 4):
        start = None
        for y in range(picture.height + 1):
            inside = y < picture.height and picture.at(x, y) == block
            if inside and start is None:
                start = y
            elif not inside and start is not None:
                framed = start > 0 and picture.at(x, start - 1) == frame
                if y - start > best[1] and framed and across(start + 1):
                    best = (start, y - start)
                start = None
    return best


def main_colours(path, left, top, width, height):
    """The two colours that cover most of a box, most first."""
    histogram = subprocess.run(
        ["convert", str(path), "-crop", "%dx%d+%d+%d" % (width, height, left, top), "+repage",
         "-format", "%c", "histogram:info:-"], stdout=subprocess.PIPE, text=True,
        timeout=30).stdout
    counts = []
    for line in histogram.splitlines():
        found = re.match(r"\s*(\d+):.*(#[0-9A-Fa-f]{6})\b", line)
        if found:
            counts.append((int(found.group(1)), found.group(2).upper()))
    counts.sort(reverse=True)
    return [colour for _, colour in counts[:2]]


def check_selected_row(session, shot, block, frame, what):
    """The selected row is a block of `block` whose two main colours reach 7:1;
    returns its band."""
    picture = Picture(shot)
    top, height = selected_band(picture, block, frame)
    if height < 30:
        raise Failure("%s: no selected row drawn in %s at the list's left" % (what, block))
    colours = main_colours(shot, 20, top, picture.width - 40, height)
    ratio = contrast(*colours) if len(colours) == 2 else 1.0
    print("  %s: selected row %s on %s, %.2f:1, rows %d to %d" %
          (what, colours[-1], colours[0], ratio, top, top + height - 1))
    if ratio < LEAST_CONTRAST:
        raise Failure("%s: the selected row's colours %s reach only %.2f:1" %
                      (what, colours, ratio))
    return top, height


def box_selection(picture, block, ends, above):
    """The search box's selected text: the box (left, top, width, height) of
    the `block` colour's rows above the list's row `above` where a run of it
    at least 40 pixels long starts near the box's left edge and ends at one
    of the colours `ends` (the box's background, the selected letters'); its width that of the block's run at its foot,
    below the text, where no letter of that colour lies beside it."""
    def run(x, y):
        length = 0
        while x + length < picture.width and picture.at(x + length, y) == block:
            length += 1
        return length

    xs, ys = [], []
    for y in range(above):
        # The box's text starts a few pixels inside its left edge.
        x = next((x for x in range(8, 40) if picture.at(x, y) == block), None)
        length = run(x, y) if x is not None else 0
        if length >= 40 and picture.at(min(x + length, picture.width - 1), y) in ends:
            xs.append(x)
            ys.append(y)
    if not ys:
        return None
    left, top, bottom = min(xs), min(ys), max(ys)
    right = left
    while right + 1 < picture.width and picture.at(right + 1, bottom - 2) == block:
        right += 1
    return left, top, right - left + 1, bottom - top + 1


def check_box_selection(session, shot, text, background, list_row, what, letters=None):
    """The search box's selected text is a block of the scheme's text colour
    holding text in its background colour at 7:1 or more, in a box whose
    unselected part keeps the scheme's own background: the colours swapped,
    as in the list. Returns the block's box."""
    picture = Picture(shot)
    found = box_selection(picture, text, (background, letters or background), list_row - 5)
    if found is None or found[3] < 20:
        raise Failure("%s: no selected text drawn as a block of %s in the search box" %
                      (what, text))
    left, top, width, height = found
    colours = main_colours(shot, left, top, width, height)
    ratio = contrast(*colours) if len(colours) == 2 else 1.0
    print("  %s: search box selection %s on %s, %.2f:1, box %dx%d+%d+%d" %
          (what, colours[-1], colours[0], ratio, width, height, left, top))
    if colours[0] != text or ratio < LEAST_CONTRAST:
        raise Failure("%s: the search box's selection %s reaches only %.2f:1" %
                      (what, colours, ratio))
    return found


def status_area(picture, list_row):
    """The status bar's rows: from below the list's sunken bottom edge (the
    lowest line drawn in one colour across the list's width) to above the
    window's frame."""
    face = picture.at(4, list_row)
    bottom = max(y for y in range(picture.height) if picture.at(4, y) == face)
    left = next(x for x in range(4, picture.width) if picture.at(x, list_row) != face)
    right = picture.width - left

    def edge_line(y):
        row = picture.rgb[3 * (y * picture.width + left):3 * (y * picture.width + right)]
        return row[:3] != bytes.fromhex(face[1:]) and row == row[:3] * (len(row) // 3)

    top = max(y for y in range(list_row, bottom) if edge_line(y)) + 1
    return top, bottom - top


def list_background(shot, list_row, x=1000):
    """A point of the list's empty foot in a screenshot where the list's rows
    end above it: above its bottom edge and horizontal scroll bar (17 pixels
    at 96 dots an inch), inside a run of one colour, off the grid lines."""
    picture = Picture(shot)
    top, _ = status_area(picture, list_row)
    y = top - 25
    while y > list_row and len({picture.at(x, y - i) for i in range(6)}) > 1:
        y -= 1
    return (x, y - 2)


def read_text(shot, top, height, what, width=10000):
    """The status bar's text as tesseract reads it, blanks and line breaks
    dropped; None where tesseract is not installed."""
    if shutil.which("tesseract") is None:
        return None
    crop = shot.with_name(shot.stem + "-status.png")
    subprocess.run(["convert", str(shot), "-crop", "%dx%d+0+%d" % (width, height, top), "+repage",
                    str(crop)], check=True, timeout=30)
    text = subprocess.run(["tesseract", str(crop), "-", "--psm", "6"], stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True, timeout=60).stdout
    print("  %s: status bar read as %r" % (what, text.strip()))
    return re.sub(r"\s+", "", text).lower()


def check_whole_name(session, shot, points, list_row, least_lines=3, whole=True):
    """The status bar holds the long name whole (or, where it cannot, its
    beginning), on several lines, none cut at its bottom edge."""
    picture = Picture(shot)
    top, height = status_area(picture, list_row)
    lines = h.dark_runs(shot, 10, top, picture.width - 20, height)
    what = "%d points" % points
    print("  %s: status bar rows %d to %d, text lines %s" % (what, top, top + height - 1, lines))
    if len(lines) < least_lines:
        raise Failure("%s: the status bar shows %d line(s), not the whole row" % (what, len(lines)))
    last_top, last_height = lines[-1]
    if last_top + last_height >= top + height - 1:
        raise Failure("%s: the status bar's last line is cut at its edge" % what)
    text = read_text(shot, top, height, what)
    if text is not None:
        # Tesseract reads some underscores as blanks or drops them; the name's
        # words must all be there, in order.
        words = [w for w in re.split(r"[_.]", LONG_NAME.lower()) if w]
        if not whole:
            words = words[:3]
        found = text.replace("_", "")
        at = 0
        for word in words:
            at = found.find(word, at)
            if at < 0:
                raise Failure("%s: the status bar lacks %r of the long name" % (what, word))
            at += len(word)


def check_status_pages(session, first_shot, list_row):
    """Ctrl+Shift+Z shows the status text's next lines, in the same type,
    until the first page comes back: read together, the pages hold the whole
    long name, each page's lines whole, each page but the last marked at its
    right as having more."""
    texts, pages, page = [], None, 1
    shot = first_shot
    while True:
        picture = Picture(shot)
        top, height = status_area(picture, list_row)
        lines = h.dark_runs(shot, 10, top, picture.width - 20, height)
        if not lines:
            raise Failure("72 points, status page %d: the status bar shows nothing" % page)
        last_top, last_height = lines[-1]
        if last_top + last_height >= top + height - 1:
            raise Failure("72 points, status page %d: its last line is cut" % page)
        if last_height < 32:  # a third of 72-point type at 96 dots an inch
            raise Failure("72 points, status page %d: lines of %d pixels, not the large type" %
                          (page, last_height))
        # Right of the text, which breaks short of it, a mark while lines follow.
        mark = h.dark_runs(shot, picture.width - 70, top, 45, height)
        if bool(mark) != (pages is None or page < pages):
            raise Failure("72 points, status page %d of %s: the mark that more lines follow "
                          "is %s" % (page, pages, "there" if mark else "missing"))
        texts.append(read_text(shot, top, height, "72 points, status page %d" % page,
                               width=picture.width - 90))
        h.keys(session, "ctrl+shift+z")
        said = h.expect(session, (ASYNC, re.compile(r"Status Page (\d+) of (\d+)$")), timeout=30)
        now, count = (int(n) for n in re.search(r"(\d+) of (\d+)$", said).groups())
        if pages is None:
            pages = count
            if pages < 2:
                raise Failure("72 points: the long name's text is said to fit on %d page" % pages)
        if count != pages or now != page % pages + 1:
            raise Failure("72 points: after page %d of %d heard %r" % (page, pages, said))
        h.settle(session)
        if now == 1:
            break
        page = now
        shot = h.screenshot(session, "reading-72-status-page-%d" % page)
    print("  72 points: the status text in %d pages" % pages)
    if None in texts:
        return
    # Tesseract reads some underscores as blanks or drops them, and an i at a
    # line's start may come out as an l; the name's words must all be there,
    # in order, across the pages.
    same = str.maketrans("l1|", "iii")
    found = "".join(texts).replace("_", "").translate(same)
    at = 0
    for word in (w for w in re.split(r"[_.]", LONG_NAME.lower()) if w):
        at = found.find(word.translate(same), at)
        if at < 0:
            raise Failure("72 points: the status pages lack %r of the long name" % word)
        at += len(word)


def check_two_rows(shot, first_row, row_height):
    """Below its header the list shows the selected first row and the next
    one whole above the status bar: where the user is, among the others."""
    # The band lies inside the row's frame, a stroke of about a fourteenth of
    # the row at each edge.
    frame = max(2, row_height // 12)
    status_top, _ = status_area(Picture(shot), first_row)
    room = status_top - 2 - (first_row - frame)
    row_height += 2 * frame
    print("  36 points: %d pixels of list below the header, rows of %d" % (room, row_height))
    if room < 2 * row_height:
        raise Failure("at 36 points the list shows less than two whole rows (%d pixels for rows "
                      "of %d)" % (room, row_height))


def check_search_box(session, scheme, text, background, list_row):
    """The search term selected whole, then three characters fewer with
    Shift+Left: the block follows the selection and leaves no trace, and the
    box still takes typing afterwards."""
    name = scheme.replace(" ", "_").lower()
    h.keys(session, "shift+Tab")
    h.expect(session, (ASYNC, re.compile(r"SearchBox has focus")), timeout=30)
    h.keys(session, "ctrl+a")
    h.settle(session)
    shot = h.screenshot(session, "reading-box-" + name)
    left, top, width, height = check_box_selection(session, shot, text, background, list_row,
                                                   "36 points, " + scheme)
    for _ in range(3):
        h.keys(session, "shift+Left")
    h.settle(session)
    shot = h.screenshot(session, "reading-box-shorter-" + name)
    shorter = check_box_selection(session, shot, text, background, list_row,
                                  "36 points, Shift+Left, " + scheme)
    if not (shorter[0] == left and 0 < shorter[2] < width - 20):
        raise Failure("%s: after Shift+Left the selection's block runs %s, not shorter than %s" %
                      (scheme, shorter, (left, top, width, height)))
    # Where the three characters were, the box's own background again.
    gone = main_colours(shot, shorter[0] + shorter[2] + 2, top, width - shorter[2] - 4, height)
    if gone[0] != background:
        raise Failure("%s: the deselected characters still show %s" % (scheme, gone))
    h.keys(session, "End", "Tab")
    h.settle(session)


def reading(session):
    h.prepare_folder(session, ini=["SearchTerm=reading_", "ShowToolbar= 1"])
    tree = h.make_tree(session.out / session.name / "tree", TREE)
    h.start_program(session, [tree])
    h.keys(session, "ctrl+f")
    h.expect(session, (ASYNC, re.compile(r"Search is complete : 3 Matches : ")), timeout=60)
    h.settle(session)

    for scheme, text, background in SCHEMES:
        shot = h.screenshot(session, "reading-36-" + scheme.replace(" ", "_").lower())
        row, height = check_selected_row(session, shot, text, background,
                                    "36 points, " + scheme)
        if scheme == SCHEMES[0][0]:
            check_whole_name(session, shot, 36, row)
            check_two_rows(shot, row, height)
        check_search_box(session, scheme, text, background, row)
        h.keys(session, "ctrl+y")
        h.settle(session)

    # Back at yellow on blue: 72 points, nine steps of four.
    for _ in range(9):
        h.keys(session, "ctrl+shift+l")
    h.expect(session, (ASYNC, re.compile(r"Font Size is  72$")), timeout=30)
    h.settle(session)
    shot = h.screenshot(session, "reading-72")
    # 120 characters of 72-point type need six lines of 112 pixels, the row's
    # whole text eleven: more than the whole window. The list gives up its
    # header and keeps the selected row; the status bar shows the text from
    # its start on the lines that room holds, none cut.
    top, height = check_selected_row(session, shot, SCHEMES[0][1], SCHEMES[0][2],
                                     "72 points")
    check_whole_name(session, shot, 72, top, least_lines=2, whole=False)
    if top + height > status_area(Picture(shot), top)[0] - 2:
        raise Failure("at 72 points the selected row is not whole above the status bar")
    check_status_pages(session, shot, top)

    # The settings list at 36 points: row 23 (the font's own row), then a
    # larger font; the row must stay whole above the status bar.
    for _ in range(9):
        h.keys(session, "ctrl+shift+m")
    h.expect(session, (ASYNC, re.compile(r"Font Size is  36$")), timeout=30)
    h.keys(session, "F1")
    h.settle(session)
    for _ in range(22):
        h.keys(session, "Down")
    h.expect(session, (ASYNC, re.compile(r"^23 Increase Font Size")), timeout=30)
    h.keys(session, "ctrl+shift+l")
    h.expect(session, (ASYNC, re.compile(r"Font Size is  40$")), timeout=30)
    h.settle(session)
    shot = h.screenshot(session, "reading-settings-row-23")
    top, height = check_selected_row(session, shot, SCHEMES[0][1], SCHEMES[0][2],
                                     "settings list, 40 points")
    status_top, _ = status_area(Picture(shot), top)
    font_pixels = 40 * 96 // 72
    if height < font_pixels or top + height > status_top - 2:
        raise Failure("the selected row (rows %d to %d) is not whole above the status bar at %d" %
                      (top, top + height - 1, status_top))


def reading_edited_colours(session):
    """A grey on grey written into the INI by hand reads at 1.2:1; the
    selected row and the search box's selected text are white on black."""
    h.prepare_folder(session, ini=["SearchTerm=reading_", "ShowToolbar= 1", "FG= 8421504",
                                   "BG= 9474192"])
    tree = h.make_tree(session.out / session.name / "tree", TREE)
    h.start_program(session, [tree])
    h.keys(session, "ctrl+f")
    h.expect(session, (ASYNC, re.compile(r"Search is complete : 3 Matches : ")), timeout=60)
    h.settle(session)
    shot = h.screenshot(session, "reading-edited-colours")
    row, _ = check_selected_row(session, shot, "#000000", "#FFFFFF", "grey on grey")
    h.keys(session, "shift+Tab")
    h.expect(session, (ASYNC, re.compile(r"SearchBox has focus")), timeout=30)
    h.keys(session, "ctrl+a")
    h.settle(session)
    shot = h.screenshot(session, "reading-edited-colours-box")
    check_box_selection(session, shot, "#000000", "#909090", row, "grey on grey",
                        letters="#FFFFFF")


SCENARIOS = {"reading": reading, "reading_edited_colours": reading_edited_colours}
