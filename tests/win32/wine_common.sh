# Shared by the Wine tests: a private copy of the booted prefix, a private X server, the
# demo medium with the setup and the application's stand-in, and checks. Sourced with
# EXE PREFIX_TEMPLATE PACK WORKDIR set, and WINE (the loader of the program's
# architecture) and KALDORIN_EDIT (the stand-in) from the environment. With
# WINE_HELPERS_ONLY set, only the checks of Wine and the prefix and the helpers.
set -euo pipefail

WINE=${WINE:-/usr/lib/wine/wine64}
# Wine names the files on the Unix side in the locale's character set: without a UTF-8
# locale "FahrstraßenEingabe.hlp" cannot be written at all.
export LC_ALL=C.UTF-8
fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "== $*"; }

[ -x "$WINE" ] || fail "$WINE is missing (apt-get install wine64, or wine32:i386 for /usr/lib/wine/wine)"
# A kernel without 32-bit support refuses the i686 loader (exit 126): skipped, and said so.
set +e; "$WINE" --version >/dev/null 2>&1; [ $? -eq 126 ] && { echo "SKIP: this kernel cannot run $WINE"; exit 77; }; set -e
[ -f "$PREFIX_TEMPLATE/system.reg" ] || fail "no booted Wine prefix at $PREFIX_TEMPLATE (tools/win32/wine-prefix.sh)"

# wine_prefix DIR : a copy of the booted prefix in DIR, used from now on. No menu
# entries of the links in this machine's home.
wine_prefix() {
  cp -a "$PREFIX_TEMPLATE" "$1"
  export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# x_server DIR WIDTHxHEIGHT : a private X server, its own display number found by the
# server itself.
XVFB_PID=
x_server() {
  Xvfb -displayfd 3 -screen 0 "$2x24" -nolisten tcp 3>"$1/display" >"$1/xvfb.log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 100); do [ -s "$1/display" ] && break; sleep 0.1; done
  [ -s "$1/display" ] || fail "Xvfb did not start"
  export DISPLAY=:$(head -n1 "$1/display")
}
cleanup() {
  "${WINE%/*}/wineserver" -k 2>/dev/null || true
  [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}
trap cleanup EXIT

rm -rf "$WORKDIR"
mkdir -p "$WORKDIR"
# The GoogleTest and DPI runs need no more.
[ -z "${WINE_HELPERS_ONLY:-}" ] || return 0

[ -f "${KALDORIN_EDIT:-}" ] || fail "no KALDORIN_Edit.EXE stand-in at \"${KALDORIN_EDIT:-}\""
[ -x "$PACK" ] || fail "no native kaldorin-pack at $PACK"
wine_prefix "$WORKDIR/prefix"
x_server "$WORKDIR" 1024x768

MEDIUM=$WORKDIR/medium
"$PACK" demo "$MEDIUM" >/dev/null
"$PACK" pack "$KALDORIN_EDIT" "$MEDIUM/t0e.px_" >/dev/null
cp "$EXE" "$MEDIUM/kaldorin-setup.exe"
DRIVE_C=$WINEPREFIX/drive_c
# Wine names the user after $USER, else after this machine's account.
PROFILE=$DRIVE_C/users/${USER:-$(id -un)}
# A fresh Windows has no C:\Programme: the default target is the user's own programs
# folder.
TARGET=$PROFILE/AppData/Local/Programs/KALDORIN
TARGET_WIN='C:\users\'${USER:-$(id -un)}'\AppData\Local\Programs\KALDORIN'

winpath() { echo "Z:${1//\//\\}"; }

# run_in DIR NAME PROGRAM ARGS... : runs PROGRAM under Wine in DIR, its output in
# $WORKDIR/NAME.out and NAME.err; the exit code goes to $rc.
run_in() {
  local dir=$1 name=$2; shift 2
  set +e
  (cd "$dir" && timeout 180 "$WINE" "$@") >"$WORKDIR/$name.out" 2>"$WORKDIR/$name.err"
  rc=$?
  set -e
  "${WINE%/*}/wineserver" -w
}

# run_setup NAME ARGS... : runs the setup from the medium.
run_setup() { run_in "$MEDIUM" "$1" kaldorin-setup.exe "${@:2}"; }

expect_rc() { [ "$rc" -eq "$1" ] || { cat "$WORKDIR"/*.err >&2; fail "$2: exit code $rc, expected $1"; }; }

# The installed tree holds one file for each packed file of the medium, the help file
# with ß the content it unpacks to (check_installation starts the application itself).
check_installed() {
  local dir=$1 count expected
  # Each packed file of the medium installs exactly one file.
  expected=$(find "$MEDIUM" -maxdepth 1 -name '*_' | wc -l)
  count=$(find "$dir" -type f | wc -l)
  [ "$count" -eq "$expected" ] || fail "expected $expected installed files in $dir, found $count"
  "$PACK" unpack "$MEDIUM/FStrEin.hl_" "$WORKDIR/expected.hlp" >/dev/null
  cmp -s "$WORKDIR/expected.hlp" "$dir/Help/FahrstraßenEingabe.hlp" || fail "the help file with ß differs"
}

link_target() { lnkinfo "$1" | sed -n 's/^[[:space:]]*Local path[[:space:]]*:[[:space:]]*//p' | head -n1; }

check_link() {  # LNK EXPECTED_TARGET
  [ -f "$1" ] || fail "link $1 is missing"
  [ "$(link_target "$1")" = "$2" ] || fail "link $1 points at \"$(link_target "$1")\", expected \"$2\""
}

PROGRAMS="$PROFILE/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
# The NT 4 desktop of all users is not there: the link goes to the user's own desktop.
DESKTOP_LINK="$PROFILE/Desktop/KALDORIN_Edit.LNK"

# check_installation DIR DIR_WINDOWS : the files, the links, and the installed
# application, started from the target of its Start-menu link: it runs, reads the
# folder recorded in the registry (Dir) and runs from that folder.
check_installation() {
  local out
  check_installed "$1"
  check_link "$DESKTOP_LINK" "$2\\KALDORIN_Edit.EXE"
  check_link "$PROGRAMS/KALDORIN/KALDORIN_Edit.LNK" "$2\\KALDORIN_Edit.EXE"
  check_link "$PROGRAMS/KALDORIN/DOS_Konverter.LNK" "$2\\DOS_Konverter.EXE"
  out=$("$WINE" "$(link_target "$PROGRAMS/KALDORIN/KALDORIN_Edit.LNK")" 2>/dev/null | tr -d '\r') ||
    fail "the installed program did not start"
  [ "$out" = "Dir=$2"$'\n'"Ordner=$2" ] || fail "the installed program reports: $out"
}

check_removed() {
  [ ! -e "$TARGET" ] || fail "the installation folder is still there: $(find "$TARGET" | head)"
  "$WINE" reg query 'HKCU\Software\VORK' >/dev/null 2>&1 && fail "HKCU\\Software\\VORK still exists"
  [ ! -e "$DESKTOP_LINK" ] || fail "the desktop link is still there"
  [ ! -e "$PROGRAMS/KALDORIN" ] || fail "the Start-menu folder is still there"
}

# transcript_has FILE TEXT : a line of the transcript holds TEXT.
transcript_has() { grep -qF -- "$2" "$1" || fail "transcript $1 lacks $2"; }
