#!/usr/bin/env bash
# The Win32 face at 96, 120, 144 and 192 DPI under Wine: for each, a prefix whose user
# LogPixels is that DPI, an X screen of 1280 x 800 program pixels, the GoogleTest DPI
# tests run from the demo medium (pictures of every page and alert in SHOTDIR/dpi-N/),
# and the setup on one script, its transcript the same at every DPI.
#   wine_dpi_test.sh SETUP_EXE TEST_EXE PREFIX_TEMPLATE PACK WORKDIR SHOTDIR
setup=$1 exe=$2 PREFIX_TEMPLATE=$3 pack=$4 WORKDIR=$5 shots=$6 WINE_HELPERS_ONLY=1
. "$(dirname "$0")/wine_common.sh"
[ -x "$pack" ] || fail "no native kaldorin-pack at $pack"
shopt -s nullglob
"$pack" demo "$WORKDIR/medium" >/dev/null
cp "$exe" "$WORKDIR/medium/kaldorin-win32-test.exe"
cp "$setup" "$WORKDIR/medium/kaldorin-setup.exe"
printf '%s\n' "answer 1" "answer 1" dump "click cbo_Weiter" "click cbo_Weiter" "click cbo_Weiter" \
  "click cbo_Weiter" "click cbo_Weiter" dump "click cbo_Akzeptieren" dump "click CMD_Weiter" dump \
  "click CMD_Weiter" dump "click CMD_Abbrechen" >"$WORKDIR/road.txt"
# A transcript without the windows' places on the screen (their frames are Wine's).
ohne_orte() { sed -E 's/("title":"[^"]*"),"x":-?[0-9]+,"y":-?[0-9]+/\1/g' "$1"; }

for dpi in 96 120 144 192; do
  d=$WORKDIR/dpi-$dpi
  rm -rf "$shots/dpi-$dpi" && mkdir -p "$d" "$shots/dpi-$dpi"
  wine_prefix "$d/prefix"
  x_server "$d" $((1280 * dpi / 96))x$((800 * dpi / 96))
  # The user's display setting, where the display control panel keeps it.
  "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  "${WINE%/*}/wineserver" -w
  set +e
  (cd "$WORKDIR/medium" && KALDORIN_SCREENSHOTS="Z:${d//\//\\}" \
     timeout 300 "$WINE" kaldorin-win32-test.exe --gtest_filter='W32Dpi.*' --gtest_color=no) >"$d/test.log" 2>&1
  rc=$?
  (cd "$WORKDIR/medium" && timeout 120 "$WINE" kaldorin-setup.exe --script "Z:${WORKDIR//\//\\}\\road.txt" \
     --transcript "Z:${d//\//\\}\\road.jsonl") >"$d/road.log" 2>&1
  road=$?
  set -e
  cleanup
  for bild in "$d"/*.bmp; do convert "$bild" "$shots/dpi-$dpi/$(basename "${bild%.bmp}").png"; done
  grep -a '^dpi ' "$d/test.log" || true
  [ "$rc" -eq 0 ] || { cat "$d/test.log" >&2; fail "the DPI tests failed at $dpi DPI"; }
  grep -aq "^dpi $dpi:" "$d/test.log" || { cat "$d/test.log" >&2; fail "the program did not see $dpi DPI"; }
  [ "$road" -eq 0 ] || { cat "$d/road.log" >&2; fail "the script ended with $road at $dpi DPI"; }
  ohne_orte "$d/road.jsonl" >"$d/road.ohne-orte"
  cmp -s "$WORKDIR/dpi-96/road.ohne-orte" "$d/road.ohne-orte" ||
    { diff "$WORKDIR/dpi-96/road.ohne-orte" "$d/road.ohne-orte" | cut -c1-300 | head -20 >&2
      fail "the transcript at $dpi DPI differs from the one at 96 DPI"; }
  # Not a blank screen: the background's gradient and the windows give many colours.
  bilder=("$shots/dpi-$dpi"/*-seite.png)
  [ ${#bilder[@]} -gt 0 ] && [ "$(convert "${bilder[0]}" -format %k info:)" -gt 50 ] ||
    fail "no picture of a page at $dpi DPI, or a blank one"
  echo "== $shots/dpi-$dpi: $(ls "$shots/dpi-$dpi" | wc -l) pictures"
done
echo "PASS"
