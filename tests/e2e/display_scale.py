"""End-to-end scenario of the display scale: the program at 96, 144 and 192 dots
an inch on screens that grow the same way (1280x800, 1920x1200, 2560x1600), a
search run so the list has rows. The toolbar, its pictures and captions, the
search box's text and the status bar's text must take the same share of the
screen at each, and no caption or status text may touch the edge that cuts it. It sets the scale in its own Wine
prefix, so the other scenarios stay at 96; scenarios.py runs it by name."""

import harness as h
from harness import ASYNC, Failure
from image_preview import Picture

SCALES = [(96, "1280x800"), (144, "1920x1200"), (192, "2560x1600")]
TREE = {
    "maps/texas_road_map.pdf": (2048, "2024-03-05 10:00"),
    "notes/Texas Notes.txt": (700, "2023-06-01 09:30"),
    "texas trips/itinerary.txt": (300, "2024-05-02 11:00"),
    "texas trips/": (0, "2024-05-01 11:00"),
}
YELLOW, BLUE, TOOLBAR = "#FFFF00", "#0000FF", "#F5F5F5"
# The share of the screen may differ by this much from that at 96: a font is
# made in whole pixels, and Wine's controls add a pixel or two of their own.
TOLERANCE = 0.08


def set_scale(session, dpi, screen):
    """A new display of the size, and the scale in the prefix's registry; the
    Wine server reads it when it starts again."""
    h.stop_wine(session)
    if session.xvfb is not None:
        h.stop_process(session.xvfb)
        session.xvfb = None
    session.screen = screen
    h.start_display(session)
    h.run(session, ["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                    "/t", "REG_DWORD", "/d", str(dpi), "/f"], timeout=120)
    h.run(session, ["wineserver", "-w"], timeout=60)


def bands(picture, wanted, left, top, width, height):
    """The bands of rows in a box that hold a pixel for which `wanted(r, g, b)`
    is true, top to bottom, as (first row, number of rows)."""
    found, start = [], None
    for y in range(top, top + height + 1):
        has = False
        if y < top + height:
            row = picture.rgb[3 * (y * picture.width + left):3 * (y * picture.width + left + width)]
            has = any(wanted(row[i], row[i + 1], row[i + 2]) for i in range(0, len(row), 3))
        if has and start is None:
            start = y
        elif not has and start is not None:
            found.append((start, y - start))
            start = None
    return found


def colour(hex_text):
    want = tuple(bytes.fromhex(hex_text[1:]))
    return lambda r, g, b: (r, g, b) == want


def dark(r, g, b):
    return r < 100 and g < 100 and b < 100


def measure(session, picture):
    """Heights in pixels of what the user reads: the toolbar (below the
    caption bar), the Exit button's picture and caption, the search box's text
    and the status bar's text; and whether a caption or the status text
    touches the edge that would cut it."""
    left, top, width, height = window_client(session)
    if left < 0 or top < 0 or left + width > picture.width or top + height > picture.height:
        raise Failure("the window at %r is not wholly on the %dx%d screen" % (
            (left, top, width, height), picture.width, picture.height))
    blue = bands(picture, colour(BLUE), left + width // 2, top, 1, height)
    if not blue:
        raise Failure("no blue search box or list in the window at %r" % ((left, top, width,
                                                                            height),))
    box_top, list_bottom = blue[0][0], blue[-1][0] + blue[-1][1]
    # The caption bar ends where the toolbar's light grey begins, at its right end.
    light = bands(picture, colour(TOOLBAR), left + width * 9 // 10, top, 1, box_top - top)
    if not light:
        raise Failure("no toolbar above the search box")
    toolbar_top = light[0][0]
    # The Exit button: its picture, then its caption below it.
    exit_marks = bands(picture, dark, left, toolbar_top, width // 10, box_top - toolbar_top)
    text = bands(picture, colour(YELLOW), left, box_top, width // 2, blue[0][1])
    status = bands(picture, dark, left + width // 10, list_bottom, width * 2 // 5,
                   top + height - list_bottom)
    if len(exit_marks) < 2 or not text or not status:
        raise Failure("missing: Exit picture and caption %r, search text %r, status text %r" % (
            exit_marks, text, status))
    icon = (exit_marks[0][0], exit_marks[-2][0] + exit_marks[-2][1])
    caption, status_text = exit_marks[-1], status[-1]
    return {"toolbar": box_top - toolbar_top, "icon": icon[1] - icon[0],
            "caption": caption[1], "search text": text[0][1], "status text": status_text[1],
            "caption room": box_top - (caption[0] + caption[1]),
            "status room": top + height - (status_text[0] + status_text[1])}


def window_client(session):
    """The main window's box on the screen: (left, top, width, height)."""
    info = h.run(session, ["xwininfo", "-id", h.main_window(session)])
    fields = dict(line.strip().split(":", 1) for line in info.splitlines() if ":" in line)
    return tuple(int(fields[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y",
                                          "Width", "Height"))


def run_at(session, dpi, screen, tree):
    set_scale(session, dpi, screen)
    h.prepare_folder(session)
    h.start_program(session, [tree])
    h.settle(session)
    h.keys(session, "Return")
    h.expect(session, (ASYNC, h.re.compile("Search is complete : ")), timeout=60)
    h.settle(session)
    shot = h.screenshot(session, "display_scale-%d" % dpi)
    return measure(session, Picture(shot))  # the next scale's start ends this program


def display_scale(session):
    tree = h.make_tree(session.out / session.name / "tree", TREE)
    found = {}
    for dpi, screen in SCALES:
        found[dpi] = run_at(session, dpi, screen, tree)
        print("  %d dpi on %s: %r" % (dpi, screen, found[dpi]))
        for what in ("caption room", "status room"):
            if found[dpi][what] < 2:
                raise Failure("at %d dpi the %s is cut off: %d pixels to the edge" % (
                    dpi, what.split()[0], found[dpi][what]))
    base_height = int(SCALES[0][1].split("x")[1])
    for dpi, screen in SCALES[1:]:
        screen_height = int(screen.split("x")[1])
        for what in ("toolbar", "icon", "caption", "search text", "status text"):
            share, share96 = found[dpi][what] / screen_height, found[96][what] / base_height
            if abs(share / share96 - 1) > TOLERANCE:
                raise Failure("at %d dpi the %s is %d pixels of %d, at 96 %d of %d" % (
                    dpi, what, found[dpi][what], screen_height, found[96][what], base_height))


# The scale is a setting of the prefix: this scenario keeps a prefix of its own.
display_scale.prefix = "wineprefix-scale"

SCENARIOS = {"display_scale": display_scale}
