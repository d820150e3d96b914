#!/usr/bin/env bash
# Runs es.exe under Wine on names that Windows resolves differently when they are given in
# the ordinary path form: device names (CON, NUL, aux, COM1, lpt1.txt), names ending in a dot
# or a blank, a path past MAX_PATH, and folders reached through UNC roots. Each is searched as
# the name it has on disk, and the results show every path in its ordinary form.
# Usage: es_win32_host.sh ES_EXE WORK_FOLDER. Exit 77 (skipped) when Wine or es.exe is missing.
set -uo pipefail
exe=$1 out=$2
command -v wine >/dev/null || { echo "SKIPPED: no wine"; exit 77; }
[ -f "$exe" ] || { echo "SKIPPED: missing $exe"; exit 77; }
mkdir -p "$out"
exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
out=$(cd "$out" && pwd)
export WINEPREFIX=$out/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
tree=$out/tree
rm -rf "$tree" "$out/run"
mkdir -p "$tree" "$out/run/CON"
shown() { printf 'Z:%s' "${1//\//\\}"; }
T=$(shown "$tree")
failures=0

# name=size pairs; a size of "-" is a folder. Sizes are what the listing of the parent says.
declare -a expected=()
file() { printf '%*s' "$2" '' >"$tree/$1"; expected+=("$2,\"$T\\${1//\//\\}\""); }
folder() { mkdir -p "$tree/$1"; expected+=(",\"$T\\${1//\//\\}\""); }

for f in CON NUL aux COM1 "dot." "blank " ok; do folder "$f"; done
file CON/inside.txt 1
file NUL/inside.txt 2
file aux/inside.txt 3
file COM1/prn.log 4
file "dot./inside.txt" 5
file "blank /inside.txt" 6
file lpt1.txt 7
file "name." 8
file "name " 9
file ok/plain.txt 10
deep=deep
folder "$deep"
for i in $(seq 1 12); do
    deep+=/segment_$(printf %02d "$i")_of_a_path_past_max_path
    folder "$deep"
done
file "$deep/bottom.txt" 11
# A name with a line break cannot be written, nor can anything below it; its siblings can.
mkdir "$tree/line"$'\n'"break" && touch "$tree/line"$'\n'"break/below.txt"
(( ${#deep} + ${#T} > 300 )) || { echo "FAIL: the deep path is too short"; exit 1; }

# The file es wrote, checked for CR LF line ends, without its header.
rows() {
    local csv=$1
    [ -f "$csv" ] || { echo "missing $csv"; return; }
    if LC_ALL=C grep -qv $'\r$' "$csv"; then echo "a line without CR LF in $csv"; fi
    tail -n +2 "$csv" | tr -d '\r' | LC_ALL=C sort
}

check() { # name, expected rows (one per line), file
    local diff
    diff=$(diff <(printf '%s\n' "$2" | sed '/^$/d' | LC_ALL=C sort) <(rows "$3"))
    if [ -n "$diff" ]; then
        echo "FAIL: $1"
        echo "$diff"
        failures=$((failures + 1))
    else
        echo "ok: $1"
    fi
}

run() { # roots, working folder, es arguments...
    local roots=$1 dir=$2
    shift 2
    (cd "$dir" && LUMAFIND_ES_ROOTS=$roots timeout 120 wine "$exe" "$@")
}

run "$T" "$out/run" -size -export-csv all.csv
check "every name below a Windows path root" "$(printf '%s\n' "${expected[@]}")" "$out/run/all.csv"

# UNC roots: Wine serves \\server\share from the prefix's dosdevices/unc folder.
mkdir -p "$WINEPREFIX/dosdevices/unc/eshost"
ln -sfn "$tree" "$WINEPREFIX/dosdevices/unc/eshost/tree"
run '\\eshost\tree\aux;\\?\UNC\eshost\tree\CON;//eshost/tree/dot./' "$out/run" \
    -size -export-csv unc.csv
check "UNC roots, with and without the \\\\?\\ prefix" \
    "3,\"\\\\eshost\\tree\\aux\\inside.txt\"
1,\"\\\\eshost\\tree\\CON\\inside.txt\"
5,\"\\\\eshost\\tree\\dot.\\inside.txt\"" "$out/run/unc.csv"

# Relative roots and export file, from a working folder that is itself named CON.
run "..\\..\\tree\\COM1;\\\\?\\$T\\blank \\" "$out/run/CON" -size -export-csv 'sub\..\.\results.txt'
check "relative and prefixed roots, relative export path" \
    "4,\"$T\\COM1\\prn.log\"
6,\"$T\\blank \\inside.txt\"" "$out/run/CON/results.txt"
leftover=$(find "$out/run/CON" -name '*.tmp')
[ -z "$leftover" ] || { echo "FAIL: temporary file left: $leftover"; failures=$((failures + 1)); }

wineserver -k 2>/dev/null
[ "$failures" -eq 0 ] || exit 1
echo "PASS"
