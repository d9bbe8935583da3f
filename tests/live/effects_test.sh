#!/usr/bin/env bash
# The game's sound effects are heard live: a short stretch of play (a shot,
# a lost ship, another shot) captured through ALSA's file output gives
# exactly three bursts of sound with silence between them, each no longer
# than its sound and not much shorter.
#
#   effects_test.sh MUSIC_PROBE_BINARY SOURCE_DIR
set -u
bin=$1
. "$(dirname "$0")/common.sh" effects "$2"

probe_capture effects effects
read -r -a want <<<"$(echo "$out" | sed -n 's/^expected: shot \([0-9]*\) ms, lost ship \([0-9]*\) ms, shot \([0-9]*\) ms$/\1 \2 \3/p')"
[ ${#want[@]} -eq 3 ] || fail "no expected lengths"
mapfile -t got < <(echo "$out" | sed -n 's/^burst: at [0-9]* ms, \([0-9]*\) ms long$/\1/p')
[ ${#got[@]} -eq 3 ] || fail "${#got[@]} bursts of sound instead of 3"
for i in 0 1 2; do
    [ "${got[$i]}" -le $((want[i] + 30)) ] && [ "${got[$i]}" -ge $((want[i] / 2)) ] ||
        fail "burst $((i + 1)) lasts ${got[$i]} ms, its sound ${want[$i]} ms"
done
echo "ok"
