#!/usr/bin/env bash
# The real windows, driven by a script on a fresh prefix: an installation into the
# default folder the target page shows, a removal with every data folder, closing
# through the frames, a greyed-out button and a script that breaks the rules.
#   wine_windows_test.sh EXE PREFIX_TEMPLATE PACK WORKDIR
EXE=$1 PREFIX_TEMPLATE=$2 PACK=$3 WORKDIR=$4
. "$(dirname "$0")/wine_common.sh"

note "Installing through the windows; page 2 shows the default folder"
s=$(script install "${ROAD_TO_WIZARD[@]}" "click CMD_Weiter" "dump" "click CMD_Weiter" "click CMD_Weiter" "answer 1")
run_setup install --face win32 --script "$s" --transcript "$(winpath "$WORKDIR/install.jsonl")"
expect_rc 0 "scripted installation"
tb_dir=${TARGET_WIN//\\/\\\\}
transcript_has "$WORKDIR/install.jsonl" '"name":"TB_Dir","kind":"textbox","window":"FRM_Installation","text":"'"$tb_dir"'","x":118,"y":150'
grep -F '"op":"dump"' "$WORKDIR/install.jsonl" | grep -F '"name":"CMD_Weiter"' | grep -qF '"available":true' ||
  fail "CMD_Weiter should be available on page 2"
transcript_has "$WORKDIR/install.jsonl" '"text":"KALDORIN-Edit wurde installiert."'
transcript_has "$WORKDIR/install.jsonl" '{"op":"end","code":0}'
check_installation "$TARGET" "$TARGET_WIN"

note "Removing through the windows, data folders included; a greyed-out button takes no click; closing through the frame"
run_script remove "${ROAD_TO_WIZARD[@]}" "click CMD_Zurück" "click CMD_Entfernen" "tick CB_Rem_FP 1" "tick CB_Rem_GP 1" \
    "tick CB_Rem_DB 1" "tick CB_Rem_PI 1" "tick CB_Rem_SO 1" "click CMD_Weiter" "answer 1" \
    "close FRM_Installation"
expect_rc 0 "scripted removal"
transcript_has "$WORKDIR/remove.jsonl" '"text":"KALDORIN-Edit wurde entfernt"'
transcript_has "$WORKDIR/remove.jsonl" '{"op":"click","control":"CMD_Zurück","ignored":"not available"}'
transcript_has "$WORKDIR/remove.jsonl" '{"op":"close","window":"FRM_Installation"}'
check_removed

note "Closing the licence window through its frame ends the run"
run_script licence-frame "answer 1" "answer 1" "close Win_3"
expect_rc 0 "closing the licence window through its frame"
grep -qF '"window":"FRM_Installation"' "$WORKDIR/licence-frame.jsonl" && fail "the wizard opened after the licence window was closed"

note "A script that breaks the rules stops the run with 2"
run_script wrong "answer 1" "click cbo_Weiter"
expect_rc 2 "a click while the font-size notice waits"
transcript_has "$WORKDIR/wrong.jsonl" '"op":"end","code":2'
echo "PASS"
