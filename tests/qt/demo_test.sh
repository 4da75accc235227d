#!/usr/bin/env bash
# The demo's own road on a desktop: with a display, the demo opens the wizard from the
# demo medium (the program copied there alone), Enter alone installs, and the demo then
# lists what was installed (tests/keys_common.sh presses the keys).
#   demo_test.sh WORKDIR SHOTS COMMAND...    COMMAND: tools/demo.sh BUILD, or ./make.sh demo
set -euo pipefail
WORKDIR=$1 SHOTS=$2
shift 2
DEMO=("$@")

. "$(dirname "$0")/bildschirm.sh"
export KALDORIN_DEMO_DIR=$WORKDIR/demo

wizard_pid() { pgrep -f -- "$KALDORIN_DEMO_DIR/medium/kaldorin-setup" | head -n1 || true; }
beteiligte() { echo "$SETUP_PID $(wizard_pid) $XVFB_PID"; }
# Starts the demo and returns once the wizard's first window shows (the demo may
# build first: up to ten minutes).
starten() {
  ZIEL=$KALDORIN_DEMO_DIR/prefix/drive_c/Programme/KALDORIN
  "${DEMO[@]}" >"$WORKDIR/$1.out" 2>"$WORKDIR/$1.err" &
  SETUP_PID=$!
  local pid
  for _ in $(seq 1 3000); do
    kill -0 "$SETUP_PID" 2>/dev/null || fail "the demo ended before a window opened: $(tail -n 5 "$WORKDIR/$1.err")"
    pid=$(wizard_pid)
    [ -n "$pid" ] && xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  fail "no window of the wizard after ten minutes"
}
. "$(dirname "$0")/../keys_common.sh"

note "The demo with a display: the wizard from the medium, Enter alone installs"
lauf demo foto Return Return Return Return Return Return Return Return Return Return Return Return
for was in 'KALDORIN_Edit.EXE' 'Dir=C:\Programme\KALDORIN' 'KALDORIN_Edit.LNK -> C:\Programme\KALDORIN\KALDORIN_Edit.EXE'; do
  grep -qiF "$was" "$WORKDIR/demo.out" || fail "the demo does not show $was: $(cat "$WORKDIR/demo.out")"
done
[ -f "$ZIEL/KALDORIN_Edit.EXE" ] || fail "nothing installed in the default target $ZIEL"
echo PASS
