#!/usr/bin/env bash
# Lays out every icon at 256, 48 and 24 px on a light, a dark and a blue
# background, so a person can check that each stays clear and distinct.
# Usage: contact_sheet.sh [ICON_FOLDER] [OUTPUT.png]   (needs ImageMagick)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
icons="${1:-$here}"
sheet="${2:-/tmp/lumafind-icons.png}"
order="zexit zsearch zopen zfile zfolder zcolor znew zcopy zsfiles zsfolders zsboth
       zscustom zexpand zhelp zprinter zpreview z1 z2 z3 zsettings logo xfolder"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
files=()
for name in $order; do files+=("$icons/$name.ico"); done

strip() { # SIZE BACKGROUND TILE OUT
    montage "${files[@]}" -resize "$1x$1" -background "$2" -geometry "$1x$1+6+6" \
        -tile "$3" "$4"
}
n=0
for bg in white black "#0000a0"; do
    strip 256 "$bg" 11x "$work/$((n += 1)).png"
    strip 48 "$bg" 22x "$work/$((n += 1)).png"
    strip 24 "$bg" 22x "$work/$((n += 1)).png"
done
montage "$work"/{1..9}.png -mode concatenate -tile 1x -background gray50 \
    -geometry +0+4 "$sheet"
echo "$sheet"
