#!/usr/bin/env bash
# The unattended mode on the real windows: installs into a folder chosen through the
# shell's folder dialog, then removes it with every data folder.
#   wine_unattended_test.sh EXE PREFIX_TEMPLATE PACK WORKDIR
EXE=$1 PREFIX_TEMPLATE=$2 PACK=$3 WORKDIR=$4
. "$(dirname "$0")/wine_common.sh"

note "Installing unattended into C:\\Programme\\Kaldorin Bahn"
run_setup unattended-install --unattended --accept-licence --target 'C:\Programme\Kaldorin Bahn' \
  --transcript "$(winpath "$WORKDIR/install.jsonl")"
expect_rc 0 "unattended installation"
transcript_has "$WORKDIR/install.jsonl" '"op":"folder","title":"KALDORIN-Edit Ziel-Ordner suchen"'
check_installed "$DRIVE_C/Programme/Kaldorin Bahn"
check_registry_dir 'C:\Programme\Kaldorin Bahn'
check_links 'C:\Programme\Kaldorin Bahn'

note "Removing unattended"
run_setup unattended-remove --unattended --remove --remove-data all \
  --transcript "$(winpath "$WORKDIR/remove.jsonl")"
expect_rc 0 "unattended removal"
[ ! -e "$DRIVE_C/Programme/Kaldorin Bahn" ] || fail "the installation folder is still there"
check_registry_gone
check_links_gone

note "Unattended without accepting the licence installs nothing"
run_setup refused --unattended
expect_rc 2 "unattended without --accept-licence"
[ ! -e "$TARGET" ] || fail "something was installed without the licence"
echo "PASS"
