#!/usr/bin/env bash
# Runs the Windows backend's own checks (lumafind_win32_checks.exe, or the
# check named third) under Wine in a private X display. Exit 77 (skipped) when
# Wine or the build is missing. With a fourth argument, a display scale in dots
# an inch, they run in a prefix of their own set to it, on a screen grown alike.
set -uo pipefail
bin=$1 out=$2
exe=$bin/${3:-lumafind_win32_checks.exe}
dpi=${4:-}
command -v wine >/dev/null || { echo "SKIPPED: no wine"; exit 77; }
command -v xvfb-run >/dev/null || { echo "SKIPPED: no xvfb-run"; exit 77; }
[ -f "$exe" ] || { echo "SKIPPED: missing $exe"; exit 77; }
mkdir -p "$out"
export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
screen=1280x800
if [ -n "$dpi" ]; then
  export WINEPREFIX=$out/wineprefix-$dpi LUMAFIND_EXPECTED_DPI=$dpi
  screen=$((1280 * dpi / 96))x$((800 * dpi / 96))
  # The server reads the scale when it starts.
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -w
fi
cd "$bin"
xvfb-run -a -s "-screen 0 ${screen}x24" wine "$exe"
status=$?
wineserver -k 2>/dev/null
exit $status
