#!/usr/bin/env bash
# Installs the demo medium through the real windows, driven by a script, then removes
# it again; checks the files, the registry value and the links after each.
#   wine_script_test.sh EXE PREFIX_TEMPLATE PACK WORKDIR
EXE=$1 PREFIX_TEMPLATE=$2 PACK=$3 WORKDIR=$4
. "$(dirname "$0")/wine_common.sh"

note "Installing through the windows"
s=$(script install "${ROAD_TO_WIZARD[@]}" "click CMD_Weiter" "click CMD_Weiter" "click CMD_Weiter" "answer 1")
run_setup install --face win32 --script "$s" --transcript "$(winpath "$WORKDIR/install.jsonl")"
expect_rc 0 "scripted installation"
transcript_has "$WORKDIR/install.jsonl" '"text":"KALDORIN-Edit wurde installiert."'
transcript_has "$WORKDIR/install.jsonl" '{"op":"end","code":0}'
check_installed "$TARGET"
check_registry_dir 'C:\Programme\KALDORIN'
check_links 'C:\Programme\KALDORIN'

note "A dump reads the real windows"
s=$(script dump "${ROAD_TO_WIZARD[@]}" "click CMD_Weiter" "dump" "click CMD_Abbrechen")
run_setup dump --script "$s" --transcript "$(winpath "$WORKDIR/dump.jsonl")"
expect_rc 0 "cancel on page 2"
transcript_has "$WORKDIR/dump.jsonl" '"name":"TB_Dir","kind":"textbox","window":"FRM_Installation","text":"C:\\Programme\\KALDORIN","x":118,"y":150'
transcript_has "$WORKDIR/dump.jsonl" '"name":"CMD_Entfernen","kind":"button"'
grep -F '"name":"CMD_Weiter"' "$WORKDIR/dump.jsonl" | grep -qF '"available":true' || fail "CMD_Weiter should be available on page 2"

note "Closing through the frame reaches the program; a greyed-out button takes no click"
s=$(script frame "${ROAD_TO_WIZARD[@]}" "click CMD_Zurück" "close FRM_Installation")
run_setup frame --script "$s" --transcript "$(winpath "$WORKDIR/frame.jsonl")"
expect_rc 0 "closing the wizard through its frame"
transcript_has "$WORKDIR/frame.jsonl" '{"op":"click","control":"CMD_Zurück","ignored":"not available"}'
transcript_has "$WORKDIR/frame.jsonl" '{"op":"close","window":"FRM_Installation"}'
s=$(script licence-frame "answer 1" "answer 1" "close Win_3")
run_setup licence-frame --script "$s" --transcript "$(winpath "$WORKDIR/licence-frame.jsonl")"
expect_rc 0 "closing the licence window through its frame"
grep -qF '"window":"FRM_Installation"' "$WORKDIR/licence-frame.jsonl" && fail "the wizard opened after the licence window was closed"

note "Removing through the windows, data folders included"
s=$(script remove "${ROAD_TO_WIZARD[@]}" "click CMD_Entfernen" "tick CB_Rem_FP 1" "tick CB_Rem_GP 1" \
    "tick CB_Rem_DB 1" "tick CB_Rem_PI 1" "tick CB_Rem_SO 1" "click CMD_Weiter" "answer 1" \
    "click CMD_Abbrechen")
run_setup remove --script "$s" --transcript "$(winpath "$WORKDIR/remove.jsonl")"
expect_rc 0 "scripted removal"
transcript_has "$WORKDIR/remove.jsonl" '"text":"KALDORIN-Edit wurde entfernt"'
[ ! -e "$TARGET" ] || fail "the installation folder is still there: $(find "$TARGET" | head)"
check_registry_gone
check_links_gone

note "A script that breaks the rules stops the run with 2, one that runs out with 3"
s=$(script wrong "answer 1" "click cbo_Weiter")
run_setup wrong --script "$s" --transcript "$(winpath "$WORKDIR/wrong.jsonl")"
expect_rc 2 "a click while the font-size notice waits"
transcript_has "$WORKDIR/wrong.jsonl" '"op":"end","code":2'
s=$(script short "answer 1" "answer 1")
run_setup short --script "$s"
expect_rc 3 "a script that ends while the licence window waits"
echo "PASS"
