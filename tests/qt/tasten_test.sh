#!/usr/bin/env bash
# Installs the demo medium on the Qt face by keyboard alone: real key events (xdotool)
# to the real windows on a private X server, no script. Enter alone walks the whole
# road; Tab, Shift+Tab, Escape and the focus after a greyed-out button are tried on
# the way. Leaves a screenshot of the wizard with its focus.
#   tasten_test.sh SETUP PACK WORKDIR SCREENSHOTS
set -euo pipefail
SETUP=$1 PACK=$2 WORKDIR=$3 SHOTS=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "== $*"; }
command -v xdotool >/dev/null || fail "xdotool is missing (apt-get install xdotool)"

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

# ruhig: waits until the program and the X server have used no CPU and written nothing
# for 0.6 s, that is until the program waits for the next key (at most a minute). A
# flush uses no CPU: a process waiting for the disk (state D) counts as busy.
ruhig() {
  local alt=-1 neu stille=0 line key wert
  for _ in $(seq 1 300); do
    sleep 0.2
    neu=0
    for pid in "$SETUP_PID" "$XVFB_PID"; do
      read -r line <"/proc/$pid/stat" 2>/dev/null || continue
      # state, utime and stime: the 1st, 12th and 13th fields after the command's name
      set -- ${line##*) }
      [ "$1" = D ] && neu=$((neu + RANDOM + 1))
      neu=$((neu + ${12} + ${13}))
      while read -r key wert; do
        [ "$key" = write_bytes: ] && neu=$((neu + wert))
      done <"/proc/$pid/io" 2>/dev/null || true
    done
    if [ "$neu" = "$alt" ]; then stille=$((stille + 1)); [ "$stille" -ge 3 ] && return 0; else stille=0; fi
    alt=$neu
  done
}

# lauf NAME KEYS... : starts the setup on a fresh prefix, presses the keys one by one,
# each once the program waits, and waits for its end; the exit code goes to $rc.
lauf() {
  local name=$1; shift; export KALDORIN_PREFIX=$WORKDIR/$name
  "$SETUP" --system "setupdir=$MEDIUM" --transcript "$WORKDIR/$name.jsonl" \
    >"$WORKDIR/$name.out" 2>"$WORKDIR/$name.err" &
  SETUP_PID=$!
  for key in "$@"; do
    ruhig
    if [ "$key" = foto ]; then import -window root "$SHOTS/keyboard-$name.png"; continue; fi
    kill -0 "$SETUP_PID" 2>/dev/null || fail "$name: the program ended before the key $key"
    xdotool key --clearmodifiers "$key"
  done
  for _ in $(seq 1 300); do kill -0 "$SETUP_PID" 2>/dev/null || break; sleep 0.2; done
  kill -0 "$SETUP_PID" 2>/dev/null && { import -window root "$WORKDIR/$name-hangs.png"; fail "$name: the program still waits after the last key (see $WORKDIR/$name-hangs.png)"; }
  set +e; wait "$SETUP_PID"; rc=$?; set -e
  SETUP_PID=
}

TARGET_NAME='drive_c/Programme/KALDORIN'

note "Enter alone: two alerts, five agreement pages, Akzeptieren, three wizard pages, the message"
lauf enter Return Return Return Return Return Return Return Return Return foto Return Return Return
[ "$rc" -eq 0 ] || fail "enter: exit code $rc"
grep -qF '"text":"KALDORIN-Edit wurde installiert."' "$WORKDIR/enter.jsonl" || fail "enter: no completion message"
count=$(find "$WORKDIR/enter/$TARGET_NAME" -type f | wc -l)
[ "$count" -eq 28 ] || fail "enter: expected 28 installed files, found $count"
"$PACK" unpack "$MEDIUM/t0e.px_" "$WORKDIR/expected.exe" >/dev/null
cmp -s "$WORKDIR/expected.exe" "$WORKDIR/enter/$TARGET_NAME/KALDORIN_Edit.EXE" || fail "enter: KALDORIN_Edit.EXE differs"
grep -qixF 'Dir=C:\Programme\KALDORIN' "$WORKDIR/enter/settings.ini" || fail "enter: no Dir record: $(cat "$WORKDIR/enter/settings.ini")"

# On agreement page 1 the focus is on "Weiter"; Shift+Tab reaches "Zurück", which
# greys itself out on the welcome page, so the focus moves on to "Weiter"; Tab from
# there skips the greyed-out "Akzeptieren" and reaches "Ablehnen".
note "Tab and Shift+Tab in creation order, the focus after a greyed-out button"
lauf tab Return Return Return shift+Tab Return Tab Return
[ "$rc" -eq 0 ] || fail "tab: exit code $rc"
grep -qF '"window":"FRM_Installation"' "$WORKDIR/tab.jsonl" && fail "tab: the agreement was not declined"
[ ! -e "$WORKDIR/tab/$TARGET_NAME" ] || fail "tab: something was installed"

note "Escape is the wizard's close box"
lauf escape Return Return Return Return Return Return Return Return Escape
[ "$rc" -eq 0 ] || fail "escape: exit code $rc"
grep -qF '"window":"FRM_Installation"' "$WORKDIR/escape.jsonl" || fail "escape: the wizard never opened"
[ ! -e "$WORKDIR/escape/$TARGET_NAME" ] || fail "escape: something was installed"
echo PASS
