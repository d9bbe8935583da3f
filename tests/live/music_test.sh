#!/usr/bin/env bash
# The intro music really plays on a stock machine: the game's start-up
# selects Allegro's DIGMID synthesiser with our own patch set, and the
# sound it makes (captured to a WAV file through ALSA's file output) is
# not silence.
#
#   music_test.sh MUSIC_PROBE_BINARY SOURCE_DIR
set -u
bin=$1
. "$(dirname "$0")/common.sh" music "$2"

command -v Xvfb >/dev/null || fail "Xvfb is not installed"
start_xvfb 141 190

# Allegro's own config (read from $ALLEGRO) sends the sound to a file.
mkdir cfg
printf "[sound]\nalsa_device = file:'%s/music.wav',wav\n" "$work" >cfg/allegro.cfg
out=$(ALLEGRO=$work/cfg "$bin" "$work/music.wav" 3000 2>/dev/null) || fail "the probe failed: $out"
echo "$out"
echo "$out" | grep -q "midi driver: DIGMID" || fail "the music does not play on DIGMID"
loud=$(echo "$out" | sed -n 's/captured loudness: //p')
[ -n "$loud" ] && [ "$loud" -gt 300 ] || fail "the captured music is silent (loudness ${loud:-none})"
[ ! -e allegro.cfg ] && [ ! -e "$(dirname "$bin")/allegro.cfg" ] || fail "start-up wrote an allegro.cfg"
echo "ok"
