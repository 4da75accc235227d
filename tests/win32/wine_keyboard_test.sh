#!/usr/bin/env bash
# Installs the demo medium on the Win32 face by keyboard alone under Wine
# (tests/keys_common.sh).
#   wine_keyboard_test.sh EXE PREFIX_TEMPLATE PACK WORKDIR SHOTDIR
EXE=$1 PREFIX_TEMPLATE=$2 PACK=$3 WORKDIR=$4 SHOTS=$5
. "$(dirname "$0")/wine_common.sh"
mkdir -p "$SHOTS"

# Wine needs longer to take a key and to settle: still for a second.
RUHIG_STILLE=5 RUHIG_VORLAUF=0.5
# The X server, the program and the helpers Wine starts for it (such as the one that
# reads a new link) in this prefix, not another test's. Wine's server and its resident
# services tick now and then even when all wait, so they are left out.
beteiligte() {
  local pid
  echo "$XVFB_PID"
  for pid in $(grep -lzxF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3); do
    case $(readlink "/proc/$pid/exe" 2>/dev/null) in */wine64 | */wine64-preloader | */wine) ;; *) continue ;; esac
    case $(cat "/proc/$pid/comm" 2>/dev/null) in
      services.exe | explorer.exe | winedevice.exe | plugplay.exe | svchost.exe | rpcss.exe) ;;
      *) echo "$pid" ;;
    esac
  done
}
starten() {
  "${WINE%/*}/wineserver" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  cp -a "$PREFIX_TEMPLATE" "$WINEPREFIX"
  ZIEL=$TARGET
  (cd "$MEDIUM" && exec "$WINE" kaldorin-setup.exe --transcript "$(winpath "$WORKDIR/$1.jsonl")") \
    >"$WORKDIR/$1.out" 2>"$WORKDIR/$1.err" &
  SETUP_PID=$!
}
. "$(dirname "$0")/../keys_common.sh"
. "$(dirname "$0")/../keys_roads.sh"
