#!/usr/bin/env python3
"""Draws Lumafind's icons as 256 x 256 SVG files.

Every pictogram is a handful of bold shapes with a thick black outline and,
behind everything, a white halo of the same silhouette: the black edge carries
the shape on a light toolbar and the halo carries it on a dark one. Fills come
from a small palette (yellow, white, blue) so the icons stay apart when the
user's colour scheme changes the toolbar behind them.

Usage: draw_icons.py OUTPUT_FOLDER
"""

import math
import os
import sys

SIZE = 256
LINE = 14  # black outline, about 2.6 px at the smallest toolbar size (48)
HALO = 16  # extra width of the white halo around the outline

BLACK = "#000000"
WHITE = "#ffffff"
YELLOW = "#ffd200"
BLUE = "#1f63e6"
PALE = "#cfe6ff"


# A shape is (tag, attributes, fill, outline width, outline colour).
def shape(tag, attrs, fill, width=LINE, edge=BLACK):
    return (tag, attrs, fill, width, edge)


def rect(x, y, w, h, fill, r=10, width=LINE):
    return shape("rect", {"x": x, "y": y, "width": w, "height": h, "rx": r}, fill, width)


def circle(cx, cy, r, fill, width=LINE):
    return shape("circle", {"cx": cx, "cy": cy, "r": r}, fill, width)


def path(d, fill, width=LINE):
    return shape("path", {"d": d}, fill, width)


def polygon(points, fill, width=LINE):
    text = " ".join(f"{x:.1f},{y:.1f}" for x, y in points)
    return shape("polygon", {"points": text}, fill, width)


def stroke(d, colour, width):
    """An open line of the given colour, edged in black on both sides."""
    return [path(d, "none", width + 2 * LINE), shape("path", {"d": d}, "none", width, colour)]


def element(item, halo):
    tag, attrs, fill, width, edge = item
    if halo and edge != BLACK:
        return ""  # a coloured line lies on its black twin, which has the halo
    if halo:
        fill, edge, width = ("none" if fill == "none" else WHITE), WHITE, width + HALO
    text = f"<{tag}" + "".join(f' {k}="{v}"' for k, v in attrs.items())
    text += f' fill="{fill}"'
    if width > 0:
        text += f' stroke="{edge}" stroke-width="{width}"'
    return text + ' stroke-linecap="round" stroke-linejoin="round"/>'


def svg(items):
    flat = []
    for item in items:
        flat.extend(item if isinstance(item, list) else [item])
    # All halos first, so no halo paints over a neighbouring shape's outline.
    body = [element(i, True) for i in flat] + [element(i, False) for i in flat]
    lines = "\n  ".join(b for b in body if b)
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" '
        f'viewBox="0 0 {SIZE} {SIZE}">\n  {lines}\n</svg>\n'
    )


# ---- building blocks -------------------------------------------------------


def document(x, y, w, h, fill=WHITE, lines=3):
    fold = w * 0.3
    outline = f"M{x},{y} H{x + w - fold} L{x + w},{y + fold} V{y + h} H{x} Z"
    items = [path(outline, fill)]
    items.append(path(f"M{x + w - fold},{y} V{y + fold} H{x + w}", "none"))
    step = (h - fold) / (lines + 1)
    for i in range(lines):
        ly = y + fold + step * (i + 0.6)
        items.append(path(f"M{x + w * 0.2},{ly:.1f} H{x + w * 0.8}", "none", 12))
    return items


def folder(x, y, w, h, fill=YELLOW):
    tab = h * 0.2
    d = (
        f"M{x},{y + h} V{y} H{x + w * 0.38} L{x + w * 0.48},{y + tab} "
        f"H{x + w} V{y + h} Z"
    )
    return [path(d, fill), path(f"M{x},{y + tab * 1.9} H{x + w}", "none", 10)]


def open_folder(x, y, w, h):
    tab = h * 0.2
    back = (
        f"M{x},{y + h} V{y} H{x + w * 0.38} L{x + w * 0.48},{y + tab} "
        f"H{x + w * 0.86} V{y + h * 0.36}"
    )
    front = [(x, y + h), (x + w * 0.2, y + h * 0.36), (x + w, y + h * 0.36), (x + w * 0.82, y + h)]
    return [path(back + " Z", YELLOW), polygon(front, WHITE)]


def arrow(x1, y1, x2, y2, fill, shaft=30, head=80, length=62):
    """A solid arrow from (x1, y1) with its point at (x2, y2)."""
    dx, dy = x2 - x1, y2 - y1
    n = math.hypot(dx, dy)
    ux, uy = dx / n, dy / n
    px, py = -uy, ux
    bx, by = x2 - ux * length, y2 - uy * length

    def at(ax, ay, side):
        return (ax + px * side, ay + py * side)

    pts = [
        at(x1, y1, shaft / 2),
        at(bx, by, shaft / 2),
        at(bx, by, head / 2),
        (x2, y2),
        at(bx, by, -head / 2),
        at(bx, by, -shaft / 2),
        at(x1, y1, -shaft / 2),
    ]
    return polygon(pts, fill)


def plus_badge(cx, cy, r, fill, sign):
    arm = r * 0.55
    return [
        circle(cx, cy, r, fill),
        stroke(f"M{cx - arm},{cy} H{cx + arm} M{cx},{cy - arm} V{cy + arm}", sign, 20),
    ]


