#!/usr/bin/env bash
# lumafind-index.exe under Wine, against a fresh walk: on a generated tree, rounds of changes
# made from Linux (files and folders created, removed, renamed, moved in and out of the root,
# a folder of 2,000 entries, names with blanks, accents and dots), then every query of a small
# corpus gives byte-identical output through the index (LUMAFIND_ES_INDEX=only) and through the
# walk (off). Also: a second index of the same user ends at once, misbehaving clients get an
# error and leave the index serving (lumafind_index_probe.exe), and a server that does not run
# as the expected user (LUMAFIND_INDEX_TEST_SID) is not trusted.
# Usage: index_win32.sh BIN_FOLDER WORK_FOLDER. Exit 77 (skipped) without Wine or the programs.
set -uo pipefail
bin=$1 out=$2
command -v wine >/dev/null || { echo "SKIPPED: no wine"; exit 77; }
for p in lumafind-es.exe lumafind-index.exe; do
    [ -f "$bin/$p" ] || { echo "SKIPPED: missing $bin/$p"; exit 77; }
done
mkdir -p "$out"
bin=$(cd "$bin" && pwd) out=$(cd "$out" && pwd)
export WINEPREFIX=$out/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
tree=$out/tree outside=$out/outside
rm -rf "$tree" "$outside" "$out/answers"
mkdir -p "$tree" "$outside" "$out/answers"
export LUMAFIND_ES_ROOTS="Z:${tree//\//\\}"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

RANDOM=7
words=(texas "road map" café ÉCOLE notes. a.b.c "two  blanks" song mp3 Zürich)
pick() { echo "${words[RANDOM % ${#words[@]}]}"; }
for d in 1 2 3; do
    mkdir -p "$tree/dir $d/sub.$d"
    for f in 1 2 3 4; do echo x >"$tree/dir $d/$(pick) $f.txt"; echo y >"$tree/dir $d/sub.$d/$(pick) $f.mp3"; done
done
# Wine shows a Unix link as a plain folder: this one leads back up, and must not be entered.
ln -s .. "$tree/dir 1/sub.1/up"
# A folder that no round changes, dated long ago: a restart does not list it again.
mkdir -p "$tree/kept"
echo short >"$tree/kept/texas kept.txt"
touch -d 2020-01-01 "$tree/kept/texas kept.txt" "$tree/kept"

# The prefix is made before anything runs in it: an index started while Wine still sets up a
# new prefix can miss its own start, and every later call then waits on a half-made prefix.
if [ ! -f "$WINEPREFIX/.index-ready" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.index-ready"
fi
# An index saved by an earlier run would make the first start a restart.
rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Local/Lumafind
wine "$bin/lumafind-index.exe" >"$out/index.log" 2>&1 &
index=$!
trap 'kill $index 2>/dev/null; wineserver -k 2>/dev/null' EXIT
caught_up() {
    for _ in $(seq 1 120); do
        wine "$bin/lumafind-index.exe" --caught-up && return 0
        sleep 0.5
    done
    return 1
}
caught_up || fail "the index never caught up"

timeout 30 wine "$bin/lumafind-index.exe"
[ $? -eq 0 ] || fail "a second index did not end at once with 0"
# Clients that send a huge length, a body that is no question, or hang up halfway.
if [ -f "$bin/lumafind_index_probe.exe" ]; then
    timeout 60 wine "$bin/lumafind_index_probe.exe" || fail "the misbehaving clients' probe"
fi

queries=("texas" "*.mp3" "ext:txt;mp3" "école" "sub." "-sort dm -size -dm texas"
         "-n 3 -sort name a" "!sub. txt" "/ad dir")
compare() { # round
    local i=0
    for q in "${queries[@]}"; do
        i=$((i + 1))
        # shellcheck disable=SC2086
        LUMAFIND_ES_INDEX=only wine "$bin/lumafind-es.exe" $q >"$out/answers/index" 2>&1
        local code=$?
        # shellcheck disable=SC2086
        LUMAFIND_ES_INDEX=off wine "$bin/lumafind-es.exe" $q >"$out/answers/walk" 2>&1
        [ $code -eq 0 ] || fail "round $1, '$q': the index did not answer ($code)"
        cmp -s "$out/answers/index" "$out/answers/walk" ||
            fail "round $1, '$q': $(diff "$out/answers/walk" "$out/answers/index" | head -5)"
    done
    # Sizes and dates are written only to a result file.
    local csv="Z:${out//\//\\}\\answers\\"
    LUMAFIND_ES_INDEX=only wine "$bin/lumafind-es.exe" -size -dm texas -export-csv "${csv}index.csv" ||
        fail "round $1, sizes and dates: the index did not answer"
    LUMAFIND_ES_INDEX=off wine "$bin/lumafind-es.exe" -size -dm texas -export-csv "${csv}walk.csv"
    cmp -s "$out/answers/index.csv" "$out/answers/walk.csv" ||
        fail "round $1, sizes and dates: $(diff "$out/answers/walk.csv" "$out/answers/index.csv" | head -5)"
}
compare 0

for round in 1 2 3; do
    echo new >"$tree/dir 1/$(pick) new $round.txt"
    rm -f "$tree/dir 2/"*" 1.txt"
    mv "$tree/dir 3/sub.3" "$tree/dir 3/moved $round" 2>/dev/null ||
        mv "$tree/dir 3/moved $((round - 1))" "$tree/dir 3/moved $round"
    mkdir -p "$outside/in $round/deep" && echo z >"$outside/in $round/deep/texas in $round.mp3"
    mv "$outside/in $round" "$tree/dir 2/"
    [ $round -gt 1 ] && mv "$tree/dir 2/in $((round - 1))" "$outside/out $round"
    mkdir -p "$tree/many $round"
    for n in $(seq 1 $((round == 2 ? 2000 : 50))); do : >"$tree/many $round/texas $n.wav"; done
    [ $round -eq 3 ] && rm -rf "$tree/many 2"
    echo longer >>"$tree/dir 1/$(ls "$tree/dir 1" | grep txt | head -1)"
    sleep 1
    caught_up || fail "round $round: the index never caught up"
    compare $round
done

# A restart from the saved index, after the file in the untouched folder was rewritten in place
# (which leaves its folder's date alone) while no index ran.
saved=$(find "$WINEPREFIX/drive_c" -name index.bin -path "*Lumafind*" | head -1)
[ -n "$saved" ] || fail "no saved index in the prefix"
kill $index 2>/dev/null
wait $index 2>/dev/null
echo "much longer than before" >"$tree/kept/texas kept.txt"
touch -d 2021-06-01 "$tree/kept/texas kept.txt"
wine "$bin/lumafind-index.exe" >>"$out/index.log" 2>&1 &
index=$!
caught_up || fail "the index never caught up after its restart"
compare restart

LUMAFIND_INDEX_TEST_SID=S-1-5-21-1-2-3-1001 LUMAFIND_ES_INDEX=only wine "$bin/lumafind-es.exe" texas \
    >/dev/null 2>&1
[ $? -eq 5 ] || fail "a server of another user was trusted"

if ((failures > 0)); then
    echo "$failures failures"
    exit 1
fi
echo "index_win32: ${#queries[@]} queries in 5 rounds, one after a restart, agree with the walk"
