#!/usr/bin/env bash
# Regenerates every .ico in this folder from draw_icons.py.
# Each icon holds one 256 x 256 32-bit image, stored PNG-compressed; Windows
# Vista and later and Wine scale it to whatever size the program asks for.
# Needs python3, rsvg-convert (librsvg2-bin) and icotool (icoutils).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="${1:-$here}"

need() {
    command -v "$1" >/dev/null && return
    if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
        apt-get update -qq && apt-get install -y -qq "$2" >/dev/null
    else
        echo "make_icons.sh: $1 is missing (Debian package $2)" >&2
        exit 1
    fi
}
need rsvg-convert librsvg2-bin
need icotool icoutils

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 "$here/draw_icons.py" "$work"
mkdir -p "$out"
count=0
for svg in "$work"/*.svg; do
    name="$(basename "$svg" .svg)"
    rsvg-convert -w 256 -h 256 -f png -o "$work/$name.png" "$svg"
    icotool -c --raw="$work/$name.png" -o "$out/$name.ico"
    count=$((count + 1))
done
echo "make_icons.sh: $count icons written to $out"
