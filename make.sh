#!/usr/bin/env bash
# One entry for newcomers and CI:
#   ./make.sh demo    installs what is missing, builds, makes the demo medium and
#                     installs KALDORIN-Edit from it into a fresh prefix
#   ./make.sh test    installs what is missing, builds, runs every test: the native
#                     ones, then the Windows build's under Wine
#   ./make.sh test-sanitized   the native tests again under AddressSanitizer + UBSan
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libzstd-dev zstd
          xz-utils qt6-base-dev liblnk-utils xvfb xauth xdotool imagemagick)

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "== Installing: ${missing[*]}"
    sudo_if_needed apt-get update -q
    sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
  fi
}

build() {  # build DIR [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  ninja -C "$dir"
}

case "${1:-}" in
  demo)
    install_packages
    build build
    exec tools/demo.sh build
    ;;
  test)
    install_packages
    build build
    ctest --test-dir build --output-on-failure -j2
    tools/win32/build.sh
    ctest --test-dir build-win64 --output-on-failure -j2
    ctest --test-dir build-win32 --output-on-failure
    ;;
  test-sanitized)
    install_packages
    build build-sanitized -DKALDORIN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
      ctest --test-dir build-sanitized --output-on-failure -j2
    ;;
  *)
    echo "usage: ./make.sh demo | test | test-sanitized" >&2
    exit 2
    ;;
esac
