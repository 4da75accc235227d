#!/usr/bin/env bash
# The demo's own road on a desktop: with a display, the demo opens the wizard from the
# demo medium (the program copied there alone), Enter alone installs, and the demo then
# lists what was installed (tests/keys_common.sh presses the keys).
#   demo_test.sh WORKDIR SHOTS COMMAND...    COMMAND: tools/demo.sh BUILD, or ./make.sh demo
set -euo pipefail
WORKDIR=$1 SHOTS=$2
shift 2
DEMO=("$@")
fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "== $*"; }

rm -rf "$WORKDIR" && mkdir -p "$WORKDIR" "$SHOTS"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORKDIR/display" >"$WORKDIR/xvfb.log" 2>&1 &
XVFB_PID=$!
SETUP_PID=
trap '[ -n "$SETUP_PID" ] && pkill -P "$SETUP_PID" 2>/dev/null; [ -n "$SETUP_PID" ] && kill "$SETUP_PID" 2>/dev/null; kill "$XVFB_PID" 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do [ -s "$WORKDIR/display" ] && break; sleep 0.1; done
[ -s "$WORKDIR/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(head -n1 "$WORKDIR/display") KALDORIN_DEMO_DIR=$WORKDIR/demo
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan-system.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

wizard_pid() { pgrep -f -- "$KALDORIN_DEMO_DIR/medium/kaldorin-setup" | head -n1 || true; }
RUHIG_STILLE=3 RUHIG_VORLAUF=0
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
