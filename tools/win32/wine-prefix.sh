#!/usr/bin/env bash
# Boots a 64-bit Wine prefix once, so that the tests copy a ready prefix instead of
# paying the first boot each time:  tools/win32/wine-prefix.sh DIR [USER]
# The prefix stays as wineboot makes it; the builds of both architectures share it.
# USER names the Windows user it is made for (by default this machine's); Wine takes
# the name from $USER, and a test run as that user sets it the same way.
set -euo pipefail
prefix=$1
[ -z "${2:-}" ] || export USER=$2
mkdir -p "$(dirname "$prefix")"
# Both architectures' tests may ask at once: one boots, the other waits for it.
exec 9>"$prefix.lock"
flock 9
if [ -f "$prefix/system.reg" ] && [ -f "$prefix/.kaldorin-ready" ]; then
  exit 0
fi
rm -rf "$prefix"
echo "== Booting the Wine prefix $prefix (once)"
export LC_ALL=C.UTF-8  # the prefix is booted as the tests run it
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
# With no home folder to point at, wineboot makes the user's Desktop and Documents real
# folders of the prefix instead of links to this machine's home, so what a test puts on
# the desktop stays in its own copy.
export HOME=$prefix.no-home
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
# Wine draws the window frames itself, so that title bars show without a window
# manager (under Xvfb).
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
/usr/lib/wine/wineserver -w
rm -rf "$HOME"  # what Wine kept there (caches)
touch "$prefix/.kaldorin-ready"
