#!/usr/bin/env bash
# Installs what the game and its tests need (Debian packages, as root or with
# sudo) and builds everything. Safe to run again: it only installs what is
# missing and only rebuilds what changed.
#
#   scripts/setup.sh           release build in build/
#   scripts/setup.sh --asan    also the AddressSanitizer/UBSan build in build-asan/
set -euo pipefail
cd "$(dirname "$0")/.."

packages="g++ cmake make pkg-config liballegro4-dev zlib1g-dev libpng-dev libx11-dev googletest libgtest-dev
          libbenchmark-dev xvfb xdotool imagemagick x11-utils x11-apps desktop-file-utils appstream dpkg-dev"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing >/dev/null
fi

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
if [ "${1:-}" = "--asan" ]; then
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DEARTHGUARD_SANITIZE=ON -DEARTHGUARD_BENCH=OFF >/dev/null
    cmake --build build-asan -j"$jobs"
fi
