# The start every Qt desktop test shares, sourced with WORKDIR and SHOTS set: fail and
# note, a fresh WORKDIR, and a private X server that sets DISPLAY and XVFB_PID. It ends
# with the test, and so does the setup the test started (SETUP_PID and its children).
fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "== $*"; }
rm -rf "$WORKDIR" && mkdir -p "$WORKDIR" "$SHOTS"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORKDIR/display" >"$WORKDIR/xvfb.log" 2>&1 &
XVFB_PID=$!
SETUP_PID=
trap '[ -n "$SETUP_PID" ] && { pkill -P "$SETUP_PID"; kill "$SETUP_PID"; } 2>/dev/null; kill "$XVFB_PID" 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do [ -s "$WORKDIR/display" ] && break; sleep 0.1; done
[ -s "$WORKDIR/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(head -n1 "$WORKDIR/display") QT_QPA_PLATFORM=xcb
# In the sanitized build: what X11's system libraries hold at exit is not a leak of ours.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan-system.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
unset WAYLAND_DISPLAY
# Still for 0.6 s: the program waits for the next key (tests/keys_common.sh).
RUHIG_STILLE=3 RUHIG_VORLAUF=0
