#!/usr/bin/env bash
# Boots a 64-bit Wine prefix once, so that the tests copy a ready prefix instead of
# paying the first boot each time:  tools/win32/wine-prefix.sh DIR
set -euo pipefail
prefix=$1
if [ -f "$prefix/system.reg" ] && [ -f "$prefix/.kaldorin-ready" ]; then
  exit 0
fi
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
echo "== Booting the Wine prefix $prefix (once)"
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
# Wine draws the window frames itself, so that title bars show without a window
# manager (under Xvfb).
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
/usr/lib/wine/wineserver -w
# The folders of the German Windows the setup was made for: the default target's
# parent and the NT desktop of all users, where the desktop link goes.
mkdir -p "$prefix/drive_c/Programme" "$prefix/drive_c/windows/Profiles/All users/Desktop"
touch "$prefix/.kaldorin-ready"
