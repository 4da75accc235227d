#!/usr/bin/env bash
# Expansion benchmark: a scaled demo medium expanded through Datei_Entpacken, beside
# (a) cp -r of the expanded tree, (b) zstd -d of the same streams and (c) xz -d of the
# same files packed with xz -9. Every contender ends with its files flushed to disk.
#
#   bench/pack/run.sh [BUILD_DIR]      (environment: SCALE=42 LEVEL=19 WINDOW= RUNS=3 WORK=...)
set -euo pipefail

BUILD=${1:-build}
SCALE=${SCALE:-42}
LEVEL=${LEVEL:-19}
WINDOW=${WINDOW:-}
RUNS=${RUNS:-3}
WORK=${WORK:-${TMPDIR:-/tmp}/kaldorin-bench}
PACK="$BUILD/bin/kaldorin-pack"
DRIVER="$BUILD/bin/kaldorin-bench-entpacken"

for tool in "$PACK" "$DRIVER"; do
  [[ -x $tool ]] || { echo "missing $tool: build kaldorin-pack and kaldorin-bench-entpacken" >&2; exit 2; }
done
for cmd in zstd xz /usr/bin/time; do
  command -v "$cmd" >/dev/null || { echo "missing $cmd" >&2; exit 2; }
done

SET="$WORK/scale-$SCALE-level-$LEVEL${WINDOW:+-window-$WINDOW}"
MEDIUM="$SET/medium" APP="$SET/app" ZST="$SET/zst" XZ="$SET/xz" OUT="$WORK/out"
mkdir -p "$SET"

# --- The inputs, made once per scale and level ----------------------------------
if [[ ! -f $SET/.fertig ]]; then
  rm -rf "$MEDIUM" "$APP" "$ZST" "$XZ"
  echo "building the demo medium (scale $SCALE, level $LEVEL${WINDOW:+, window 2^$WINDOW}) ..."
  "$PACK" --quiet --level "$LEVEL" ${WINDOW:+--window "$WINDOW"} --scale "$SCALE" --app "$APP" demo "$MEDIUM"
  echo "extracting the bare zstd streams and packing with xz -9 ..."
  # One line per file: short name on the medium, path in the installed tree.
  "$DRIVER" --list > "$SET/liste"
  while IFS=$'\t' read -r quelle ziel; do
    mkdir -p "$(dirname "$ZST/$ziel")" "$(dirname "$XZ/$ziel")"
    # The stream is the medium file without its sixth and its last byte.
    { head -c 5 "$MEDIUM/$quelle"; tail -c +7 "$MEDIUM/$quelle" | head -c -1; } > "$ZST/$ziel.zst"
    xz -9 -k -c "$APP/$ziel" > "$XZ/$ziel.xz"
  done < "$SET/liste"
  touch "$SET/.fertig"
fi

total() { find "$1" -type f -printf '%s\n' | paste -sd+ | bc; }
expanded=$(total "$APP")
packed_zstd=$(total "$ZST")
packed_xz=$(total "$XZ")
largest=$(find "$APP" -type f -printf '%s\n' | sort -n | tail -1)

# Every written file flushed to disk, as ours flushes each file it writes.
flush_all() { find "$1" -type f -exec sync {} +; }

# run NAME COMMAND...: best wall time and best CPU time (user + system, children
# included) of RUNS runs into a fresh $OUT, and peak memory. CPU time stays honest
# when other work shares the machine; wall time includes waiting for the disk.
declare -A best cpu rss
run() {
  local name=$1; shift
  local t c
  for ((i = 0; i < RUNS; i++)); do
    # The installation makes its folders before the file phase; so does every run here.
    rm -rf "$OUT"; mkdir -p "$OUT"/{sound,bilder,stellwerk,fahrplan,help}; sync
    local start end
    start=$(date +%s.%N)
    /usr/bin/time -f '%M %U %S' -o "$WORK/rss" "$@" > /dev/null
    end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc -l)
    if [[ -z ${best[$name]:-} ]] || (( $(echo "$t < ${best[$name]}" | bc -l) )); then
      best[$name]=$t
    fi
    read -r r u s < "$WORK/rss"
    c=$(echo "$u + $s" | bc -l)
    if [[ -z ${cpu[$name]:-} ]] || (( $(echo "$c < ${cpu[$name]}" | bc -l) )); then
      cpu[$name]=$c
    fi
    rss[$name]=$r
    diff -r "$APP" "$OUT" > /dev/null || { echo "$name: output differs from the application" >&2; exit 1; }
  done
}

export APP ZST XZ OUT SET
export -f flush_all
run ours   "$DRIVER" "$MEDIUM" "$OUT"
run cp     bash -c 'cp -r "$APP/." "$OUT/" && flush_all "$OUT"'
run zstd   bash -c 'while IFS=$'"'"'\t'"'"' read -r q z; do zstd -d -q -f "$ZST/$z.zst" -o "$OUT/$z"; done < "$SET/liste"; flush_all "$OUT"'
run xz     bash -c 'while IFS=$'"'"'\t'"'"' read -r q z; do xz -d -c "$XZ/$z.xz" > "$OUT/$z"; done < "$SET/liste"; flush_all "$OUT"'
rm -rf "$OUT"

mbs() { echo "scale=1; $expanded / 1000000 / $1" | bc -l; }
ratio() { echo "scale=2; $2 / $1" | bc -l; }
printf '\nexpanded %d bytes in %d files, largest %d; zstd packed %d (%.1f %%), xz -9 packed %d (%.1f %%)\n' \
  "$expanded" "$(wc -l < "$SET/liste")" "$largest" "$packed_zstd" \
  "$(echo "100 * $packed_zstd / $expanded" | bc -l)" "$packed_xz" "$(echo "100 * $packed_xz / $expanded" | bc -l)"
printf 'zstd packed size / xz packed size: %.3f\n' "$(echo "$packed_zstd / $packed_xz" | bc -l)"
printf '\n%-8s %9s %9s %9s %12s\n' "" "wall s" "MB/s" "CPU s" "peak RSS MB"
for name in ours cp zstd xz; do
  printf '%-8s %9.3f %9s %9.2f %12.1f\n' "$name" "${best[$name]}" "$(mbs "${best[$name]}")" \
    "${cpu[$name]}" "$(echo "${rss[$name]} / 1024" | bc -l)"
done
printf '\nwall: ours / cp -r %.2f   ours / zstd -d %.2f   xz -d / ours %.2f\n' \
  "$(ratio "${best[cp]}" "${best[ours]}")" "$(ratio "${best[zstd]}" "${best[ours]}")" \
  "$(ratio "${best[ours]}" "${best[xz]}")"
printf 'CPU:  ours / cp -r %.2f   ours / zstd -d %.2f   xz -d / ours %.2f\n' \
  "$(ratio "${cpu[cp]}" "${cpu[ours]}")" "$(ratio "${cpu[zstd]}" "${cpu[ours]}")" \
  "$(ratio "${cpu[ours]}" "${cpu[xz]}")"
printf 'peak memory of ours: %.1f MB, limit (largest file + 32 MB): %.1f MB\n' \
  "$(echo "${rss[ours]} / 1024" | bc -l)" "$(echo "$largest / 1048576 + 32" | bc -l)"
