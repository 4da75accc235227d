#!/usr/bin/env bash
# Runs the GoogleTest program of the Win32 pieces under Wine in a copy of the
# booted prefix, with its own X server:  wine_unit_test.sh TEST_EXE PREFIX_TEMPLATE WORKDIR
set -euo pipefail
exe=$1 template=$2 work=$3
[ -f "$template/system.reg" ] || { echo "FAIL: no booted Wine prefix at $template"; exit 1; }
rm -rf "$work" && mkdir -p "$work"
cp -a "$template" "$work/prefix"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The face's tests open real windows: a private X server for them.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
set +e
/usr/lib/wine/wine64 "$exe" --gtest_color=no
rc=$?
/usr/lib/wine/wineserver -k 2>/dev/null
kill "$xvfb" 2>/dev/null
exit $rc
