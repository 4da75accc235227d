#!/usr/bin/env bash
# Screenshots of the real windows under Wine: the licence window's welcome page, an
# agreement page, the wizard's welcome page and its folder and option pages. The script leads there and the
# program then waits a few seconds (--hold) while the screen is taken.
#   wine_screens_test.sh EXE PREFIX_TEMPLATE PACK WORKDIR SHOTDIR
EXE=$1 PREFIX_TEMPLATE=$2 PACK=$3 WORKDIR=$4 SHOTDIR=$5
. "$(dirname "$0")/wine_common.sh"
mkdir -p "$SHOTDIR"

# shot NAME SCRIPT-LINES... : plays the lines, ends with a dump, takes the screen.
shot() {
  local name=$1; shift
  local s t=$WORKDIR/$name.jsonl
  s=$(script "$name" "$@" "dump")
  (cd "$MEDIUM" && timeout 120 "$WINE" kaldorin-setup.exe --script "$s" --transcript "$(winpath "$t")" \
     --hold 6 >"$WORKDIR/$name.out" 2>&1) &
  local pid=$!
  for _ in $(seq 1 300); do grep -qF '"op":"dump"' "$t" 2>/dev/null && break; sleep 0.1; done
  grep -qF '"op":"dump"' "$t" 2>/dev/null || fail "$name: the script did not reach its dump"
  sleep 2  # the windows paint
  import -window root "$SHOTDIR/$name.png"
  set +e; wait "$pid"; local code=$?; set -e
  [ "$code" -eq 3 ] || fail "$name: exit code $code after the hold, expected 3"
  "${WINE%/*}/wineserver" -w
  # Not a blank screen: the gradient and the windows give many colours.
  local colours
  colours=$(convert "$SHOTDIR/$name.png" -format %k info:)
  [ "$colours" -gt 50 ] || fail "$name: the screenshot has only $colours colours"
  note "$SHOTDIR/$name.png ($colours colours)"
}

shot licence-welcome "answer 1" "answer 1"
shot licence-agreement "answer 1" "answer 1" "click cbo_Weiter"
shot wizard-welcome "${ROAD_TO_WIZARD[@]}"
shot wizard-folders "${ROAD_TO_WIZARD[@]}" "click CMD_Weiter"
shot wizard-options "${ROAD_TO_WIZARD[@]}" "click CMD_Weiter" "click CMD_Weiter"
echo "PASS"
