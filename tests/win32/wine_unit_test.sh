#!/usr/bin/env bash
# Runs the GoogleTest program of the Win32 pieces under Wine in a copy of the
# booted prefix:  wine_unit_test.sh TEST_EXE PREFIX_TEMPLATE WORKDIR
set -euo pipefail
exe=$1 template=$2 work=$3
[ -f "$template/system.reg" ] || { echo "FAIL: no booted Wine prefix at $template"; exit 1; }
rm -rf "$work" && mkdir -p "$work"
cp -a "$template" "$work/prefix"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
set +e
/usr/lib/wine/wine64 "$exe" --gtest_color=no
rc=$?
/usr/lib/wine/wineserver -k 2>/dev/null
exit $rc
