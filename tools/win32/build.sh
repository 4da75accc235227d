#!/usr/bin/env bash
# Builds kaldorin-setup.exe for Windows, x86_64 (build-win64) and i686 (build-win32),
# each with a static libzstd made from Debian's own source package, and prepares the
# Wine prefix for the end-to-end tests of the x86_64 build.
#   tools/win32/build.sh            both builds and the Wine prefix
#   tools/win32/build.sh x86_64     one of them (x86_64 or i686)
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD

PACKAGES=(mingw-w64 wine64 wine cmake ninja-build pkg-config dpkg-dev xz-utils xvfb xauth xdotool
          imagemagick liblnk-utils fonts-wine fonts-liberation
          libgtest-dev)
sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "== Installing: ${missing[*]}"
  sudo_if_needed apt-get update -q
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The Wine tests make the demo medium with the native kaldorin-pack: the one of
# ./make.sh (build/), else one built here.
pack=${KALDORIN_PACK:-$root/build/bin/kaldorin-pack}
native_pack() {
  [ -x "$pack" ] && return 0
  echo "== Building the native kaldorin-pack in build-w32native"
  cmake -S "$root" -B "$root/build-w32native" -G Ninja -DKALDORIN_QT=OFF >/dev/null
  ninja -C "$root/build-w32native" -j2 kaldorin-pack
  pack=$root/build-w32native/bin/kaldorin-pack
}

build_one() {  # ARCH DIR
  local arch=$1 dir=$root/$2
  "$root/tools/win32/zstd.sh" "$arch-w64-mingw32" "$dir/zstd"
  PKG_CONFIG_LIBDIR=$dir/zstd/lib/pkgconfig PKG_CONFIG_PATH= \
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" -DKALDORIN_PACK="$pack" >/dev/null
  # The program, and for x86_64 the unit tests that run under Wine.
  local targets=(kaldorin-setup)
  [ "$arch" = x86_64 ] && targets+=(kaldorin-win32-test)
  ninja -C "$dir" -j2 "${targets[@]}"
  echo "== $dir/bin/kaldorin-setup.exe"
}

native_pack

archs=("${@:-x86_64 i686}")
for arch in ${archs[@]}; do
  case $arch in
    x86_64) build_one x86_64 build-win64 ;;
    i686) build_one i686 build-win32 ;;
    *) echo "unknown architecture $arch (x86_64, i686)" >&2; exit 2 ;;
  esac
done
if [[ " ${archs[*]} " == *x86_64* ]]; then
  "$root/tools/win32/wine-prefix.sh" "$root/build-win64/wine-prefix"
fi
