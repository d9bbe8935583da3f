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
. "$(dirname "$0")/common.sh" music "$2"

probe_capture music 3000
echo "$out" | grep -q "midi driver: DIGMID" || fail "the music does not play on DIGMID"
loud=$(echo "$out" | sed -n 's/captured loudness: //p')
[ -n "$loud" ] && [ "$loud" -gt 300 ] || fail "the captured music is silent (loudness ${loud:-none})"
[ ! -e allegro.cfg ] && [ ! -e "$(dirname "$bin")/allegro.cfg" ] || fail "start-up wrote an allegro.cfg"

# A patch declaring a sample far larger than its file: one line naming it,
# and the program goes on without music.
mkdir -p broken/data && cp -r "$src/data/audio" broken/data/audio && ln -s "$src/data/video" broken/data/video
printf '\377\377\377\177' | dd of=broken/data/audio/bass.pat bs=1 seek=247 conv=notrunc 2>/dev/null
(cd broken && ALLEGRO=$work/alsa timeout 60 "$bin" "$work/broken.wav" 500 >/dev/null 2>err.txt) ||
    fail "the probe failed with a damaged patch"
msg=$(grep -v '^ALSA' broken/err.txt)
[ "$msg" = "earthguard: data/audio/bass.pat is missing or damaged: the music is off" ] || fail "damaged patch: $msg"
echo "ok"
