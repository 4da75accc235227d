# Key presses for the desktop faces' tests: real key events (xdotool) to the real
# windows on a private X server, each once the program waits for it. The sourcing
# script sets WORKDIR, SHOTS, RUHIG_STILLE, RUHIG_VORLAUF (see ruhig) and defines
# starten NAME (the setup on a fresh prefix in the background: SETUP_PID, transcript
# $WORKDIR/NAME.jsonl, default target ZIEL) and beteiligte (the pids whose activity
# counts). tests/keys_roads.sh has the keyboard roads both faces take.
command -v xdotool >/dev/null || fail "xdotool is missing (apt-get install xdotool)"

# The activity of PIDS..., read without starting a process: CPU ticks (user and system,
# fields 12 and 13 after the command's name) and bytes written. A process with a thread
# that runs or waits for a processor (state R) or for the disk (state D) is busy whatever
# its counters say: on a loaded machine a program that has work left may get no
# processor for a while, and a flush uses none.
aktivitaet() {
  local pid line summe=0 key wert faden
  for pid in "$@"; do
    for faden in /proc/"$pid"/task/*/stat; do
      read -r line 2>/dev/null <"$faden" && [[ ${line##*) } == [RD]\ * ]] && summe=$((summe + RANDOM + 1))
    done
    read -r line 2>/dev/null <"/proc/$pid/stat" || continue
    set -- ${line##*) }
    summe=$((summe + ${12} + ${13}))
    while read -r key wert; do
      [ "$key" = write_bytes: ] && summe=$((summe + wert))
    done <"/proc/$pid/io" 2>/dev/null || true
  done
  echo "$summe"
}

# ruhig: waits RUHIG_VORLAUF seconds, then until the processes `beteiligte` names have
# been still for RUHIG_STILLE samples of 0.2 s, that is until the program waits for the
# next key (at most a minute). A process that started meanwhile counts too.
ruhig() {
  local alt=-1 neu stille=0 pids
  sleep "$RUHIG_VORLAUF"
  pids=$(beteiligte)
  for _ in $(seq 1 300); do
    sleep 0.2
    neu=$(aktivitaet $pids)
    if [ "$neu" = "$alt" ]; then stille=$((stille + 1)); else stille=0; fi
    alt=$neu
    if [ "$stille" -ge "$RUHIG_STILLE" ]; then
      [ "$pids" = "$(beteiligte)" ] && return 0
      pids=$(beteiligte) stille=0 alt=-1
    fi
  done
}

# lauf NAME KEYS... : starts the setup, presses the keys one by one, each once the
# program waits ("foto" takes the screen instead), and waits for its end; the exit code
# goes to $rc.
lauf() {
  local name=$1 key; shift
  starten "$name"
  for key in "$@"; do
    ruhig
    if [ "$key" = foto ]; then import -window root "$SHOTS/keyboard-$name.png"; continue; fi
    kill -0 "$SETUP_PID" 2>/dev/null || fail "$name: the program ended before the key $key"
    xdotool key --clearmodifiers "$key"
  done
  for _ in $(seq 1 300); do kill -0 "$SETUP_PID" 2>/dev/null || break; sleep 0.2; done
  kill -0 "$SETUP_PID" 2>/dev/null && { import -window root "$WORKDIR/$name-hangs.png"
    fail "$name: the program still waits after the last key (see $WORKDIR/$name-hangs.png)"; }
  set +e; wait "$SETUP_PID"; rc=$?; set -e
  SETUP_PID=
  [ "$rc" -eq 0 ] || fail "$name: exit code $rc: $(cat "$WORKDIR/$name.err")"
}
