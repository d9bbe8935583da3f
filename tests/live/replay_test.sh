#!/usr/bin/env bash
# A live game recorded and replayed headless: played in a real X window under
# Xvfb with xdotool (short taps in the title menu, a start, some play), it
# must replay headless to the same final line and to the very picture the
# window showed when the game ended.
#
#   replay_test.sh EARTHGUARD_BINARY SOURCE_DIR
set -u
bin=$1
. "$(dirname "$0")/common.sh" replay "$2"
start_xvfb
start_game --windowed --record game.replay
sleep 2.5  # the title fades in
[ "$(geometry)" = 640x480 ] || fail "the window is $(geometry), not 640x480"
xdotool windowfocus --sync "$win"
# Taps as short as xdotool makes them (press and release sent together):
# up and down in the menu, then down to START GAME and Space.
for k in $(for _ in $(seq 16); do echo Down Up; done) Down Down Down Down space; do
    xdotool key $k
    sleep 0.15
done
sleep 2
for k in Left Right Left; do
    xdotool keydown $k
    for _ in 1 2 3 4 5 6; do xdotool keydown space; sleep 0.05; xdotool keyup space; sleep 0.1; done
    xdotool keyup $k
done

# Hold the game still, see what the window shows, then end it: it quits as
# its clock enters the next frame, before drawing anything more.
kill -STOP "$game"
sleep 0.3
import -window "$win" live.png || fail "cannot capture the window"
kill -TERM "$game"
kill -CONT "$game"
wait "$game"
game=""
[ -s game.replay ] && cmp -s game.replay xdg/earthguard/last-game.replay || fail "no recording, or not kept"
taps=$(grep -cE "keybuf (UP|DOWN|SPACE) " game.replay)
[ "$taps" = 37 ] || fail "short taps were lost: the game read $taps of 37"
[ "$(grep -c ' down SPACE$' game.replay)" -ge 10 ] || fail "the fire key in play did not reach the game"

# The stop can land while a frame is being drawn; the window then still shows
# the frame before it.
recorded=$(sed -n 's/^# \(frames=.*\)/\1/p' game.replay)
last=${recorded#frames=}
last=${last%% *}
replayed=$("$bin" --headless --script game.replay --shot $((last - 1)):a.png --shot $((last - 2)):b.png) ||
    fail "the headless replay failed: $replayed"
echo "recorded: $recorded"
[ "$replayed" = "$recorded" ] || fail "the replay ended elsewhere: $replayed"
# The window doubles columns and picks rows by the same rule as -sample, so
# sampling it back gives the game's 320x256 picture.
convert live.png -sample '320x256!' live-small.png
for f in a b; do
    differ=$(compare -metric AE -fuzz 3% live-small.png $f.png null: 2>&1)
    [ "$differ" = 0 ] && break
done
[ "$differ" = 0 ] || fail "the replay shows another picture ($differ pixels differ)"
