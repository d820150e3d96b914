#!/usr/bin/env python3
"""Makes lumafind-help.html, the keyboard reference that ships beside the program,
from the one command list (command_table/command_list.h): every command's name, its
key and what it does, then the keys of the search box and the list, one block
each so that it reflows at any width, in the program's own very large bold
yellow on blue.

    make_help_page.py COMMAND_LIST OUTPUT [VERSION]
"""

import ast
import html
import re
import sys

FIELDS = ["name", "id", "shortcut", "flags", "key", "beep", "handler", "image", "caption",
          "tooltip", "list_name", "does"]
MODIFIERS = {"PlainKey": "", "CtrlKey": "Ctrl+", "CtrlShiftKey": "Ctrl+Shift+"}
NAMED_KEYS = {"VkEscape": "Esc"}
# Commands that no accelerator sends but a key or a click of the window does.
SENDERS = {"Enter": "Enter", "PreviewClick": "Click on the picture"}


def split_arguments(text):
    """The arguments of one X(...) row: commas inside quotes or parentheses do not split."""
    parts, depth, quoted, current, i = [], 0, None, "", 0
    while i < len(text):
        c = text[i]
        if quoted:
            current += c
            if c == "\\":
                current += text[i + 1]
                i += 1
            elif c == quoted:
                quoted = None
        elif c in "\"'":
            quoted = c
            current += c
        elif c == "(":
            depth += 1
            current += c
        elif c == ")":
            depth -= 1
            current += c
        elif c == "," and depth == 0:
            parts.append(current.strip())
            current = ""
        else:
            current += c
        i += 1
    parts.append(current.strip())
    return parts


def literal(token):
    if token == "nullptr":
        return None
    return ast.literal_eval(token)  # the list's C texts are plain quoted ASCII


WINDOW_KEY_FIELDS = ["name", "key", "where", "list_name", "does"]


def read_macro(source, macro, fields):
    start = source.index("#define %s(X)" % macro)
    body = source[source.index("\n", start):source.index("// clang-format on", start)]
    body = body.replace("\\\n", " ").strip()
    rows = [dict(zip(fields, split_arguments(m.group(1))))
            for m in re.finditer(r"X\((.*?)\)\s*(?=X\(|$)", body, re.S)]
    for row in rows:
        if len(row) != len(fields):
            raise ValueError("a row of %d fields: %r" % (len(row), row))
    return rows


def read_commands(path):
    """The commands, then the keys that are no commands."""
    source = open(path, encoding="utf-8").read()
    return (read_macro(source, "LUMAFIND_COMMANDS", FIELDS),
            read_macro(source, "LUMAFIND_WINDOW_KEYS", WINDOW_KEY_FIELDS))


def key_label(row):
    if row["flags"] == "0":
        return SENDERS.get(row["name"], "Toolbar button" if literal(row["caption"]) else "")
    label = MODIFIERS[row["flags"]]
    key = row["key"]
    function_key = re.fullmatch(r"F\((\d+)\)", key)
    if function_key:
        return label + "F" + function_key.group(1)
    if key in NAMED_KEYS:
        return label + NAMED_KEYS[key]
    character = literal(key)
    # In large type a lone 0 passes for the letter O.
    return label + character + (" (Zero)" if character == "0" else "")


def spoken_name(row):
    shortcut = literal(row["shortcut"])
    return shortcut.split("::")[0].strip() if shortcut else None


def shown_name(row):
    """As the F1 and F2 lists name it, else as its shortcut is announced, else
    by its button's caption."""
    for name in (literal(row["list_name"]), spoken_name(row), literal(row["caption"])):
        if name:
            return name.strip()
    return re.sub(r"(?<=[a-z])(?=[A-Z])", " ", row["name"])


