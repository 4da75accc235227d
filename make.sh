#!/usr/bin/env bash
# One entry for newcomers and CI:
#   ./make.sh demo    installs what is missing, builds, makes the demo medium and
#                     installs KALDORIN-Edit from it into a fresh prefix
#   ./make.sh test    installs what is missing, builds, runs every test: the native
#                     ones, then the Windows build's under Wine
#   ./make.sh test-sanitized   the native tests again under AddressSanitizer + UBSan
#   ./make.sh release          the Release build a packager makes (build-release/)
#   ./make.sh fuzz    builds the fuzz targets of tests/fuzz with clang (libFuzzer, ASan,
#                     UBSan) in build-fuzz/ and runs each for about 30 seconds
#                     ($FUZZ_SECONDS to change that)
# Our builds turn warnings into errors (KALDORIN_WERROR); a plain cmake build does not.
set -euo pipefail
cd "$(dirname "$0")"

# fonts-liberation: the metric-compatible fonts that the desktop face's layout fits.
PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libzstd-dev nettle-dev zstd nlohmann-json3-dev
          xz-utils qt6-base-dev liblnk-utils xvfb xauth fonts-liberation xdotool imagemagick)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)

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
  cmake -S . -B "$dir" -G Ninja -DKALDORIN_WERROR=ON "$@" >/dev/null
  ninja -C "$dir"
}

# Runs each fuzz target for SECONDS from its corpus in tests/fuzz/corpus/; new inputs
# go to DIR/corpus/, an input that breaks a target to DIR/findings/ (and the step fails).
fuzz_run() {  # fuzz_run DIR SECONDS
  local dir=$1 seconds=$2 target name
  # The targets write their files in a folder of their own; on tmpfs a flush costs nothing.
  if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
  mkdir -p "$dir/findings"
  for target in "$dir"/bin/fuzz_*; do
    name=${target##*/fuzz_}
    mkdir -p "$dir/corpus/$name"
    echo "== fuzz $name (${seconds} s)"
    "$target" -max_total_time="$seconds" -timeout=25 -print_final_stats=1 \
      -artifact_prefix="$dir/findings/$name-" "$dir/corpus/$name" "tests/fuzz/corpus/$name" \
      2>"$dir/fuzz-$name.log" || { tail -n 40 "$dir/fuzz-$name.log"; return 1; }
    grep -E '^(Done|stat::number_of_executed_units)' "$dir/fuzz-$name.log"
  done
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
    ctest --test-dir build-wine --output-on-failure -j2
    ;;
  test-sanitized)
    install_packages
    build build-sanitized -DKALDORIN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
      ctest --test-dir build-sanitized --output-on-failure -j2
    ;;
  release)
    install_packages
    build build-release -DCMAKE_BUILD_TYPE=Release
    ;;
  fuzz)
    PACKAGES+=("${FUZZ_PACKAGES[@]}")
    install_packages
    cmake -S . -B build-fuzz -G Ninja -DKALDORIN_FUZZ=ON \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    ninja -C build-fuzz fuzz
    fuzz_run build-fuzz "${FUZZ_SECONDS:-30}"
    ;;
  *)
    echo "usage: ./make.sh demo | test | test-sanitized | release | fuzz" >&2
    exit 2
    ;;
esac
