#!/bin/sh
# Configures a copy of the sources placed under a folder named "live" and
# checks that the test program still gets its sources and only ours are left
# out. Usage: configure_test.sh SOURCE_DIR
set -eu
src=$1
tmp=$(mktemp -d /tmp/earthguard-configure-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
copy=$tmp/live/earthguard
mkdir -p "$copy"
tar -C "$src" --exclude=./.git --exclude='./build*' --exclude=./data -cf - . | tar -C "$copy" -xf -
cmake -G "Unix Makefiles" -S "$copy" -B "$tmp/build" -DEARTHGUARD_BENCH=OFF >"$tmp/log" 2>&1 || { cat "$tmp/log"; exit 1; }
make=$tmp/build/tests/CMakeFiles/game_tests.dir/build.make
fail() { echo "FAIL: $*"; exit 1; }
grep -q 'platform/headless_test.cpp' "$make" || fail "the test program lost its sources"
grep -q 'music_probe.cpp' "$make" && fail "a live/ program went into the test program"
echo "configured from $copy"
