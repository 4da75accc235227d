#!/usr/bin/env bash
# Expansion benchmark: a medium expanded by the setup program, beside (a) cp -r of the
# expanded tree, (b) zstd -d of the same streams and (c) xz -d of the same files packed
# with xz -9. Every contender ends with its files flushed to disk. Ours runs three times:
# the per-file driver (Datei_Entpacken over the POSIX numbered files), the whole program
# (an unattended installation from the medium folder into a fresh prefix, start to exit)
# and the whole program as one file that carries the medium (kaldorin-pack bundle),
# started alone, also into a fresh prefix.
#
#   bench/pack/run.sh [BUILD_DIR]
#   environment: APP=DIR (an application folder under the installed names; default: the
#                generated demo), BASE=BUILD_DIR (another build whose two runs go beside
#                ours in every round, for a before/after), SCALE=42 LEVEL=19 WINDOW= RUNS=5
#                (0: only make the inputs) WORK=... ONLY="whole bundle cp" (the contenders
#                of a round, in this order; default: all)
set -euo pipefail

BUILD=${1:-build}
SCALE=${SCALE:-42}
LEVEL=${LEVEL:-19}
WINDOW=${WINDOW:-}
RUNS=${RUNS:-5}
WORK=${WORK:-${TMPDIR:-/tmp}/kaldorin-bench}
PACK="$BUILD/bin/kaldorin-pack"
DRIVER="$BUILD/bin/kaldorin-bench-entpacken"
SETUP="$BUILD/bin/kaldorin-setup"

BASE=${BASE:-}
for tool in "$PACK" "$DRIVER" "$SETUP" ${BASE:+"$BASE/bin/kaldorin-bench-entpacken" "$BASE/bin/kaldorin-setup"}; do
  [[ -x $tool ]] || { echo "missing $tool: build kaldorin-pack, kaldorin-setup and kaldorin-bench-entpacken" >&2; exit 2; }
done
for cmd in zstd xz md5sum /usr/bin/time; do
  command -v "$cmd" >/dev/null || { echo "missing $cmd" >&2; exit 2; }
done

# --- The inputs, made once per application and level -----------------------------
if [[ -n ${APP:-} ]]; then
  APP=$(cd "$APP" && pwd)
  # The application's own Setup.Exe goes onto the medium, so the installed tree is APP.
  SETUP_EXE=$(find "$APP" -maxdepth 1 -type f -iname setup.exe | head -n1)
  [[ -n $SETUP_EXE ]] || { echo "$APP holds no Setup.Exe" >&2; exit 2; }
  SET="$WORK/app-$(echo "$APP" | md5sum | cut -c1-8)-level-$LEVEL${WINDOW:+-window-$WINDOW}"
else
  SET="$WORK/scale-$SCALE-level-$LEVEL${WINDOW:+-window-$WINDOW}"
  APP="$SET/app"
fi
MEDIUM="$SET/medium" ZST="$SET/zst" XZ="$SET/xz" OUT="$WORK/out" PREFIX="$WORK/prefix"
mkdir -p "$SET"

if [[ ! -f $SET/.fertig ]]; then
  rm -rf "$MEDIUM" "$ZST" "$XZ"
  if [[ -n ${SETUP_EXE:-} ]]; then
    echo "packing $APP (level $LEVEL${WINDOW:+, window 2^$WINDOW}) ..."
    "$PACK" --quiet --level "$LEVEL" ${WINDOW:+--window "$WINDOW"} --setup "$SETUP_EXE" medium "$APP" "$MEDIUM"
  else
    rm -rf "$APP"
    echo "building the demo medium (scale $SCALE, level $LEVEL${WINDOW:+, window 2^$WINDOW}) ..."
    "$PACK" --quiet --level "$LEVEL" ${WINDOW:+--window "$WINDOW"} --scale "$SCALE" --app "$APP" demo "$MEDIUM"
  fi
  echo "extracting the bare zstd streams and packing with xz -9 ..."
  # One line per file: short name on the medium, path in the installed tree.
  "$DRIVER" --list > "$SET/liste"
  while IFS=$'\t' read -r quelle ziel; do
    [[ -f $MEDIUM/$quelle ]] || continue
    mkdir -p "$(dirname "$ZST/$ziel")" "$(dirname "$XZ/$ziel")"
    # The stream is the medium file without its sixth and its last byte.
    { head -c 5 "$MEDIUM/$quelle"; tail -c +7 "$MEDIUM/$quelle" | head -c -1; } > "$ZST/$ziel.zst"
    xz -9 -k -c "$APP/$ziel" > "$XZ/$ziel.xz"
  done < "$SET/liste"
  # What the tree holds, names without regard to case (the installation writes
  # "Sound" where the file list says "sound").
  (cd "$APP" && find . -type f -exec md5sum {} + | tr 'A-Z' 'a-z' | sort -k2) > "$SET/summen"
  touch "$SET/.fertig"
