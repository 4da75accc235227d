#!/usr/bin/env bash
# The main job: make the demo medium, install KALDORIN-Edit from it into a fresh prefix,
# and show what the installation left behind; then the same medium as one setup program.
#   tools/demo.sh BUILD_DIR        (in $KALDORIN_DEMO_DIR, else BUILD_DIR/demo)
# With a display it opens the wizard from the medium, without one it installs unattended.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
bin=$build/bin
demo=${KALDORIN_DEMO_DIR:-$build/demo}
medium=$demo/medium
export KALDORIN_PREFIX=$demo/prefix

rm -rf "$demo"
mkdir -p "$demo"
echo "== Making the demo medium in $medium"
"$bin/kaldorin-pack" demo "$medium"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "== Starting the setup wizard from the medium"
  "$medium/kaldorin-setup" || { echo "== The wizard ended with exit code $?" >&2; exit 1; }
else
  echo "== No display: installing unattended from the medium"
  "$medium/kaldorin-setup" --unattended --accept-licence --transcript "$demo/transcript.jsonl"
fi

echo
echo "== Installed tree (C:\\Programme\\KALDORIN)"
(cd "$KALDORIN_PREFIX/drive_c" && find . -ipath './programme/kaldorin*' -type f -printf '%9s  %p\n' | sort -k2)
echo
echo "== Settings record ($KALDORIN_PREFIX/settings.ini)"
cat "$KALDORIN_PREFIX/settings.ini" 2>/dev/null || echo "(none)"
echo
echo "== Links"
find "$KALDORIN_PREFIX/drive_c" -iname '*.lnk' | sort | while read -r link; do
  target=$(lnkinfo "$link" 2>/dev/null | sed -n 's/^[[:space:]]*Local path[[:space:]]*:[[:space:]]*//p' | head -n1)
  echo "${link#$KALDORIN_PREFIX/drive_c/} -> ${target:-?}"
done

bundle=$demo/KALDORIN-Setup
echo
echo "== One setup program that carries the medium"
"$bin/kaldorin-pack" --quiet bundle "$medium" "$bundle"
"$bin/kaldorin-pack" verify "$bundle" | tail -n1
echo "$bundle ($(stat -c %s "$bundle") bytes): started alone it installs like the medium, e.g."
echo "  KALDORIN_PREFIX=/tmp/kaldorin-probe $bundle --unattended --accept-licence"
