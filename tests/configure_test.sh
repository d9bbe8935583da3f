#!/bin/bash
# Configures a copy of the sources placed under a folder named "live" and
# checks that the test program still gets its sources and only ours are left
# out. Usage: configure_test.sh SOURCE_DIR
set -u
. "$(dirname "$0")/support/scratch.sh" configure
copy=$work/live/earthguard
mkdir -p "$copy"
tar -C "$1" --exclude=./.git --exclude='./build*' --exclude=./data -cf - . | tar -C "$copy" -xf -
cmake -G "Unix Makefiles" -S "$copy" -B "$work/build" -DEARTHGUARD_BENCH=OFF >"$work/log" 2>&1 || { cat "$work/log"; fail "cmake"; }
make=$work/build/tests/CMakeFiles/game_tests.dir/build.make
grep -q 'platform/platform_test.cpp' "$make" || fail "the test program lost its sources"
! grep -q 'music_probe.cpp' "$make" || fail "a live/ program went into the test program"
