#!/usr/bin/env bash
# What goes wrong on Windows is reported and leaves nothing half-written: a
# read-only program file in the target, a damaged packed file on the medium.
#   wine_failures_test.sh EXE PREFIX_TEMPLATE PACK WORKDIR
EXE=$1 PREFIX_TEMPLATE=$2 PACK=$3 WORKDIR=$4
. "$(dirname "$0")/wine_common.sh"

INSTALL=("${ROAD_TO_WIZARD[@]}" "click CMD_Weiter" "click CMD_Weiter" "click CMD_Weiter")

note "A read-only file in the target: the write is refused before anything is written"
mkdir -p "$TARGET"
echo "alte Fassung" >"$TARGET/KALDORIN.OCX"
chmod a-w "$TARGET/KALDORIN.OCX"  # Wine shows it with the read-only attribute
s=$(script readonly "${INSTALL[@]}" "answer 1" "answer 1" "answer 1")
run_setup readonly --script "$s" --transcript "$(winpath "$WORKDIR/readonly.jsonl")"
transcript_has "$WORKDIR/readonly.jsonl" 'KALDORIN kann nicht instaliert werden'
[ "$(cat "$TARGET/KALDORIN.OCX")" = "alte Fassung" ] || fail "the read-only file was changed"
find "$TARGET" -name '*.tmp' | grep -q . && fail "temporary files left behind"
chmod u+w "$TARGET/KALDORIN.OCX"
rm -rf "$TARGET"

note "A damaged packed file: the error is shown, its target is never written half"
size=$(stat -c %s "$MEDIUM/t4.px_")
truncate -s $((size / 2)) "$MEDIUM/t4.px_"
s=$(script damaged "${INSTALL[@]}" "answer 1" "answer 1" "answer 1" "answer 1")
run_setup damaged --script "$s" --transcript "$(winpath "$WORKDIR/damaged.jsonl")"
grep -F '"op":"message"' "$WORKDIR/damaged.jsonl" | grep -qF '"style":16' || fail "no stop message for the damaged file"
[ ! -e "$TARGET/t4.ovl" ] || fail "t4.ovl was written from a damaged source"
find "$TARGET" -name '*.tmp' | grep -q . && fail "temporary files left behind"
echo "PASS"
