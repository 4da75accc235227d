#!/usr/bin/env bash
# Where Windows' lifecycle meets the setup, for a user whose name holds letters outside
# ASCII and a blank: the entry in Apps & features with every value, the removal Windows
# starts from it (QuietUninstallString, run from the installed folder), the installed
# Setup.Exe removing its whole folder with start /wait handing its exit code on, what
# it leaves in %TEMP% until the next start, and a gdiplus.dll beside the setup program
# that is never loaded.
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

note "Installing on the windows, unattended, for the user $USER"
run_setup install --unattended --accept-licence
[ ! -e "$MEDIUM/gdiplus.dll.geladen" ] || fail "the setup program loaded the gdiplus.dll beside it"
expect_rc 0 "unattended installation"
check_installation "$TARGET" "$TARGET_WIN"

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
set +e
(cd "$TARGET" && timeout 180 "$WINE" "$programm" $argumente) >"$WORKDIR/quiet.out" 2>"$WORKDIR/quiet.err"
rc=$?
set -e
"${WINE%/*}/wineserver" -w
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

note "The installed Setup.Exe removes its whole folder; start /wait hands its exit code on"
run_setup install2 --unattended --accept-licence
expect_rc 0 "second installation"
set +e
# Started in the installed folder; start itself waits elsewhere, as a folder that is
# another program's current one cannot be removed.
timeout 180 "$WINE" start /wait /d "$TARGET_WIN" "$TARGET_WIN\\Setup.Exe" --unattended --remove --remove-data all \
  --transcript "$(winpath "$WORKDIR/entfernen.jsonl")" >"$WORKDIR/start.out" 2>"$WORKDIR/start.err"
rc=$?
set -e
"${WINE%/*}/wineserver" -w
expect_rc 0 "the installed Setup.Exe through start /wait"
transcript_has "$WORKDIR/entfernen.jsonl" '"text":"KALDORIN-Edit wurde entfernt"'
check_removed
"$WINE" reg query "$ENTRY" >/dev/null 2>&1 && fail "the entry is still there"
[ ! -e "$MEDIUM/gdiplus.dll.geladen" ] || fail "the setup program loaded the gdiplus.dll beside it"
echo "PASS"