fi
if (( RUNS == 0 )); then echo "inputs ready in $SET"; exit 0; fi

total() { find "$1" -type f -printf '%s\n' | paste -sd+ | bc; }
expanded=$(total "$APP")
packed_zstd=$(total "$ZST")
packed_xz=$(total "$XZ")
largest=$(find "$APP" -type f -printf '%s\n' | sort -n | tail -1)

# Every written file flushed to disk, as ours flushes each file it writes.
flush_all() { find "$1" -type f -exec sync {} +; }

# The folders of the installed tree exist before the file phase (the installation
# makes them first); the whole program makes its own.
fresh_out() {
  rm -rf "$OUT" "$PREFIX"
  if [[ $1 != whole* ]]; then mkdir -p "$OUT"/{sound,bilder,stellwerk,fahrplan,help}; fi
  sync
}

# run NAME COMMAND...: one run into a fresh $OUT; wall time, CPU time (user + system,
# children included) and peak resident memory of the process tree's largest member.
declare -A wall cpu rss
run() {
  local name=$1; shift
  fresh_out "$name"
  local start end
  start=$(date +%s.%N)
  /usr/bin/time -v -o "$WORK/time" "$@" > /dev/null
  end=$(date +%s.%N)
  wall[$name]+="$(echo "$end - $start" | bc -l) "
  local u s m
  u=$(sed -n 's/^\tUser time (seconds): //p' "$WORK/time")
  s=$(sed -n 's/^\tSystem time (seconds): //p' "$WORK/time")
  m=$(sed -n 's/^\tMaximum resident set size (kbytes): //p' "$WORK/time")
  cpu[$name]+="$(echo "$u + $s" | bc -l) "
  rss[$name]+="$m "
  if ! (cd "$OUT" && find . -type f -exec md5sum {} + | tr 'A-Z' 'a-z' | sort -k2) | cmp -s - "$SET/summen"; then
    echo "$name: the written tree differs from the application" >&2; exit 1
  fi
}

