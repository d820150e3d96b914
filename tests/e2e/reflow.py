#!/usr/bin/env python3
"""Measures the keyboard reference in a real browser: in a frame 320, 800 and
1280 CSS pixels wide (320 is also a 1280-pixel window at 400 % zoom) the page
must need no sideways scrolling, and its type must stay large. Keeps a
screenshot of each width to look at.

    reflow.py PAGE OUT_FOLDER      exit 0 passed, 1 failed, 77 no browser
"""

import html
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

WIDTHS = (320, 800, 1280)
SKIP = 77
# The smallest type the page may shrink to in the narrowest frame, in CSS pixels.
SMALLEST_TYPE = 24

MEASURE = """<!DOCTYPE html><html><body style="margin:0">
<iframe id="f" src="{page}" style="width:{width}px;height:{height}px;border:0"></iframe>
<script>
document.getElementById("f").onload = function () {{
  var d = this.contentDocument, e = d.documentElement, w = this.contentWindow;
  var body = getComputedStyle(d.body);
  document.body.setAttribute("data-scroll", e.scrollWidth);
  document.body.setAttribute("data-client", e.clientWidth);
  document.body.setAttribute("data-height", e.scrollHeight);
  document.body.setAttribute("data-font", parseFloat(body.fontSize));
  document.body.setAttribute("data-weight", body.fontWeight);
  document.body.setAttribute("data-colors", getComputedStyle(e).backgroundColor + "/" + body.color);
  var wide = [];
  d.querySelectorAll("body *").forEach(function (n) {{
    var r = n.getBoundingClientRect();
    if (r.right > e.clientWidth + 0.5) wide.push(n.tagName + ":" + (n.textContent || "").slice(0, 30));
  }});
  document.body.setAttribute("data-wide", wide.slice(0, 5).join(" | "));
}};
</script></body></html>
"""


def browser():
    for name in ("chromium", "chromium-browser"):
        found = shutil.which(name)
        if found:
            return found
    return None


def chromium(program, arguments, timeout=120):
    return subprocess.run([program, "--headless", "--no-sandbox", "--disable-gpu",
                           "--allow-file-access-from-files", "--hide-scrollbars",
                           "--virtual-time-budget=3000"] + arguments,
                          capture_output=True, text=True, timeout=timeout)


def measure(page, out):
    """The figures of each width, as {width: {...}}; screenshots into `out`."""
    program = browser()
    if program is None:
        raise FileNotFoundError("no chromium")
    page = Path(page).resolve()
    out = Path(out)
    out.mkdir(parents=True, exist_ok=True)
    figures = {}
    with tempfile.TemporaryDirectory() as scratch:
        for width in WIDTHS:
            wrapper = Path(scratch) / ("measure-%d.html" % width)
            wrapper.write_text(MEASURE.format(page=html.escape(page.as_uri()), width=width,
                                              height=1600), encoding="utf-8")
            size = "--window-size=%d,1600" % max(width + 20, 520)
            dom = chromium(program, [size, "--dump-dom", wrapper.as_uri()]).stdout
            attributes = dict(re.findall(r'data-(\w+)="([^"]*)"', dom))
            if "scroll" not in attributes:
                raise RuntimeError("the browser measured nothing at %d px: %s" % (width, dom[:300]))
            figures[width] = attributes
            shot = out / ("help-page-%d.png" % width)
            chromium(program, [size, "--screenshot=%s" % shot, wrapper.as_uri()])
            attributes["screenshot"] = str(shot)
    return figures


def failures(figures):
    found = []
    for width, f in figures.items():
        if int(f["scroll"]) > int(f["client"]):
            found.append("%d px: scrollWidth %s > clientWidth %s (%s)" % (
                width, f["scroll"], f["client"], html.unescape(f["wide"])))
        if float(f["font"]) < SMALLEST_TYPE:
            found.append("%d px: type of %s px" % (width, f["font"]))
        if int(f["weight"]) < 700:
            found.append("%d px: weight %s" % (width, f["weight"]))
        if f["colors"] != "rgb(0, 0, 255)/rgb(255, 255, 0)":
            found.append("%d px: colours %s" % (width, f["colors"]))
    return found


def report(figures):
    for width, f in figures.items():
        print("%5d px: scrollWidth %s, clientWidth %s, %s px tall, type %s px, screenshot %s" % (
            width, f["scroll"], f["client"], f["height"], f["font"], f["screenshot"]))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    try:
        figures = measure(sys.argv[1], sys.argv[2])
    except FileNotFoundError:
        print("SKIPPED help page reflow: no chromium (apt install chromium)")
        return SKIP
    report(figures)
    found = failures(figures)
    for failure in found:
        print("FAILED help page reflow: " + failure)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
