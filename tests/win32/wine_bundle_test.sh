#!/usr/bin/env bash
# The setup program that carries its medium, as a vendor ships it: bundled, signed with
# a certificate made here, started alone from an empty, read-only folder on a fresh
# prefix. A changed byte of the payload breaks the signature and the program refuses
# itself before it writes anything.
#   wine_bundle_test.sh EXE PREFIX_TEMPLATE PACK WORKDIR
EXE=$1 PREFIX_TEMPLATE=$2 PACK=$3 WORKDIR=$4
. "$(dirname "$0")/wine_common.sh"
command -v osslsigncode >/dev/null || fail "osslsigncode is missing (apt-get install osslsigncode)"
command -v openssl >/dev/null || fail "openssl is missing (apt-get install openssl)"

note "Bundling and signing"
"$PACK" --quiet bundle --setup "$EXE" "$MEDIUM" "$WORKDIR/unsigniert.exe"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=VORK Testzertifikat" \
  -keyout "$WORKDIR/key.pem" -out "$WORKDIR/cert.pem" 2>/dev/null
osslsigncode sign -certs "$WORKDIR/cert.pem" -key "$WORKDIR/key.pem" -n "KALDORIN-Edit Setup" \
  -in "$WORKDIR/unsigniert.exe" -out "$WORKDIR/signiert.exe" >/dev/null
osslsigncode verify -CAfile "$WORKDIR/cert.pem" -in "$WORKDIR/signiert.exe" >"$WORKDIR/verify.log" 2>&1 ||
  { cat "$WORKDIR/verify.log"; fail "the signed bundle does not verify"; }
"$PACK" verify "$WORKDIR/signiert.exe" >/dev/null || fail "kaldorin-pack verify refuses the signed bundle"

# run_alone NAME FILE ARGS... : FILE copied alone into an empty read-only folder and run there.
run_alone() {
  local name=$1 file=$2; shift 2
  mkdir "$WORKDIR/$name" && cp "$file" "$WORKDIR/$name/KALDORIN-Setup.exe" && chmod 555 "$WORKDIR/$name"
  run_in "$WORKDIR/$name" "$name" KALDORIN-Setup.exe "$@"
}

note "A changed byte of the payload: refused by the signature and by the program"
cp "$WORKDIR/signiert.exe" "$WORKDIR/kaputt.exe"
size=$(stat -c %s "$WORKDIR/kaputt.exe")
printf '\x5a' | dd of="$WORKDIR/kaputt.exe" bs=1 seek=$((size - 300000)) conv=notrunc status=none
osslsigncode verify -CAfile "$WORKDIR/cert.pem" -in "$WORKDIR/kaputt.exe" >/dev/null 2>&1 &&
  fail "osslsigncode accepts the changed bundle"
run_alone kaputt "$WORKDIR/kaputt.exe" --unattended --accept-licence --transcript "$(winpath "$WORKDIR/kaputt.jsonl")"
expect_rc 1 "the changed bundle"
grep -qF 'Das Setup-Programm ist beschädigt' "$WORKDIR/kaputt.err" || fail "no German message: $(cat "$WORKDIR/kaputt.err")"
transcript_has "$WORKDIR/kaputt.jsonl" '"op":"error","line":0,"script":"","reason":"Das Setup-Programm ist beschädigt'
[ ! -e "$TARGET" ] || fail "the changed bundle wrote $TARGET"
"$WINE" reg query 'HKCU\Software\VORK' >/dev/null 2>&1 && fail "the changed bundle wrote the registry"

note "Cut short, as an interrupted download leaves it"
head -c $((size / 2)) "$WORKDIR/signiert.exe" >"$WORKDIR/kurz.exe"
run_alone kurz "$WORKDIR/kurz.exe" --unattended --accept-licence
expect_rc 1 "the truncated bundle"
grep -qF 'nicht vollständig geladen' "$WORKDIR/kurz.err" || fail "no German message: $(cat "$WORKDIR/kurz.err")"

note "The signed bundle alone installs, without --source"
run_alone allein "$WORKDIR/signiert.exe" --unattended --accept-licence
expect_rc 0 "the signed bundle alone"
check_installation "$TARGET" "$TARGET_WIN"
echo "PASS"
