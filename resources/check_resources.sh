#!/usr/bin/env bash
# Checks the resources as the program will meet them: every icon is one
# 256 x 256 32-bit image, the .rc names exactly the expected icons, windres
# accepts it, the manifest says what the program relies on, and (when Wine and
# MinGW are present) each icon loads and draws at the sizes the program uses.
# Usage: check_resources.sh [WORK_FOLDER]
set -uo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="${1:-$(mktemp -d)}"
mkdir -p "$work"
names="zexit zsearch zopen zfile zfolder zcolor znew zcopy zsfiles zsfolders zsboth
       zscustom zexpand zhelp zprinter zpreview z1 z2 z3 zsettings logo xfolder"
passed=0
failed=0

check() { # DESCRIPTION COMMAND...
    local what="$1"
    shift
    if "$@" >"$work/last.log" 2>&1; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL $what"
        sed 's/^/    /' "$work/last.log" | head -20
    fi
}

one_256_image() {
    local list
    list="$(icotool -l "$1")" || return 1
    [ "$(wc -l <<<"$list")" = 1 ] && grep -q -- '--width=256 --height=256 --bit-depth=32' <<<"$list"
}

rc_names_match() {
    local want have
    want="$(for n in $names; do echo "${n^^}"; done | sort)"
    have="$(sed -n 's/^\([A-Z0-9]*\) ICON "\([a-z0-9]*\)\.ico"$/\1 \2/p' "$here/lumafind.rc" |
        while read -r id file; do
            [ "$id" = "${file^^}" ] && echo "$id"
        done | sort)"
    diff <(echo "$want") <(echo "$have")
}

manifest_says() {
    python3 - "$here/lumafind.manifest" <<'EOF'
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
text = {e.tag.split("}")[1]: (e.text or "", e.attrib) for e in root.iter()}
ids = [e.attrib for e in root.iter() if e.tag.endswith("assemblyIdentity")]
assert any(a.get("name") == "Microsoft.Windows.Common-Controls"
           and a.get("version") == "6.0.0.0" and a.get("processorArchitecture") == "*"
           for a in ids), "no Common Controls 6 dependency"
assert text["dpiAwareness"][0].split(",")[0].strip() == "PerMonitorV2", "not PerMonitorV2"
assert text["dpiAware"][0] == "true/pm", "no per-monitor fallback"
assert text["requestedExecutionLevel"][1]["level"] == "asInvoker", "not asInvoker"
EOF
}

draws_every_icon() {
    rm -rf "$work/svg"
    python3 "$here/draw_icons.py" "$work/svg" || return 1
    diff <(for n in $names; do echo "$n.svg"; done | sort) <(cd "$work/svg" && printf '%s\n' * | sort)
}

loads_under_wine() {
    local prefix="${WINEPREFIX:-$work/wineprefix}"
    x86_64-w64-mingw32-windres "$here/lumafind.rc" -O coff -o "$work/rc.o" &&
        x86_64-w64-mingw32-g++-posix -std=c++20 -Wall -Wextra -Werror -municode -static \
            "$here/check_icons.cpp" "$work/rc.o" -o "$work/check_icons.exe" -lgdi32 -luser32 &&
        WINEPREFIX="$prefix" WINEDEBUG=-all timeout 300 wine "$work/check_icons.exe"
}

for name in $names; do
    check "$name.ico holds one 256 x 256 32-bit image" one_256_image "$here/$name.ico"
done
check "lumafind.rc names each icon once, upper case" rc_names_match
check "windres compiles lumafind.rc" \
    x86_64-w64-mingw32-windres "$here/lumafind.rc" -O coff -o "$work/lumafind.res.o"
check "the manifest declares what the program relies on" manifest_says
check "draw_icons.py draws the same set of icons" draws_every_icon
if command -v wine >/dev/null && command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
    check "every icon loads and draws under Wine" loads_under_wine
else
    echo "skipped: the Wine load check (needs wine and g++-mingw-w64-x86-64-posix)"
fi

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
