#!/usr/bin/env bash
# The intro music really plays on a stock machine: the game's start-up
# selects Allegro's DIGMID synthesiser with our own patch set, and the
# sound it makes (captured to a WAV file through ALSA's file output) is
# not silence.
#
#   music_test.sh MUSIC_PROBE_BINARY SOURCE_DIR
set -u
bin=$1
src=$2
. "$(dirname "$0")/capture.sh"

out=$("$bin" "$work/capture.wav" 3000 2>/dev/null) || fail "the probe failed: $out"
echo "$out"
echo "$out" | grep -q "midi driver: DIGMID" || fail "the music does not play on DIGMID"
loud=$(echo "$out" | sed -n 's/captured loudness: //p')
[ -n "$loud" ] && [ "$loud" -gt 300 ] || fail "the captured music is silent (loudness ${loud:-none})"
[ ! -e allegro.cfg ] && [ ! -e "$(dirname "$bin")/allegro.cfg" ] || fail "start-up wrote an allegro.cfg"
echo "ok"
