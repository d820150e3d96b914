#!/usr/bin/env python3
"""Makes lumafind-help.html, the keyboard reference that ships beside the program,
from the one command list (commands/command_list.h): every command's name, its
key and what it does, in the program's own very large bold yellow on blue.

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


def read_commands(path):
    source = open(path, encoding="utf-8").read()
    start = source.index("#define LUMAFIND_COMMANDS(X)")
    body = source[source.index("\n", start):source.index("// clang-format on", start)]
    body = body.replace("\\\n", " ").strip()
    rows = [dict(zip(FIELDS, split_arguments(m.group(1))))
            for m in re.finditer(r"X\((.*?)\)\s*(?=X\(|$)", body, re.S)]
    for row in rows:
        if len(row) != len(FIELDS):
            raise ValueError("a row of %d fields: %r" % (len(row), row))
    return rows


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
    if shortcut:
        return shortcut.split("::")[0].strip()
    caption = literal(row["caption"])
    if caption:
        return caption.strip()
    return re.sub(r"(?<=[a-z])(?=[A-Z])", " ", row["name"])


STYLE = """
  html { background: #0000ff; color: #ffff00; }
  body { font-family: "Arial Black", Arial, sans-serif; font-weight: bold; font-size: 36pt;
         line-height: 1.3; margin: 0.5em; }
  h1 { font-size: 1.4em; margin: 0 0 0.4em 0; }
  p { max-width: 40em; }
  table { border-collapse: collapse; width: 100%; }
  caption { text-align: left; font-size: 1.2em; padding: 0.4em 0; }
  th, td { border: 4px solid #ffff00; padding: 0.2em 0.4em; text-align: left;
           vertical-align: top; }
  th { background: #ffff00; color: #0000ff; }
  th:nth-child(1) { width: 28%; }
  th:nth-child(2) { width: 22%; }
  kbd { font: inherit; }
  a { color: #ffff00; }
  :focus { outline: 6px solid #ffffff; }
"""


def page(rows, version):
    out = ['<!DOCTYPE html>', '<html lang="en">', "<head>", '<meta charset="utf-8">',
           '<meta name="viewport" content="width=device-width, initial-scale=1">',
           "<title>Lumafind %s keyboard reference</title>" % html.escape(version),
           "<style>%s</style>" % STYLE, "</head>", "<body>",
           "<h1>Lumafind %s keyboard reference</h1>" % html.escape(version),
           "<p>Type a term in the search box and press <kbd>Ctrl+F</kbd>. Up and Down walk "
           "the results. <kbd>F1</kbd> shows the settings with their values and "
           "<kbd>F2</kbd> the actions: choose a row with <kbd>Enter</kbd> or "
           "<kbd>Space</kbd>, and <kbd>Esc</kbd> takes you back to your results. "
           "<kbd>Ctrl+F1</kbd> opens this page.</p>",
           '<table id="commands">', "<caption>Every command</caption>",
           "<thead><tr><th>Command</th><th>Key</th><th>What it does</th></tr></thead>",
           "<tbody>"]
    for row in rows:
        does = literal(row["does"])
        if not does:
            raise ValueError("%s says nothing of what it does" % row["name"])
        key = key_label(row)
        out.append('<tr id="command-%s"><td>%s</td><td><kbd>%s</kbd></td><td>%s</td></tr>' % (
            row["id"], html.escape(spoken_name(row)), html.escape(key), html.escape(does)))
    out += ["</tbody>", "</table>", "</body>", "</html>", ""]
    return "\n".join(out)


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    rows = read_commands(sys.argv[1])
    version = sys.argv[3] if len(sys.argv) == 4 else ""
    with open(sys.argv[2], "w", encoding="utf-8", newline="\n") as out:
        out.write(page(rows, version))


if __name__ == "__main__":
    main()