def magnifier(cx, cy, r, lens, rim, handle):
    """A lens with a two-tone rim and a thick handle towards the lower right."""
    d = r / math.sqrt(2)
    hx, hy = cx + d * 1.05, cy + d * 1.05
    ex, ey = cx + d * 2.2, cy + d * 2.2
    return [
        stroke(f"M{hx:.1f},{hy:.1f} L{ex:.1f},{ey:.1f}", handle, 30),
        circle(cx, cy, r, lens, 46),
        shape("circle", {"cx": cx, "cy": cy, "r": r}, "none", 18, rim),
    ]


def gear(cx, cy, outer, inner, teeth, fill):
    pts = []
    span = 360 / teeth
    for i in range(teeth):
        a = i * span
        for angle, radius in (
            (a - span * 0.22, outer),
            (a + span * 0.22, outer),
            (a + span * 0.32, inner),
            (a + span * 0.68, inner),
        ):
            t = math.radians(angle)
            pts.append((cx + radius * math.cos(t), cy + radius * math.sin(t)))
    return [polygon(pts, fill), circle(cx, cy, outer * 0.34, WHITE)]


def page_digit(strokes):
    return [rect(30, 30, 196, 196, YELLOW, 30), path(strokes, "none", 34)]


# ---- the icons -------------------------------------------------------------


def zexit():
    return [
        rect(34, 24, 120, 208, BLUE, 8),
        arrow(110, 128, 236, 128, YELLOW, 40, 104, 64),
    ]


def zsearch():
    return magnifier(104, 104, 66, PALE, YELLOW, YELLOW)


def zopen():
    return open_folder(22, 70, 206, 154) + [arrow(96, 150, 210, 36, BLUE, 30, 84, 58)]


def zfile():
    return document(30, 24, 150, 206) + [arrow(112, 200, 230, 82, BLUE, 32, 88, 60)]


def zfolder():
    return open_folder(22, 48, 212, 168)


def zcolor():
    return [
        circle(128, 128, 100, YELLOW),
        path("M128,28 A100,100 0 0 1 128,228 Z", BLUE, 0),
        circle(128, 128, 100, "none"),
        path("M128,28 V228", "none"),
    ]


def znew():
    return document(36, 22, 140, 196) + plus_badge(182, 180, 52, YELLOW, WHITE)


def zcopy():
    return document(30, 22, 126, 168, YELLOW, 2) + document(100, 66, 126, 168, WHITE, 3)


def zsfiles():
    return document(48, 22, 160, 212, WHITE, 4)


def zsfolders():
    return folder(24, 52, 208, 160)


def zsboth():
    return document(26, 20, 120, 164, WHITE, 3) + folder(86, 110, 148, 122)


def zscustom():
    funnel = [(22, 34), (234, 34), (158, 132), (158, 224), (98, 194), (98, 132)]
    return [polygon(funnel, BLUE), path("M50,64 H206", "none", 10)]


def zexpand():
    return folder(18, 40, 190, 150) + plus_badge(182, 182, 52, BLUE, WHITE)


def zhelp():
    mark = "M88,98 C88,44 170,44 170,94 C170,130 128,128 128,164"
    return [circle(128, 128, 108, BLUE)] + [stroke(mark, WHITE, 32), circle(128, 202, 19, WHITE, 10)]


def zprinter():
    return [
        rect(70, 22, 116, 86, WHITE, 4),
        rect(22, 92, 212, 100, BLUE, 22),
        circle(196, 122, 11, YELLOW, 8),
        rect(62, 150, 132, 86, WHITE, 4),
        path("M86,180 H170 M86,208 H150", "none", 12),
    ]


def zpreview():
    hills = "M34,196 L96,118 L134,164 L164,132 L222,196 Z"
    return [
        rect(22, 42, 212, 172, WHITE, 12),
        circle(176, 88, 22, YELLOW, 10),
        path(hills, BLUE, 10),
        rect(22, 42, 212, 172, "none", 12),
    ]


def z1():
    return page_digit("M100,88 L140,62 V194 M98,194 H178")


def z2():
    return page_digit("M88,98 C88,52 170,52 170,98 C170,134 112,152 88,194 H174")


def z3():
    return page_digit(
        "M90,80 C104,50 168,54 166,94 C164,120 136,126 118,126 "
        "C150,126 172,138 170,166 C166,210 102,210 88,178"
    )


def zsettings():
    return gear(128, 128, 106, 80, 8, BLUE)


def logo():
    return [rect(10, 10, 236, 236, BLUE, 46, 10)] + magnifier(108, 108, 62, WHITE, YELLOW, YELLOW)


def xfolder():
    # Shown at 24 px in the result list: fewer, fatter lines and no inner rule.
    tab = 30
    d = f"M22,216 V48 H104 L124,{48 + tab} H234 V216 Z"
    return [path(d, YELLOW, 22), path(f"M22,{48 + tab + 22} H234", "none", 18)]


ICONS = {
    "zexit": zexit,
    "zsearch": zsearch,
    "zopen": zopen,
    "zfile": zfile,
    "zfolder": zfolder,
    "zcolor": zcolor,
    "znew": znew,
    "zcopy": zcopy,
    "zsfiles": zsfiles,
    "zsfolders": zsfolders,
    "zsboth": zsboth,
    "zscustom": zscustom,
    "zexpand": zexpand,
    "zhelp": zhelp,
    "zprinter": zprinter,
    "zpreview": zpreview,
    "z1": z1,
    "z2": z2,
    "z3": z3,
    "zsettings": zsettings,
    "logo": logo,
    "xfolder": xfolder,
}


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: draw_icons.py OUTPUT_FOLDER\n")
        return 2
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, draw in ICONS.items():
        with open(os.path.join(out, name + ".svg"), "w", encoding="ascii") as f:
            f.write(svg(draw()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
