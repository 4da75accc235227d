#!/usr/bin/env bash
# Installs the demo medium on the Qt face by keyboard alone (tests/keys_common.sh).
#   tasten_test.sh SETUP PACK WORKDIR SCREENSHOTS
set -euo pipefail
SETUP=$1 PACK=$2 WORKDIR=$3 SHOTS=$4

. "$(dirname "$0")/bildschirm.sh"

MEDIUM=$WORKDIR/medium && "$PACK" demo "$MEDIUM" >/dev/null

beteiligte() { echo "$SETUP_PID $XVFB_PID"; }
starten() {
  export KALDORIN_PREFIX=$WORKDIR/$1
  ZIEL=$KALDORIN_PREFIX/drive_c/Programme/KALDORIN
  "$SETUP" --system "setupdir=$MEDIUM" --transcript "$WORKDIR/$1.jsonl" >"$WORKDIR/$1.out" 2>"$WORKDIR/$1.err" &
  SETUP_PID=$!
}
. "$(dirname "$0")/../keys_common.sh"
. "$(dirname "$0")/../keys_roads.sh"
