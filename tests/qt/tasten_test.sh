#!/usr/bin/env bash
# Installs the demo medium on the Qt face by keyboard alone (tests/keys_common.sh).
#   tasten_test.sh SETUP PACK WORKDIR SCREENSHOTS
set -euo pipefail
SETUP=$1 PACK=$2 WORKDIR=$3 SHOTS=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "== $*"; }

rm -rf "$WORKDIR" && mkdir -p "$WORKDIR" "$SHOTS"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORKDIR/display" >"$WORKDIR/xvfb.log" 2>&1 &
XVFB_PID=$!
SETUP_PID=
trap '[ -n "$SETUP_PID" ] && kill "$SETUP_PID" 2>/dev/null; kill "$XVFB_PID" 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do [ -s "$WORKDIR/display" ] && break; sleep 0.1; done
[ -s "$WORKDIR/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(head -n1 "$WORKDIR/display") QT_QPA_PLATFORM=xcb
# In the sanitized build: what X11's system libraries hold at exit is not a leak of ours.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan-system.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
unset WAYLAND_DISPLAY

MEDIUM=$WORKDIR/medium && "$PACK" demo "$MEDIUM" >/dev/null

# Still for 0.6 s: the program waits for the next key.
RUHIG_STILLE=3 RUHIG_VORLAUF=0
beteiligte() { echo "$SETUP_PID $XVFB_PID"; }
starten() {
  export KALDORIN_PREFIX=$WORKDIR/$1
  ZIEL=$KALDORIN_PREFIX/drive_c/Programme/KALDORIN
  "$SETUP" --system "setupdir=$MEDIUM" --transcript "$WORKDIR/$1.jsonl" >"$WORKDIR/$1.out" 2>"$WORKDIR/$1.err" &
  SETUP_PID=$!
}
. "$(dirname "$0")/../keys_common.sh"
. "$(dirname "$0")/../keys_roads.sh"
