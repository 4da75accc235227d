#!/usr/bin/env bash
# Where Windows' lifecycle meets the setup, for a user whose name holds letters outside
# ASCII and a blank, on a fresh prefix: the default installation (the user's own programs
# folder, registry, links, the installed program started from its link, CR LF on the
# console), the entry in Apps & features with every value, the removal Windows starts
# from it (QuietUninstallString, run from the installed folder), what it leaves in %TEMP%
# until the next start, the removal through the real windows, the installed Setup.Exe
# removing its whole folder with start /wait handing its exit code on, an older Windows
# with C:\Programme, and a gdiplus.dll beside the setup program that is never loaded.
# What the program does on every system the native tests check.
#   wine_lifecycle_test.sh EXE PREFIX_TEMPLATE PACK WORKDIR PLANTED_DLL
# USER names the user the template was booted for.
EXE=$1 PREFIX_TEMPLATE=$2 PACK=$3 WORKDIR=$4 GEPFLANZT=$5
. "$(dirname "$0")/wine_common.sh"

# The installed Setup.Exe is this very program. Beside the one on the medium lies a
# gdiplus.dll, and Wine takes a DLL it finds before its own, as Windows searches the
# program's folder first.
"$PACK" pack "$EXE" "$MEDIUM/Setup.ex_" >/dev/null
cp "$GEPFLANZT" "$MEDIUM/gdiplus.dll"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;gdiplus=n,b"
TEMPDIR=$PROFILE/Temp
ENTRY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\KALDORIN-Edit'

# The entry as reg query prints it, in the console's code page.
entry() { "$WINE" reg query "$ENTRY" 2>/dev/null | tr -d '\r' | iconv -f CP437 -t UTF-8; }

note "Installing unattended into the default folder, for the user $USER"
run_setup install --unattended --accept-licence
expect_rc 0 "unattended installation"
check_installation "$TARGET" "$TARGET_WIN"
# One line break is CR LF on the console, never CR CR LF.
grep -qF 'KALDORIN-Edit wurde installiert.' "$WORKDIR/install.out" || fail "no completion printed"
grep -q $'\r\r' "$WORKDIR/install.out" && fail "the console output holds CR CR"
[ "$(grep -c $'\r$' "$WORKDIR/install.out")" -eq "$(wc -l <"$WORKDIR/install.out")" ] ||
  fail "a console line does not end in CR LF"

note "The entry in Apps & features"
entry >"$WORKDIR/entry.txt"
kib=$(find "$TARGET" -type f -printf '%s\n' | awk '{ s += $1 } END { printf "0x%x", int((s + 1023) / 1024) }')
setup="\"$TARGET_WIN\\Setup.Exe\""
[ "$(grep -c ' REG_' "$WORKDIR/entry.txt")" -eq 11 ] || fail "the entry holds other values: $(cat "$WORKDIR/entry.txt")"
while IFS='|' read -r name typ wert; do
  grep -qxF "    $name    $typ    $wert" "$WORKDIR/entry.txt" ||
    fail "the entry lacks $name = $wert: $(cat "$WORKDIR/entry.txt")"
done <<WERTE
DisplayName|REG_SZ|KALDORIN-Edit
DisplayVersion|REG_SZ|2.32
Publisher|REG_SZ|Vorkwerk-Gruppe
InstallLocation|REG_SZ|$TARGET_WIN
DisplayIcon|REG_SZ|$TARGET_WIN\\KALDORIN_Edit.EXE,0
UninstallString|REG_SZ|$setup
QuietUninstallString|REG_SZ|$setup --unattended --remove
EstimatedSize|REG_DWORD|$kib
InstallDate|REG_SZ|$(date +%Y%m%d)
NoModify|REG_DWORD|0x1
NoRepair|REG_DWORD|0x1
WERTE