STYLE = """
  html { background: #0000ff; color: #ffff00; }
  body { font-family: "Arial Black", Arial, sans-serif; font-weight: bold; font-size: 36pt;
         line-height: 1.3; margin: 0.5em; overflow-wrap: break-word; }
  /* A narrow window, or a page zoomed far in, keeps whole words on a line. */
  @media (max-width: 560px) { body { font-size: max(24px, 9vw); margin: 0.3em; } }
  h1 { font-size: 1.4em; margin: 0 0 0.4em 0; }
  h2 { font-size: 1.2em; margin: 1em 0 0.4em 0; }
  h3, h4 { font-size: 1em; margin: 0; }
  section > div > h3 { margin: 0.6em 0 0.3em 0; }
  p { max-width: 40em; margin: 0.3em 0; }
  /* One column, read straight down under a magnifier too. */
  .key { border: 4px solid #ffff00; padding: 0.2em 0.4em; margin: 0 0 0.4em 0; }
  .key p { margin: 0.2em 0; }
  kbd { font: inherit; background: #ffff00; color: #0000ff; padding: 0 0.2em; }
  a { color: #ffff00; }
  :focus { outline: 6px solid #ffffff; }
"""


def kbd(key):
    """The key, breakable after each "+" and ",", so that it fits a narrow window."""
    return "<kbd>%s</kbd>" % re.sub(r"([+,])", r"\1<wbr>", html.escape(key))


def block(block_id, name, key, does, heard=None, level=3):
    """One command or key: its name and key on one line, then what it does."""
    heading = " ".join(part for part in (html.escape(name), kbd(key) if key else "") if part)
    out = ['<div class="key" id="%s">' % block_id, "<h%d>%s</h%d>" % (level, heading, level)]
    if heard and heard != name:
        out.append('<p class="heard">Announced as: %s</p>' % html.escape(heard))
    out.append('<p class="does">%s</p>' % html.escape(does))
    out.append("</div>")
    return "\n".join(out)


def page(rows, window_keys, version):
    out = ['<!DOCTYPE html>', '<html lang="en">', "<head>", '<meta charset="utf-8">',
           '<meta name="viewport" content="width=device-width, initial-scale=1">',
           "<title>Lumafind %s keyboard reference</title>" % html.escape(version),
           "<style>%s</style>" % STYLE, "</head>", "<body>", "<main>",
           "<h1>Lumafind %s keyboard reference</h1>" % html.escape(version),
           "<p>Type a term in the search box and press <kbd>Ctrl+F</kbd>. Up and Down walk "
           "the results. <kbd>F1</kbd> shows the settings with their values and "
           "<kbd>F2</kbd> the actions: choose a row with <kbd>Enter</kbd> or "
           "<kbd>Space</kbd>, and <kbd>Esc</kbd> takes you back to your results. "
           "<kbd>Ctrl+F1</kbd> opens this page.</p>",
           "<p>Commands come first, each with its key and, where Lumafind announces it by "
           "another name, that name. The keys of the search box and the list follow.</p>",
           '<section id="commands">', "<h2>Every command</h2>", '<div class="keys">']
    listed = [k for k in window_keys if literal(k["list_name"])]
    for key in listed:
        out.append(block("key-" + key["name"], literal(key["list_name"]), literal(key["key"]),
                         literal(key["does"])))
    for row in rows:
        does = literal(row["does"])
        if not does:
            raise ValueError("%s says nothing of what it does" % row["name"])
        out.append(block("command-" + row["id"], shown_name(row), key_label(row), does,
                         heard=spoken_name(row)))
    out += ["</div>", "</section>", '<section id="keys">',
            "<h2>Keys of the search box and the list</h2>", '<div class="keys">']
    places = []
    for key in window_keys:
        if key not in listed and literal(key["where"]) not in places:
            places.append(literal(key["where"]))
    for place in places:
        out.append("<h3>%s</h3>" % html.escape(place or "Anywhere"))
        for key in window_keys:
            if key not in listed and literal(key["where"]) == place:
                out.append(block("key-" + key["name"], "", literal(key["key"]),
                                 literal(key["does"]), level=4))
    out += ["</div>", "</section>", "</main>", "</body>", "</html>", ""]
    return "\n".join(out)


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    rows, window_keys = read_commands(sys.argv[1])
    version = sys.argv[3] if len(sys.argv) == 4 else ""
    with open(sys.argv[2], "w", encoding="utf-8", newline="\n") as out:
        out.write(page(rows, window_keys, version))


if __name__ == "__main__":
    main()