median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
maximum() { tr ' ' '\n' | grep -v '^$' | sort -g | tail -n1; }
# ratio A B: the median over the rounds of A's time / B's time in the same round.
ratio() {
  local -a a b
  read -ra a <<< "${wall[$1]}"; read -ra b <<< "${wall[$2]}"
  for ((i = 0; i < ${#a[@]}; i++)); do echo "${a[i]} / ${b[i]}" | bc -l; done | tr '\n' ' ' | median
}

# The bundle of this build's program and the medium, made afresh: cheap beside packing.
BUNDLE="$WORK/KALDORIN-Setup"
"$PACK" --quiet bundle --setup "$SETUP" "$MEDIUM" "$BUNDLE"

export APP ZST XZ OUT SET MEDIUM
export -f flush_all
whole_target="Z:$(echo "$OUT" | tr '/' '\\')"
whole_source="Z:$(echo "$MEDIUM" | tr '/' '\\')"
contenders=(ours whole bundle cp zstd xz)
[[ -n ${ONLY:-} ]] && read -ra contenders <<< "$ONLY"
[[ -n $BASE ]] && contenders+=(ours@base whole@base)
runs() { [[ " ${contenders[*]} " == *" $1 "* ]]; }
whole() {  # whole NAME SETUP: the unattended installation, links and settings record included
  run "$1" env KALDORIN_PREFIX="$PREFIX" "$2" --unattended --accept-licence \
    --source "$whole_source" --target "$whole_target"
}

load_before=$(uptime)
# Rounds: every contender once per round, one after the other, so that a change in the
# machine's load falls on all of them alike; ratios are taken within a round.
for ((round = 1; round <= RUNS; round++)); do
  runs ours && run ours "$DRIVER" "$MEDIUM" "$OUT"
  runs whole && whole whole "$SETUP"
  if [[ -n $BASE ]]; then
    run ours@base "$BASE/bin/kaldorin-bench-entpacken" "$MEDIUM" "$OUT"
    whole whole@base "$BASE/bin/kaldorin-setup"
  fi
  # Alone, in its own folder: no --source.
  runs bundle && run bundle env KALDORIN_PREFIX="$PREFIX" "$BUNDLE" --unattended --accept-licence \
    --target "$whole_target"
  runs cp && run cp bash -c 'cp -r "$APP/." "$OUT/" && flush_all "$OUT"'
  runs zstd && run zstd bash -c 'while IFS=$'"'"'\t'"'"' read -r q z; do [[ -f $ZST/$z.zst ]] && zstd -d -q -f "$ZST/$z.zst" -o "$OUT/$z"; done < "$SET/liste"; flush_all "$OUT"'
  runs xz && run xz bash -c 'while IFS=$'"'"'\t'"'"' read -r q z; do [[ -f $XZ/$z.xz ]] && xz -d -c "$XZ/$z.xz" > "$OUT/$z"; done < "$SET/liste"; flush_all "$OUT"'
done
load_after=$(uptime)
rm -rf "$OUT" "$PREFIX"

printf '\n%s\nexpanded %d bytes in %d files, largest %d; zstd packed %d (%.1f %%), xz -9 packed %d (%.1f %%)\n' \
  "$APP" "$expanded" "$(find "$APP" -type f | wc -l)" "$largest" "$packed_zstd" \
  "$(echo "100 * $packed_zstd / $expanded" | bc -l)" "$packed_xz" "$(echo "100 * $packed_xz / $expanded" | bc -l)"
printf 'zstd packed size / xz packed size: %.3f\n' "$(echo "$packed_zstd / $packed_xz" | bc -l)"
printf 'load before: %s\nload after:  %s\n' "${load_before#*load average: }" "${load_after#*load average: }"
printf '\nmedians of %d rounds\n%-11s %9s %9s %9s %12s\n' "$RUNS" "" "wall s" "MB/s" "CPU s" "peak RSS MB"
for name in "${contenders[@]}"; do
  w=$(echo "${wall[$name]}" | median)
  printf '%-11s %9.3f %9.1f %9.2f %12.1f\n' "$name" "$w" "$(echo "$expanded / 1000000 / $w" | bc -l)" \
    "$(echo "${cpu[$name]}" | median)" "$(echo "$(echo "${rss[$name]}" | maximum) / 1024" | bc -l)"
done
printf '\nwall, median of the per-round ratios:\n'
for ours in ours whole bundle ${BASE:+ours@base whole@base}; do
  runs "$ours" || [[ $ours == *@base ]] || continue
  runs cp && printf '  %-10s / cp -r %.2f\n' "$ours" "$(ratio "$ours" cp)"
  runs zstd && printf '  %-10s / zstd -d %.2f\n' "$ours" "$(ratio "$ours" zstd)"
  runs xz && printf '  xz -d / %-10s %.2f\n' "$ours" "$(ratio xz "$ours")"
done
if runs bundle && runs whole; then
  printf '  bundle / whole %.2f   peak memory: bundle %.1f MB, whole %.1f MB (goal: at most whole + 8 MB)\n' \
    "$(ratio bundle whole)" "$(echo "$(echo "${rss[bundle]}" | maximum) / 1024" | bc -l)" \
    "$(echo "$(echo "${rss[whole]}" | maximum) / 1024" | bc -l)"
fi
if [[ -n $BASE ]]; then
  runs whole && printf '  whole / whole@base %.2f\n' "$(ratio whole whole@base)"
  runs ours && printf '  ours / ours@base %.2f\n' "$(ratio ours ours@base)"
fi
if runs whole; then printf 'peak memory of the whole installation: %.1f MB, limit (largest file + 32 MB): %.1f MB\n' \
  "$(echo "$(echo "${rss[whole]}" | maximum) / 1024" | bc -l)" "$(echo "$largest / 1048576 + 32" | bc -l)"; fi
