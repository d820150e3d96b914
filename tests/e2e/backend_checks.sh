#!/usr/bin/env bash
# Runs the Windows backend's own checks (lumafind_win32_checks.exe, or the
# check named third) under Wine in a private X display. Exit 77 (skipped) when
# Wine or the build is missing.
set -uo pipefail
bin=$1 out=$2
exe=$bin/${3:-lumafind_win32_checks.exe}
command -v wine >/dev/null || { echo "SKIPPED: no wine"; exit 77; }
command -v xvfb-run >/dev/null || { echo "SKIPPED: no xvfb-run"; exit 77; }
[ -f "$exe" ] || { echo "SKIPPED: missing $exe"; exit 77; }
mkdir -p "$out"
export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cd "$bin"
xvfb-run -a -s "-screen 0 1280x800x24" wine "$exe"
status=$?
wineserver -k 2>/dev/null
exit $status
