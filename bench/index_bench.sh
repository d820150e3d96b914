#!/usr/bin/env bash
# The stand-in engine's resident index against its walk, on the benchmark tree (330,000
# entries in 30,000 folders) and a large one (about 1,000,000). Prints "name: value unit"
# lines: medians in ms, ratios (walk/index: above 1 means the index is faster), memory per
# entry. Stops with an error, exit code 1, when a command fails, and before a ratio when the
# two sides did not write the same thing.
#
#   bench/index_bench.sh                  build if needed, make or reuse the trees, run
#   ES=/path/es INDEX=/path/lumafind-index bench/index_bench.sh
#   ES_BENCH_RUNS=9 INDEX_BENCH_LARGE=0 bench/index_bench.sh    (no large tree)
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
tree=${ES_BENCH_TREE:-/tmp/es-bench-tree}
large=${INDEX_BENCH_LARGE_TREE:-/tmp/es-bench-tree-1m}
runs=${ES_BENCH_RUNS:-7}
work=$(mktemp -d /tmp/index-bench-work-XXXXXX)
index_pid=
stop_index() {
    if [[ -n $index_pid ]]; then
        kill "$index_pid" 2>/dev/null || true
        wait "$index_pid" 2>/dev/null || true
    fi
    index_pid=
}
trap 'stop_index; rm -rf "$work"' EXIT
die() {
    echo "index_bench: $*" >&2
    exit 1
}

if [[ -z ${ES:-} || -z ${INDEX:-} ]]; then
    build=${ES_BENCH_BUILD:-/tmp/es-bench-build}
    cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" --target es lumafind-index >/dev/null
    ES=$build/bin/es
    INDEX=$build/bin/lumafind-index
fi
[[ -x $ES && -x $INDEX ]] || die "no es or lumafind-index at '$ES', '$INDEX'"
ES=$(realpath "$ES")
INDEX=$(realpath "$INDEX")
command -v fdfind >/dev/null || die "fdfind is missing (apt-get install fd-find)"

"$repo/bench/make_tree.sh" "$tree" || die "cannot make the tree $tree"

# The index's own runtime and cache folders, so that no other index is asked.
export XDG_RUNTIME_DIR=$work/run XDG_CACHE_HOME=$work/cache TZ=UTC
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CACHE_HOME" "$work/cwd"

# Times come from bash's own clock, in microseconds, read outside any $(...): reading `date`
# started two processes around every timed command, about 2 ms counted to each of its runs.
[[ -n ${EPOCHREALTIME:-} ]] || die "bash 5 or later is needed for its clock"
clock() { printf -v "$1" '%s' "${EPOCHREALTIME/[.,]/}"; }
ms_between() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (b - a) / 1e3 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / (b > 0 ? b : 0.1) }'; }

# es in its own folder over $root; $mode is "only" (through the index, never walking) or
# "off" (walking).
root=$tree mode=only
run_es() { (cd "$work/cwd" && LUMAFIND_ES_ROOTS=$root LUMAFIND_ES_INDEX=$mode "$ES" "$@"); }
checked() { "$@" >"$work/stdout" 2>"$work/stderr" || die "exit code $? from: $* ($(head -c 300 "$work/stderr"))"; }

