#!/usr/bin/env bash
# Builds kaldorin-setup.exe for Windows, x86_64 (build-win64) and i686 (build-win32),
# each with a static libzstd made from Debian's own source package, boots the Wine
# prefix both builds' tests share and makes build-wine/, which runs the Wine tests of
# both builds side by side:  ctest --test-dir build-wine -j2
#   tools/win32/build.sh            both builds and the Wine prefix
#   tools/win32/build.sh x86_64     one of them (x86_64 or i686)
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD

# wine32:i386 runs the i686 program (/usr/lib/wine/wine); wine64 the x86_64 one.
PACKAGES=(mingw-w64 wine64 wine wine32:i386 cmake ninja-build pkg-config dpkg-dev xz-utils xvfb xauth xdotool
          imagemagick liblnk-utils fonts-wine fonts-liberation util-linux
          libgtest-dev osslsigncode openssl nlohmann-json3-dev)
sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "== Installing: ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || sudo_if_needed dpkg --add-architecture i386
  sudo_if_needed apt-get update -q
  sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The Wine tests make the demo medium with the native kaldorin-pack: the one of
# ./make.sh (build/), else one built here.
pack=${KALDORIN_PACK:-$root/build/bin/kaldorin-pack}
native_pack() {
  [ -x "$pack" ] && return 0
  echo "== Building the native kaldorin-pack in build-w32native"
  cmake -S "$root" -B "$root/build-w32native" -G Ninja -DKALDORIN_QT=OFF -DKALDORIN_WERROR=ON >/dev/null
  ninja -C "$root/build-w32native" -j2 kaldorin-pack
  pack=$root/build-w32native/bin/kaldorin-pack
}

build_one() {  # ARCH DIR
  local arch=$1 dir=$root/$2
  "$root/tools/win32/zstd.sh" "$arch-w64-mingw32" "$dir/zstd"
  PKG_CONFIG_LIBDIR=$dir/zstd/lib/pkgconfig PKG_CONFIG_PATH= \
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKALDORIN_WERROR=ON \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" -DKALDORIN_PACK="$pack" \
      -DKALDORIN_WINE_PREFIX="$root/build-wine/prefix" >/dev/null
  # The program, the installed application's stand-in, the planted DLL and the unit
  # tests, all run under Wine.
  ninja -C "$dir" -j2 kaldorin-setup kaldorin-edit gepflanzt kaldorin-win32-test
  echo "== $dir/bin/kaldorin-setup.exe"
  built+=("$dir")
}

native_pack

built=()
archs=("${@:-x86_64 i686}")
for arch in ${archs[@]}; do
  case $arch in
    x86_64) build_one x86_64 build-win64 ;;
    i686) build_one i686 build-win32 ;;
    *) echo "unknown architecture $arch (x86_64, i686)" >&2; exit 2 ;;
  esac
done
"$root/tools/win32/wine-prefix.sh" "$root/build-wine/prefix"
# One test run over both builds, so that ctest -j2 runs their Wine tests side by side.
{
  echo "# Made by tools/win32/build.sh: the tests of the Windows builds."
  printf 'subdirs("%s")\n' "${built[@]}"
} >"$root/build-wine/CTestTestfile.cmake"
