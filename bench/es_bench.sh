#!/usr/bin/env bash
# Speed of the stand-in engine es against fdfind and find on a tree of 300,000 files in
# 30,000 folders. Prints "name: value unit" lines: medians in ms and es/other time ratios
# (below 1 means es is faster).
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
command -v fdfind >/dev/null || { echo "fdfind is missing (apt-get install fd-find)" >&2; exit 1; }

# 100 folders of 299 folders each; 10 files in every folder. Names are two words from a
# vocabulary of 100, a number and one of 12 extensions, so "texas" is in about 2% of them.
make_tree() {
    rm -rf "$tree"
    python3 - "$tree" <<'EOF'
import os, random, sys
root = sys.argv[1]
rng = random.Random(42)
words = ("alpha bravo charlie delta echo foxtrot golf hotel india juliet kilo lima mike november "
         "oscar papa quebec romeo sierra tango uniform victor whiskey xray yankee zulu texas dallas "
         "houston austin report summary invoice letter budget plan draft final notes memo photo "
         "holiday beach family party wedding garden summer winter spring autumn river mountain "
         "forest desert island city village street house office school music song album track "
         "video movie clip trailer backup archive old new copy image scan page chapter book story "
         "recipe kitchen garage car bike train plane ship road bridge tower castle").split()
exts = "txt doc docx pdf jpg png mp3 wav mp4 zip exe xlsx".split()
def name(i):
    return "%s %s %d.%s" % (rng.choice(words), rng.choice(words), i, rng.choice(exts))
def fill(folder):
    for i in range(10):
        open(os.path.join(folder, name(i)), "w").close()
os.makedirs(root)
for top in range(100):
    t = os.path.join(root, "%s %03d" % (rng.choice(words), top))
    os.mkdir(t)
    fill(t)
    for sub in range(299):
        s = os.path.join(t, "%s %03d" % (rng.choice(words), sub))
        os.mkdir(s)
        fill(s)
EOF
    touch "$tree/.complete"
}
[[ -f $tree/.complete ]] || make_tree

# Median wall time in ms of running "$@" $runs times, after one untimed warm-up run.
median_ms() {
    "$@" >/dev/null 2>&1
    local times=() start end
    for ((i = 0; i < runs; i++)); do
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s%N)
        times+=($(((end - start) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

run_es() { (cd "$work" && LUMAFIND_ES_ROOTS=$tree "$ES" "$@"); }

report() { # name es_ms fd_ms find_ms
    echo "$1_es_median: $2 ms"
    echo "$1_fdfind_median: $3 ms"
    echo "$1_find_median: $4 ms"
    echo "$1_es_vs_fdfind: $(ratio "$2" "$3") ratio"
    echo "$1_es_vs_find: $(ratio "$2" "$4") ratio"
}

echo "tree_files: $(find "$tree" -type f ! -name .complete | wc -l) files"
echo "tree_folders: $(find "$tree" -mindepth 1 -type d | wc -l) folders"
echo "cpu_cores: $(nproc) cores"

# Substring query.
es_ms=$(median_ms run_es -export-csv out.csv texas)
fd_ms=$(median_ms fdfind -u -i texas "$tree")
find_ms=$(median_ms find "$tree" -iname '*texas*')
report substring "$es_ms" "$fd_ms" "$find_ms"
run_es -export-csv out.csv texas
echo "substring_es_matches: $(($(wc -l <"$work/out.csv") - 1)) matches"
echo "substring_fdfind_matches: $(fdfind -u -i texas "$tree" | wc -l) matches"

# Wildcard query, sorted by name and cut to 100 (fdfind and find neither sort nor cut).
es_ms=$(median_ms run_es -sort name -n 100 -export-csv out.csv '*.mp3')
fd_ms=$(median_ms fdfind -u -i -g '*.mp3' "$tree")
find_ms=$(median_ms find "$tree" -iname '*.mp3')
report wildcard "$es_ms" "$fd_ms" "$find_ms"
echo "wildcard_all_matches: $(fdfind -u -i -g '*.mp3' "$tree" | wc -l) matches"

# The program's own Files search: exclusions, sizes, dates, newest first, 100 rows.
es_ms=$(median_ms run_es '!c:\windows\' '!c:\$recycle.bin\' -size -size-format 2 -dm /a-d \
    -sort dm -n 100 -export-csv results.txt texas)
echo "program_files_search_es_median: $es_ms ms"