# Median wall time in ms of $runs runs of "$@" after one warm-up run.
median_ms() {
    checked "$@"
    local times=() start end
    for ((i = 0; i < runs; i++)); do
        clock start
        checked "$@"
        clock end
        times+=("$(ms_between "$start" "$end")")
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

start_index() { # waits until it answers from what it holds; sets started_ms
    local start now
    clock start
    LUMAFIND_ES_ROOTS=$root "$INDEX" </dev/null >/dev/null 2>"$work/index.err" &
    index_pid=$!
    until LUMAFIND_ES_ROOTS=$root "$INDEX" --caught-up; do
        clock now
        kill -0 "$index_pid" 2>/dev/null || die "lumafind-index ended: $(cat "$work/index.err")"
        ((now - start < 600000000)) || die "lumafind-index not caught up in 600 s"
        sleep 0.005
    done
    clock now
    started_ms=$(ms_between "$start" "$now")
}

entries_of() { find "$1" -mindepth 1 ! -name .complete | wc -l; }
# The index's resident memory at rest: once its first save is done, which holds a copy of the
# store while it writes, and what it made for its answers is let go.
rss_kb() {
    local start now
    clock start
    until LUMAFIND_ES_ROOTS=$root "$INDEX" --check-saved >/dev/null 2>&1; do
        clock now
        ((now - start < 60000000)) || die "the index did not save within 60 s"
        sleep 0.05
    done
    sleep 0.5
    awk '/^VmRSS/ { print $2 }' "/proc/$index_pid/status"
}
per_entry() {
    local kb
    kb=$(rss_kb) || exit 1
    awk -v k="$kb" -v n="$1" 'BEGIN { printf "%.1f", k * 1024 / n }'
}

echo "tree_entries: $(entries_of "$tree") entries"
echo "cpu_cores: $(nproc) cores"
echo "load_before: $(uptime | sed 's/.*load average: //')"

# The first build against one walk that reads every entry's date (the program's own search),
# the walk at the priority the index gives its first walk (nice 10, lowest best-effort I/O), so
# that both meet the same competition; medians of 3 rounds, each a walk then a build.
run_es_low() { (cd "$work/cwd" && LUMAFIND_ES_ROOTS=$root LUMAFIND_ES_INDEX=off \
    nice -n 10 ionice -c 2 -n 7 "$ES" "$@"); }
builds=() walks=()
for ((round = 0; round < 3; round++)); do
    stop_index
    rm -rf "$XDG_CACHE_HOME/lumafind"
    clock walk_start
    checked run_es_low -size -dm -sort dm -n 100 -export-csv walk.csv
    clock walk_end
    walks+=("$(ms_between "$walk_start" "$walk_end")")
    start_index
    builds+=("$started_ms")
done
median3() { printf '%s\n' "$@" | sort -n | sed -n 2p; }
build_ms=$(median3 "${builds[@]}")
walk_ms=$(median3 "${walks[@]}")
echo "first_build: $build_ms ms (rounds: ${builds[*]})"
echo "one_walk: $walk_ms ms (rounds: ${walks[*]})"
echo "first_build_vs_walk: $(ratio "$build_ms" "$walk_ms") ratio"
entries=$(entries_of "$tree")
per=$(per_entry "$entries") || exit 1
echo "memory_per_entry: $per bytes"

# After its first answer a new index saves itself and puts the names in order, once: the
# queries are timed once that is done, as they run on an index that has settled.
mode=only
checked run_es -export-csv settle.csv texas
for ((tries = 0; tries < 600; tries++)); do
    "$INDEX" --check-saved && break
    sleep 0.05
done
"$INDEX" --check-saved || die "lumafind-index did not save itself within 30 s"
sleep 0.5

# Each query through the index and by the walk: same file, then the medians and the ratio.
compare() {
    local name=$1 index_ms walk_ms
    shift
    mode=only
    index_ms=$(median_ms run_es -export-csv out.csv "$@")
    cp "$work/cwd/out.csv" "$work/index.csv"
    mode=off
    walk_ms=$(median_ms run_es -export-csv out.csv "$@")
    cmp -s "$work/index.csv" "$work/cwd/out.csv" || die "$name: the index and the walk wrote different files"
    echo "${name}_rows: $(($(wc -l <"$work/index.csv") - 1)) rows"
    echo "${name}_index_median: $index_ms ms"
    echo "${name}_walk_median: $walk_ms ms"
    echo "${name}_walk_vs_index: $(ratio "$walk_ms" "$index_ms") ratio"
}
compare program_search '!c:\windows\' '!c:\$recycle.bin\' -size -size-format 2 -dm /a-d \
    -sort dm -n 100 texas
compare substring texas
compare wildcard '*.mp3'
compare ext_filter 'ext:mp3;wav;ogg'

# The whole list on standard output against fdfind's.
mode=only
list_ms=$(median_ms run_es)
sed -e 's/^[Zz]:\\/\//' -e 's/\\/\//g' "$work/stdout" | LC_ALL=C sort >"$work/es.paths"
fd_ms=$(median_ms fdfind -u . "$tree")
sed -e 's/\/$//' "$work/stdout" | LC_ALL=C sort >"$work/fd.paths"
cmp -s "$work/es.paths" "$work/fd.paths" || die "whole list: es and fdfind listed different paths"
echo "whole_list_rows: $(wc -l <"$work/es.paths") paths"
echo "whole_list_index_median: $list_ms ms"
echo "whole_list_fdfind_median: $fd_ms ms"
echo "whole_list_fdfind_vs_index: $(ratio "$fd_ms" "$list_ms") ratio"
# Once answers were made: what a query takes for itself must have been given back.
per=$(per_entry "$entries") || exit 1
echo "memory_per_entry_after_queries: $per bytes"

# A change is seen by the very next query: the time from the change to an answer with it.
seen_ms() { # what, then the query, then the expected row count
    local start end what=$1 term=$2 want=$3
    clock start
    checked run_es -export-csv seen.csv "$term"
    clock end
    local got=$(($(wc -l <"$work/cwd/seen.csv") - 1))
    ((got == want)) || die "$what: the next query found $got rows, expected $want"
    echo "change_${what}_seen_after: $(ms_between "$start" "$end") ms"
}
mode=only
place=$(find "$tree" -mindepth 1 -maxdepth 1 -type d | head -n 1)
touch "$place/index-bench-new.txt"
seen_ms created index-bench-new 1
mv "$place/index-bench-new.txt" "$place/index-bench-renamed.txt"
seen_ms renamed index-bench-renamed 1
rm "$place/index-bench-renamed.txt"
seen_ms deleted index-bench-renamed 0
mkdir "$place/index-bench-folder"
seen_ms folder_created index-bench-folder 1
rmdir "$place/index-bench-folder"
seen_ms folder_deleted index-bench-folder 0

# Restart with the saved index: from start to the first query answered through it.
stop_index
clock restart_start
LUMAFIND_ES_ROOTS=$root "$INDEX" </dev/null >/dev/null 2>"$work/index.err" &
index_pid=$!
until run_es -export-csv restart.csv texas >/dev/null 2>&1; do
    clock now
    ((now - restart_start < 60000000)) || die "no answer through the index 60 s after a restart"
done
clock restart_end
echo "restart_first_answer: $(ms_between "$restart_start" "$restart_end") ms"
# Then every entry's size and date is read again, at low priority: until then a file rewritten
# while no index ran may not be known as it is now.
until LUMAFIND_ES_ROOTS=$root "$INDEX" --caught-up; do
    clock now
    ((now - restart_start < 600000000)) || die "not caught up 600 s after a restart"
    sleep 0.005
done
clock restart_end
echo "restart_caught_up: $(ms_between "$restart_start" "$restart_end") ms"
stop_index

# The large tree: memory per entry.
if [[ ${INDEX_BENCH_LARGE:-1} != 0 ]]; then
    "$repo/bench/make_tree.sh" "$large" 32 || die "cannot make the tree $large"
    root=$large
    rm -rf "$XDG_CACHE_HOME/lumafind"
    start_index
    large_ms=$started_ms
    large_entries=$(entries_of "$large")
    echo "large_entries: $large_entries entries"
    echo "large_first_build: $large_ms ms"
    per=$(per_entry "$large_entries") || exit 1
    echo "large_memory_per_entry: $per bytes"
    checked run_es -export-csv large.csv 'ext:mp3;wav;ogg'
    checked run_es -export-csv large.csv -size -dm -sort dm texas
    per=$(per_entry "$large_entries") || exit 1
    echo "large_memory_per_entry_after_queries: $per bytes"
    stop_index
fi
echo "load_after: $(uptime | sed 's/.*load average: //')"
