#!/usr/bin/env bash
# What only Windows shows, on a fresh prefix: the default installation (the user's own
# programs folder, registry, links, the installed program started from its link, CR LF
# on the console), the removal through the real windows, and an older Windows with
# C:\Programme. What the program does on every system the native tests check.
#   wine_install_test.sh EXE PREFIX_TEMPLATE PACK WORKDIR
EXE=$1 PREFIX_TEMPLATE=$2 PACK=$3 WORKDIR=$4
. "$(dirname "$0")/wine_common.sh"

note "Installing unattended into the default folder"
run_setup install --unattended --accept-licence
expect_rc 0 "unattended installation"
check_installation "$TARGET" "$TARGET_WIN"
# One line break is CR LF on the console, never CR CR LF.
grep -qF 'KALDORIN-Edit wurde installiert.' "$WORKDIR/install.out" || fail "no completion printed"
grep -q $'\r\r' "$WORKDIR/install.out" && fail "the console output holds CR CR"
[ "$(grep -c $'\r$' "$WORKDIR/install.out")" -eq "$(wc -l <"$WORKDIR/install.out")" ] ||
  fail "a console line does not end in CR LF"

# Past the two alerts and the agreement to the wizard; the script ticks the real check
# boxes and runs out: --hold keeps the windows a second, then the run ends with 3.
note "Removing through the windows, every data folder ticked"
printf '%s\n' "answer 1" "answer 1" "click cbo_Weiter" "click cbo_Weiter" "click cbo_Weiter" "click cbo_Weiter" \
  "click cbo_Weiter" "click cbo_Akzeptieren" "click CMD_Entfernen" "tick CB_Rem_FP 1" "tick CB_Rem_GP 1" \
  "tick CB_Rem_DB 1" "tick CB_Rem_PI 1" "tick CB_Rem_SO 1" "click CMD_Weiter" "answer 1" >"$WORKDIR/remove.txt"
run_setup remove --script "$(winpath "$WORKDIR/remove.txt")" --transcript "$(winpath "$WORKDIR/remove.jsonl")" --hold 1
expect_rc 3 "scripted removal, then the hold"
transcript_has "$WORKDIR/remove.jsonl" '"text":"KALDORIN-Edit wurde entfernt"'
check_removed

note "An older Windows with C:\\Programme: the default is C:\\Programme\\KALDORIN"
mkdir "$DRIVE_C/Programme"
run_setup old --unattended --accept-licence --target 'C:\Programme\Kaldorin Bahn' \
  --transcript "$(winpath "$WORKDIR/old.jsonl")"
expect_rc 0 "unattended installation into C:\\Programme"
transcript_has "$WORKDIR/old.jsonl" '"op":"folder","title":"KALDORIN-Edit Ziel-Ordner suchen","start":"C:\\Programme\\KALDORIN"'
check_installation "$DRIVE_C/Programme/Kaldorin Bahn" 'C:\Programme\Kaldorin Bahn'
echo "PASS"
