#!/usr/bin/env bash
# Installs the demo medium on the Win32 face by keyboard alone: real key events
# (xdotool) to the real windows under Wine, no script. Enter alone walks the whole
# road; Tab, Shift+Tab, Escape and the focus after a greyed-out button are tried on
# the way. Leaves a screenshot of the wizard with its focus.
#   wine_keyboard_test.sh EXE PREFIX_TEMPLATE PACK WORKDIR SHOTDIR
EXE=$1 PREFIX_TEMPLATE=$2 PACK=$3 WORKDIR=$4 SHOTDIR=$5
. "$(dirname "$0")/wine_common.sh"
command -v xdotool >/dev/null || fail "xdotool is missing (apt-get install xdotool)"
mkdir -p "$SHOTDIR"
cp -a "$WINEPREFIX" "$WORKDIR/prefix-fresh"

# The program and the helpers Wine starts for it (such as the one that reads a new
# link) in this prefix, not another test's. Wine's server and its resident services
# tick now and then even when all wait, so they are left out.
prefix_pids() {
  local pid
  for pid in $(grep -lzxF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3); do
    case $(readlink "/proc/$pid/exe" 2>/dev/null) in */wine64 | */wine64-preloader | */wine) ;; *) continue ;; esac
    case $(cat "/proc/$pid/comm" 2>/dev/null) in
      services.exe | explorer.exe | winedevice.exe | plugplay.exe | svchost.exe | rpcss.exe) ;;
      *) echo "$pid" ;;
    esac
  done
}

# The activity of the processes PIDS..., read without starting a process: CPU ticks
# (user and system, the 14th and 15th fields of stat, counted after the command's name)
# and bytes written to files. A flush uses no CPU, so a process waiting for the disk
# (state D) or still writing files is busy, not waiting for a key.
ticks() {
  local pid line summe=0 key wert
  for pid in "$@"; do
    read -r line <"/proc/$pid/stat" 2>/dev/null || continue
    set -- ${line##*) }
    [ "$1" = D ] && summe=$((summe + RANDOM + 1))
    summe=$((summe + ${12} + ${13}))
    while read -r key wert; do
      [ "$key" = write_bytes: ] && summe=$((summe + wert))
    done <"/proc/$pid/io" 2>/dev/null || true
  done
  echo "$summe"
}

# ruhig: waits until the program, its helpers and the X server have used no CPU for a
# second, that is until the program waits for the next key (at most a minute).
ruhig() {
  local alt=-1 neu stille=0 pids
  sleep 0.5
  pids="$XVFB_PID $(prefix_pids)"
  for _ in $(seq 1 300); do
    sleep 0.2
    neu=$(ticks $pids)
    if [ "$neu" = "$alt" ]; then stille=$((stille + 1)); else stille=0; fi
    alt=$neu
    if [ "$stille" -ge 5 ]; then
      # A helper that started meanwhile counts too.
      [ "$pids" = "$XVFB_PID $(prefix_pids)" ] && return 0
      pids="$XVFB_PID $(prefix_pids)" stille=0 alt=-1
    fi
  done
}

# lauf NAME KEYS... : starts the setup on a fresh copy of the prefix, presses the keys
# one by one, each once the program waits, and waits for its end; the code goes to $rc.
lauf() {
  local name=$1; shift
  "${WINE%/*}/wineserver" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  cp -a "$WORKDIR/prefix-fresh" "$WINEPREFIX"
  (cd "$MEDIUM" && exec "$WINE" kaldorin-setup.exe --transcript "$(winpath "$WORKDIR/$name.jsonl")") \
    >"$WORKDIR/$name.out" 2>"$WORKDIR/$name.err" &
  SETUP_PID=$!
  for key in "$@"; do
    ruhig
    if [ "$key" = foto ]; then import -window root "$SHOTDIR/keyboard-$name.png"; continue; fi
    kill -0 "$SETUP_PID" 2>/dev/null || fail "$name: the program ended before the key $key"
    xdotool key --clearmodifiers "$key"
  done
  for _ in $(seq 1 300); do kill -0 "$SETUP_PID" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$SETUP_PID" 2>/dev/null; then
    import -window root "$WORKDIR/$name-hangs.png"
    kill "$SETUP_PID"
    fail "$name: the program still waits after the last key (see $WORKDIR/$name-hangs.png)"
  fi
  set +e; wait "$SETUP_PID"; rc=$?; set -e
  "${WINE%/*}/wineserver" -w
}

note "Enter alone: two alerts, five agreement pages, Akzeptieren, three wizard pages, the message"
lauf enter Return Return Return Return Return Return Return Return Return foto Return Return Return
expect_rc 0 "enter"
transcript_has "$WORKDIR/enter.jsonl" '"text":"KALDORIN-Edit wurde installiert."'
check_installed "$TARGET"
check_registry_dir "$TARGET_WIN"

# On agreement page 1 the focus is on "Weiter"; Shift+Tab reaches "Zurück", which
# greys itself out on the welcome page, so the focus moves on to "Weiter"; Tab from
# there skips the greyed-out "Akzeptieren" and reaches "Ablehnen".
note "Tab and Shift+Tab in creation order, the focus after a greyed-out button"
lauf tab Return Return Return shift+Tab Return Tab Return
expect_rc 0 "tab"
grep -qF '"window":"FRM_Installation"' "$WORKDIR/tab.jsonl" && fail "tab: the agreement was not declined"
[ ! -e "$TARGET" ] || fail "tab: something was installed"

note "Escape is the wizard's close box"
lauf escape Return Return Return Return Return Return Return Return Escape
expect_rc 0 "escape"
transcript_has "$WORKDIR/escape.jsonl" '"window":"FRM_Installation"'
[ ! -e "$TARGET" ] || fail "escape: something was installed"
echo "PASS"
