#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what VX40 needs on Debian 12, builds it, and then starts the window ("start") or runs
# every test ("test"). Safe to run again: it installs only what is missing and builds anew.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-}
case "$mode" in
    start | test) ;;
    *)
        echo "usage: $0 start|test" >&2
        exit 2
        ;;
esac

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
    qt6-base-dev qt6-qpa-plugins fonts-wine
    clang clang-format libclang-rt-14-dev
    xvfb xauth desktop-file-utils dpkg-dev file srecord lintian appstream
)
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc)

if [ "$mode" = start ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVX40_BUILD_TESTS=OFF -DVX40_BUILD_BENCH=OFF
    cmake --build build -j "$jobs"
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
        echo "No display found: the VX40 window needs a desktop. Without one, use build/tools/vx40-tool." >&2
        exit 1
    fi
    exec build/app/vx40
fi

echo "== build and tests"
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVX40_WERROR=ON
cmake --build build-test -j "$jobs"
ctest --test-dir build-test --output-on-failure -j "$jobs"

echo "== the same tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVX40_WERROR=ON -DVX40_SANITIZE=ON \
    -DVX40_BUILD_BENCH=OFF
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

echo "== fuzzing"
fuzz/run "${VX40_FUZZ_SECONDS:-30}"
