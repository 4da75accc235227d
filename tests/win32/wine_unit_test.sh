#!/usr/bin/env bash
# Runs the GoogleTest program of the Win32 pieces under Wine in a copy of the
# booted prefix, with its own X server:  wine_unit_test.sh TEST_EXE PREFIX_TEMPLATE WORKDIR
set -euo pipefail
exe=$1 template=$2 work=$3
WINE=${WINE:-/usr/lib/wine/wine64}
set +e; "$WINE" --version >/dev/null 2>&1; [ $? -eq 126 ] && { echo "SKIP: this kernel cannot run $WINE"; exit 77; }; set -e
[ -f "$template/system.reg" ] || { echo "FAIL: no booted Wine prefix at $template"; exit 1; }
rm -rf "$work" && mkdir -p "$work"
cp -a "$template" "$work/prefix"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The face's tests open real windows: a private X server for them.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
set +e
"$WINE" "$exe" --gtest_color=no
rc=$?
"${WINE%/*}/wineserver" -k 2>/dev/null
kill "$xvfb" 2>/dev/null
exit $rc
