#!/usr/bin/env bash
# What the game plays, captured by the probe under Xvfb to a WAV file through
# ALSA's file output (Allegro reads its config from $ALLEGRO):
#   music    the intro music plays on DIGMID with our own patch set and is not
#            silence; with a damaged patch one line names it and the music is off.
#   effects  a shot, a lost ship and another shot give exactly three bursts of
#            sound with silence between, each no longer than its sound and not
#            much shorter.
#
#   sound_test.sh MUSIC_PROBE_BINARY SOURCE_DIR music|effects
set -u
bin=$1
. "$(dirname "$0")/common.sh" "$3" "$2"
start_xvfb
mkdir alsa
printf "[sound]\nalsa_device = file:'%s/capture.wav',wav\n" "$work" >alsa/allegro.cfg
export ALLEGRO=$work/alsa
out=$("$bin" "$([ "$3" = music ] && echo 3000 || echo effects)" 2>/dev/null) || fail "the probe failed: $out"
echo "$out"
# The capture's samples (16-bit, unsigned as ALSA's file output writes them
# whatever the header says) in 5 ms windows: each window's loudness (RMS).
read -r channels rate < <(echo $(od -An -tu2 -j22 -N2 capture.wav) $(od -An -tu4 -j24 -N4 capture.wav))
loudness=$(od -An -v -tu2 -w2 -j44 capture.wav | awk -v n=$((rate / 200 * channels)) \
    '{ s += ($1 - 32768) ^ 2 } NR % n == 0 { print int(sqrt(s / n)); s = 0 }')
if [ "$3" = effects ]; then
    read -r -a want <<<"$out"
    # Runs of windows louder than a whisper, gaps under 60 ms bridged.
    mapfile -t got < <(echo "$loudness" | awk 'BEGIN { last = -100 } $1 >= 100 {
        if (NR - last > 12) { if (start) print (last - start + 1) * 5; start = NR } last = NR }
        END { if (start) print (last - start + 1) * 5 }')
    echo "bursts: ${got[*]} ms; sounds: ${want[*]} ms"
    [ ${#want[@]} = 3 ] && [ ${#got[@]} = 3 ] || fail "${#got[@]} bursts of sound instead of 3"
    for i in 0 1 2; do
        [ "${got[$i]}" -le $((want[i] + 30)) ] && [ "${got[$i]}" -ge $((want[i] / 2)) ] ||
            fail "burst $((i + 1)) lasts ${got[$i]} ms, its sound ${want[$i]} ms"
    done
    exit 0
fi
echo "$out" | grep -q "midi driver: DIGMID" || fail "the music does not play on DIGMID"
loud=$(echo "$loudness" | awk '{ s += $1 ^ 2 } END { print int(sqrt(s / NR)) }')
echo "loudness $loud"
[ "$loud" -gt 300 ] || fail "the captured music is silent (loudness $loud)"
[ ! -e allegro.cfg ] && [ ! -e "$(dirname "$bin")/allegro.cfg" ] || fail "start-up wrote an allegro.cfg"
# A patch declaring a sample far larger than its file.
rm data && mkdir data && cp -r "$2/data/audio" data/ && ln -s "$2/data/video" data/video
printf '\377\377\377\177' | dd of=data/audio/bass.pat bs=1 seek=247 conv=notrunc 2>/dev/null
timeout 60 "$bin" 500 >/dev/null 2>err.txt || fail "the probe failed with a damaged patch"
msg=$(grep -v '^ALSA' err.txt)
[ "$msg" = "earthguard: data/audio/bass.pat is missing or damaged: the music is off" ] || fail "damaged patch: $msg"
