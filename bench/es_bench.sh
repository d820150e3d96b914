#!/usr/bin/env bash
# Speed of the stand-in engine es against fdfind and find on a tree of 300,000 files in
# 30,000 folders. Prints "name: value unit" lines: medians in ms and es/other time ratios
# (below 1 means es is faster). Stops with an error, exit code 1, when a timed command fails
# or writes nothing, and before a ratio when the compared tools did not find the same paths.
#
#   bench/es_bench.sh            build es if needed, make or reuse the tree, run
#   ES=/path/to/es bench/es_bench.sh
#   ES_BENCH_TREE=/tmp/tree ES_BENCH_RUNS=9 bench/es_bench.sh
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
tree=${ES_BENCH_TREE:-/tmp/es-bench-tree}
runs=${ES_BENCH_RUNS:-7}
work=$(mktemp -d /tmp/es-bench-work-XXXXXX)
trap 'rm -rf "$work"' EXIT

if [[ -z ${ES:-} ]]; then
    build=${ES_BENCH_BUILD:-/tmp/es-bench-build}
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" --target es >/dev/null
    ES=$(find "$build" -type f -name es -perm -u+x | head -n 1)
fi
die() {
    echo "es_bench: $*" >&2
    exit 1
}
# es runs in a folder of its own, so a path relative to the caller's would miss it.
[[ -f $ES && -x $ES ]] || die "no es program at '$ES'"
ES=$(realpath "$ES")
command -v fdfind >/dev/null || die "fdfind is missing (apt-get install fd-find)"

"$repo/bench/make_tree.sh" "$tree" || die "cannot make the tree $tree"

# Runs "$@" once with standard output to $work/stdout; stops the benchmark when it fails or
# leaves the file named by $expect (a path, or "stdout") without a line of output. $skip is
# the number of lines that do not count as output (the CSV header).
expect=stdout skip=0
checked_run() {
    local out=$work/stdout
    [[ $expect == stdout ]] || { out=$work/$expect && rm -f "$out"; }
    local rc=0 shown="$*"
    shown=${shown/#run_es/$ES}
    "$@" >"$work/stdout" 2>"$work/stderr" || rc=$?
    if ((rc != 0)); then
        die "exit code $rc from: $shown ($(head -c 300 "$work/stderr"))"
    fi
    [[ -f $out ]] || die "no $(basename "$out") written by: $shown"
    (($(wc -l <"$out") > skip)) || die "no output from: $shown"
}

# Median wall time in ms (one decimal) of $runs checked runs of "$@", after one untimed
# warm-up run. The output of the last run stays in $work for the comparison.
median_ms() {
    checked_run "$@"
    local times=() start end
    for ((i = 0; i < runs; i++)); do
        start=$(date +%s%N)
        checked_run "$@"
        end=$(date +%s%N)
        times+=($(((end - start) / 100000)))
    done
    local tenths
    tenths=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
    awk -v t="$tenths" 'BEGIN { printf "%.1f", t / 10 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / (b > 0 ? b : 0.1) }'; }

run_es() { (cd "$work" && LUMAFIND_ES_ROOTS=$tree "$ES" "$@"); }

# The paths a tool found, one per line, sorted, in the Linux form without a trailing "/".
es_paths() { # the CSV file es wrote with the name column only
    tail -n +2 "$1" | tr -d '\r' | sed -e 's/^"//' -e 's/"$//' -e 's/""/"/g' \
        -e 's/^[Zz]:\\/\//' -e 's/\\/\//g' | LC_ALL=C sort
}
plain_paths() { sed -e 's/\/$//' "$1" | LC_ALL=C sort; }

# Stops unless the two sorted path lists in files $2 and $3 are the same; $1 names the query.
same_paths() {
    local only_a only_b
    only_a=$(LC_ALL=C comm -23 "$2" "$3" | wc -l)
    only_b=$(LC_ALL=C comm -13 "$2" "$3" | wc -l)
    ((only_a + only_b == 0)) && return 0
    {
        echo "es_bench: $1: $(basename "$2") and $(basename "$3") differ in" \
            "$((only_a + only_b)) paths ($only_a only in the first, $only_b only in the second):"
        LC_ALL=C comm -3 "$2" "$3" | head -n 5
    } >&2
    exit 1
}

report() { # name es_ms fd_ms find_ms matches
    echo "$1_matches: $5 paths"
    echo "$1_es_median: $2 ms"
    echo "$1_fdfind_median: $3 ms"
    echo "$1_find_median: $4 ms"
    echo "$1_es_vs_fdfind: $(ratio "$2" "$3") ratio"
    echo "$1_es_vs_find: $(ratio "$2" "$4") ratio"
}

# Times es, fdfind and find on one query, checks that all three found the same paths, then
# reports. Arguments: name, es arguments, "--", fdfind arguments, "--", find arguments.
compare() {
    local name=$1 es_args=() fd_args=() find_args=()
    shift
    while [[ $1 != -- ]]; do es_args+=("$1") && shift; done
    shift
    while [[ $1 != -- ]]; do fd_args+=("$1") && shift; done
    shift
    find_args=("$@")
    local es_ms fd_ms find_ms
    expect=out.csv skip=1
    es_ms=$(median_ms run_es -export-csv out.csv "${es_args[@]}")
    es_paths "$work/out.csv" >"$work/es.paths"
    expect=stdout skip=0
    fd_ms=$(median_ms fdfind "${fd_args[@]}" "$tree")
    plain_paths "$work/stdout" >"$work/fdfind.paths"
    find_ms=$(median_ms find "$tree" "${find_args[@]}")
    plain_paths "$work/stdout" >"$work/find.paths"
    same_paths "$name" "$work/es.paths" "$work/fdfind.paths"
    same_paths "$name" "$work/es.paths" "$work/find.paths"
    report "$name" "$es_ms" "$fd_ms" "$find_ms" "$(wc -l <"$work/es.paths")"
}

# Times an es search that the other tools cannot do alike (sorted, cut); checks that it
# wrote exactly the number of rows expected. No ratio. Arguments: name, rows, the CSV file
# es writes, es arguments.
es_only() {
    local name=$1 rows=$2 csv=$3 ms
    shift 3
    expect=$csv skip=1
    ms=$(median_ms run_es "$@")
    expect=stdout skip=0
    local got=$(($(wc -l <"$work/$csv") - 1))
    ((got == rows)) || die "$name: es wrote $got rows, expected $rows"
    echo "${name}_es_median: $ms ms"
}

echo "tree_files: $(find "$tree" -type f ! -name .complete | wc -l) files"
echo "tree_folders: $(find "$tree" -mindepth 1 -type d | wc -l) folders"
echo "cpu_cores: $(nproc) cores"

# Substring query.
compare substring texas -- -u -i texas -- -iname '*texas*'

# Wildcard query, all matches.
compare wildcard '*.mp3' -- -u -i -g '*.mp3' -- -iname '*.mp3'

# The same, sorted by name and cut to 100 (fdfind and find neither sort nor cut).
es_only wildcard_sorted_100 100 out.csv -export-csv out.csv -sort name -n 100 '*.mp3'

# The program's own Files search: exclusions, sizes, dates, newest first, 100 rows.
es_only program_files_search 100 results.txt '!c:\windows\' '!c:\$recycle.bin\' -size \
    -size-format 2 -dm /a-d -sort dm -n 100 -export-csv results.txt texas
