#!/usr/bin/env bash
# The unattended road on a fresh prefix: the default installation, what goes wrong on
# Windows (a read-only program file, a damaged packed file), the removal of everything,
# and an older Windows that has C:\Programme.
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

note "A read-only program file: the write is refused before anything is written"
echo "alte Fassung" >"$TARGET/KALDORIN.OCX"
chmod a-w "$TARGET/KALDORIN.OCX"  # Wine shows it with the read-only attribute
run_setup readonly --unattended --accept-licence
expect_rc 1 "installing over a read-only file"
grep -qF 'KALDORIN kann nicht instaliert werden' "$WORKDIR/readonly.out" || fail "the refusal was not shown"
[ "$(cat "$TARGET/KALDORIN.OCX")" = "alte Fassung" ] || fail "the read-only file was changed"
chmod u+w "$TARGET/KALDORIN.OCX"

note "A damaged packed file: the error is shown, the installed file stays whole"
cp "$TARGET/t4.ovl" "$WORKDIR/t4.before"
size=$(stat -c %s "$MEDIUM/t4.px_")
cp "$MEDIUM/t4.px_" "$WORKDIR/t4.px_"
truncate -s $((size / 2)) "$MEDIUM/t4.px_"
run_setup damaged --unattended --accept-licence --transcript "$(winpath "$WORKDIR/damaged.jsonl")"
expect_rc 1 "installing from a damaged medium"
grep -F '"op":"message"' "$WORKDIR/damaged.jsonl" | grep -qF '"style":16' || fail "no stop message for the damaged file"
cmp -s "$WORKDIR/t4.before" "$TARGET/t4.ovl" || fail "t4.ovl was written from a damaged source"
find "$TARGET" -name '*.tmp' | grep -q . && fail "temporary files left behind"
cp "$WORKDIR/t4.px_" "$MEDIUM/t4.px_"

note "Removing unattended, every data folder included"
run_setup remove --unattended --remove --remove-data all
expect_rc 0 "unattended removal"
check_removed

note "An older Windows with C:\\Programme: the default is C:\\Programme\\KALDORIN"
mkdir "$DRIVE_C/Programme"
run_setup old --unattended --accept-licence --target 'C:\Programme\Kaldorin Bahn' \
  --transcript "$(winpath "$WORKDIR/old.jsonl")"
expect_rc 0 "unattended installation into C:\\Programme"
transcript_has "$WORKDIR/old.jsonl" '"op":"folder","title":"KALDORIN-Edit Ziel-Ordner suchen","start":"C:\\Programme\\KALDORIN"'
check_installation "$DRIVE_C/Programme/Kaldorin Bahn" 'C:\Programme\Kaldorin Bahn'
echo "PASS"
