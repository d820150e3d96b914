#!/usr/bin/env bash
# Makes the benchmark tree at $1 unless it is there already: 30,000 folders of $2 files each
# (10 when not given: 330,000 entries; 32 make about 1,000,000).
set -euo pipefail
tree=$1
files=${2:-10}
# 100 folders of 299 folders each; the same number of files in every folder. Names are two words from a
# vocabulary of 100, a number and one of 12 extensions, so "texas" is in about 2% of them.
make_tree() {
    rm -rf "$tree"
    python3 - "$tree" "$files" <<'EOF'
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
    for i in range(int(sys.argv[2])):
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
