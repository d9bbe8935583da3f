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
work=$(mktemp -d /tmp/earthguard-music-XXXXXX)
ln -s "$src/data" "$work/data"
cd "$work"

fail() { echo "FAIL: $*"; exit 1; }
cleanup() {
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

command -v Xvfb >/dev/null || fail "Xvfb is not installed"
for n in $(seq 141 190); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { disp=:$n; break; }
done
Xvfb "$disp" -screen 0 1024x768x24 -noreset >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$disp
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X${disp#:} ] && break; sleep 0.1; done

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
