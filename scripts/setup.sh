#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what VX40 needs on Debian 12, builds it, and then starts the window ("start") or runs
# every test ("test"), or builds the browser page ("web"). Safe to run again: it installs only what
# is missing and builds anew.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-}
case "$mode" in
    start | test | web) ;;
    *)
        echo "usage: $0 start|test|web" >&2
        exit 2
        ;;
esac

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
    qt6-base-dev qt6-qpa-plugins fonts-wine
    clang clang-format libclang-rt-14-dev libc++-14-dev libc++abi-14-dev googletest
    xvfb xauth desktop-file-utils dpkg-dev file srecord lintian appstream
    emscripten nodejs chromium chromium-driver python3-selenium poppler-utils
    g++-mingw-w64-x86-64-posix wine wine64
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
    cmake --preset release
    cmake --build --preset release -j "$jobs"
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
        echo "No display found: the VX40 window needs a desktop. Without one, use build/tools/vx40-tool." >&2
        exit 1
    fi
    exec build/app/vx40
fi

# The browser page: one offline file, build-web/vx40.html, from the core compiled to WebAssembly.
build_web_page() {
    echo "== the browser page (build-web/)"
    cmake --preset web
    cmake --build --preset web -j "$jobs"
}
if [ "$mode" = web ]; then
    build_web_page
    echo "$PWD/build-web/vx40.html"
    exit 0
fi
build_web_page
# The package of the test build carries the page.
export VX40_WEB_PAGE="$PWD/build-web/vx40.html"

# Each configuration is a CMake preset (CMakePresets.json) with a build folder of its own.
build_and_test() {
    echo "== $2"
    cmake --preset "$1" -DVX40_WEB_PAGE="$VX40_WEB_PAGE"
    cmake --build --preset "$1" -j "$jobs"
    ctest --preset "$1" -j "$jobs"
}
build_and_test test "build and tests (build-test/)"
build_and_test sanitize "the same tests under AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize/)"
# The core as a browser build compiles it: clang with libc++. Only the core, vx40-tool and their
# tests are built here.
build_and_test libcxx "the core and vx40-tool with clang and libc++, and their tests (build-libcxx/)"

echo "== the browser page's module under Node (tests/web/)"
node --test tests/web/module.test.js
node --test tests/web/compact.test.js
# The page in a real browser (headless chromium through selenium) runs in the test build's ctest
# (label web); the sanitizer build leaves it out, as its page is the same.

# vx40-tool.exe for Windows, cross-built with MinGW-w64 and tested under Wine: its core tests, the
# command-line tests of build-test/ against the .exe, and a differential run against build-test's
# tool. The zip carries the browser page.
echo "== vx40-tool for Windows under Wine (build-windows/)"
cmake --preset windows -DVX40_HOST_BUILD_DIR="$PWD/build-test" -DVX40_WEB_PAGE="$VX40_WEB_PAGE"
cmake --build --preset windows -j "$jobs"
ctest --preset windows -j "$jobs"
(cd build-windows && cpack)

echo "== fuzzing"
fuzz/run "${VX40_FUZZ_SECONDS:-30}"
