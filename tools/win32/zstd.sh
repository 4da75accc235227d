#!/usr/bin/env bash
# Builds a static libzstd for Windows from Debian's own source package, once per
# build folder:  tools/win32/zstd.sh TRIPLET OUTDIR
#   TRIPLET  x86_64-w64-mingw32 or i686-w64-mingw32
#   OUTDIR   where include/, lib/libzstd.a and lib/pkgconfig/libzstd.pc go
# The source comes through apt with a private source list, so the machine's own apt
# configuration is left alone. Nothing fetched lands in the source tree.
set -euo pipefail
triplet=$1
out=$(mkdir -p "$2" && cd "$2" && pwd)
if [ -f "$out/lib/libzstd.a" ] && [ -f "$out/lib/pkgconfig/libzstd.pc" ]; then
  exit 0
fi

work=$out/src
rm -rf "$work"
mkdir -p "$work/etc" "$work/lists/partial" "$work/cache/archives/partial"

# The deb-src line of the machine's Debian mirror and release.
mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources \
           2>/dev/null | grep -E '^(URIs:|deb )' | grep -oE 'https?://[^ ]+/debian/?( |$)' \
         | grep -v security | head -n1 | tr -d ' ' || true)
mirror=${mirror:-http://deb.debian.org/debian}
release=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
echo "deb-src ${mirror%/} $release main" > "$work/etc/sources.list"

apt_opts=(-o "Dir::Etc::SourceList=$work/etc/sources.list" -o Dir::Etc::SourceParts=/dev/null
          -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache" -o Debug::NoLocking=1
          -o APT::Sandbox::User=root)
echo "== Fetching Debian's libzstd source ($mirror $release)"
apt-get "${apt_opts[@]}" -q update >/dev/null
(cd "$work" && apt-get "${apt_opts[@]}" -q source --download-only libzstd >/dev/null)
dsc=$(ls "$work"/libzstd_*.dsc | head -n1)
(cd "$work" && dpkg-source --no-check -x "$dsc" zstd >/dev/null)

echo "== Building libzstd.a for $triplet"
make -s -C "$work/zstd/lib" -j2 libzstd.a \
  CC="$triplet-gcc" AR="$triplet-ar" RANLIB="$triplet-ranlib" \
  CFLAGS="-O2" ZSTD_LEGACY_SUPPORT=0 ZSTD_MULTITHREAD_SUPPORT=0 >/dev/null
mkdir -p "$out/include" "$out/lib/pkgconfig"
cp "$work/zstd/lib/libzstd.a" "$out/lib/"
cp "$work/zstd/lib/zstd.h" "$work/zstd/lib/zstd_errors.h" "$work/zstd/lib/zdict.h" "$out/include/"
version=$(basename "$dsc" .dsc | sed 's/^libzstd_//; s/+.*//')
cat > "$out/lib/pkgconfig/libzstd.pc" <<PC
prefix=$out
includedir=\${prefix}/include
libdir=\${prefix}/lib

Name: zstd
Description: fast lossless compression algorithm library (Debian source, $triplet)
Version: $version
Libs: -L\${libdir} -lzstd
Cflags: -I\${includedir}
PC
rm -rf "$work"