note "Removing as Windows does: QuietUninstallString, started in the installed folder"
quiet=$(sed -n 's/^    QuietUninstallString    REG_SZ    //p' "$WORKDIR/entry.txt")
programm=${quiet#\"}
programm=${programm%%\"*}
argumente=${quiet##*\" }
temp_vorher=$(ls -A "$TEMPDIR")
run_in "$TARGET" quiet "$programm" $argumente
expect_rc 0 "the removal Apps & features starts"
grep -qF 'KALDORIN-Edit wurde entfernt' "$WORKDIR/quiet.out" || fail "no removal printed"
"$WINE" reg query "$ENTRY" >/dev/null 2>&1 && fail "the entry is still there"
"$WINE" reg query 'HKCU\Software\VORK' >/dev/null 2>&1 && fail "HKCU\\Software\\VORK still exists"
# Every program file goes; the data folders stay, as nothing asked for them.
[ -z "$(find "$TARGET" -maxdepth 1 -type f)" ] || fail "program files stay: $(find "$TARGET" -maxdepth 1 -type f)"
[ ! -e "$TARGET/Help" ] && [ -f "$TARGET/Fahrplan/test.fpw" ] || fail "help or data folders wrong: $(ls "$TARGET")"
neu=$(comm -13 <(echo "$temp_vorher") <(ls -A "$TEMPDIR"))
[ "$(echo "$neu" | grep -c .)" -le 1 ] || fail "the removal left more than one thing in %TEMP%: $neu"
run_setup hilfe --help
[ "$(ls -A "$TEMPDIR")" = "$temp_vorher" ] || fail "the next start left in %TEMP%: $(ls -A "$TEMPDIR")"

# Past the two alerts and the agreement to the wizard; the script ticks the real check
# boxes and runs out: --hold keeps the windows a second, then the run ends with 3.
note "Removing through the windows, every data folder ticked (the kept ones too)"
run_setup install2 --unattended --accept-licence
expect_rc 0 "second installation"
printf '%s\n' "answer 1" "answer 1" "click cbo_Weiter" "click cbo_Weiter" "click cbo_Weiter" "click cbo_Weiter" \
  "click cbo_Weiter" "click cbo_Akzeptieren" "click CMD_Entfernen" "tick CB_Rem_FP 1" "tick CB_Rem_GP 1" \
  "tick CB_Rem_DB 1" "tick CB_Rem_PI 1" "tick CB_Rem_SO 1" "click CMD_Weiter" "answer 1" >"$WORKDIR/remove.txt"
run_setup remove --script "$(winpath "$WORKDIR/remove.txt")" --transcript "$(winpath "$WORKDIR/remove.jsonl")" --hold 1
expect_rc 3 "scripted removal, then the hold"
transcript_has "$WORKDIR/remove.jsonl" '"text":"KALDORIN-Edit wurde entfernt"'
check_removed

note "The installed Setup.Exe removes its whole folder; start /wait hands its exit code on"
run_setup install3 --unattended --accept-licence
expect_rc 0 "third installation"
# Started in the installed folder; start itself waits elsewhere, as a folder that is
# another program's current one cannot be removed.
run_in "$WORKDIR" start start /wait /d "$TARGET_WIN" "$TARGET_WIN\\Setup.Exe" --unattended --remove --remove-data all \
  --transcript "$(winpath "$WORKDIR/entfernen.jsonl")"
expect_rc 0 "the installed Setup.Exe through start /wait"
transcript_has "$WORKDIR/entfernen.jsonl" '"text":"KALDORIN-Edit wurde entfernt"'
check_removed

note "An older Windows with C:\\Programme: the default is C:\\Programme\\KALDORIN"
mkdir "$DRIVE_C/Programme"
run_setup old --unattended --accept-licence --target 'C:\Programme\Kaldorin Bahn' \
  --transcript "$(winpath "$WORKDIR/old.jsonl")"
expect_rc 0 "unattended installation into C:\\Programme"
transcript_has "$WORKDIR/old.jsonl" '"op":"folder","title":"KALDORIN-Edit Ziel-Ordner suchen","start":"C:\\Programme\\KALDORIN"'
check_installation "$DRIVE_C/Programme/Kaldorin Bahn" 'C:\Programme\Kaldorin Bahn'
# Any start of the setup program above would have left the marker.
[ ! -e "$MEDIUM/gdiplus.dll.geladen" ] || fail "the setup program loaded the gdiplus.dll beside it"
echo "PASS"
