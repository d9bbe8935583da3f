#!/usr/bin/env bash
# The game in a real X window: starts a private Xvfb, opens the game windowed,
# drives it with real key events from xdotool, and compares what the window
# shows with the headless runner's picture of the same moment of play. Also
# checks that a frame-paced game leaves the processor mostly idle.
#
#   live_test.sh EARTHGUARD_BINARY SOURCE_DIR
set -u
bin=$1
. "$(dirname "$0")/common.sh" live "$2"

for tool in Xvfb xdotool import compare; do
    command -v $tool >/dev/null || fail "$tool is not installed"
done
start_xvfb

"$bin" --windowed >game.log 2>&1 &
game=$!
find_window
# Allegro opens its window small and sizes it when the graphics mode is set,
# after the keyboard and sound are up.
for _ in $(seq 50); do
    geometry=$(xdotool getwindowgeometry "$win" | grep Geometry | awk '{print $2}')
    [ "$geometry" = "640x480" ] && break
    sleep 0.1
done
[ "$geometry" = "640x480" ] || fail "window is $geometry, not 640x480"
echo "window $win, $geometry"

sleep 2  # the title fades in
xdotool windowfocus --sync "$win"
for k in Down Down Down Down space; do  # down to START GAME, then Space
    xdotool keydown --window "$win" $k; sleep 0.1; xdotool keyup --window "$win" $k; sleep 0.1
done
sleep 1.5  # the title fades out and the first stage starts

# Pixels of picture $1 that match picture $2 neither at their place nor one
# row above or below: the window's stretch and ImageMagick's scaling pick
# the doubled rows differently, which shifts detailed art by a row here
# and there.
differ() {
    for shift in +0 +1 -1; do
        convert "$2" -roll +0$shift shifted.png
        compare -fuzz 6% "$1" shifted.png -compose src -highlight-color white -lowlight-color black \
            "mask$shift.png" 2>/dev/null
    done
    convert mask+0.png mask+1.png mask-1.png -evaluate-sequence min -format "%[fx:int(mean*w*h+0.5)]" info:
}

# The first frames of play, then five seconds of playing: the ship starts under
# the wave and fires while the wave is above it. Meanwhile the processor
# should be mostly idle.
import -window "$win" live.png || fail "cannot capture the window"
t0=$(awk '{print $14 + $15}' /proc/$game/stat)
for _ in $(seq 20); do
    xdotool keydown --window "$win" space; sleep 0.1; xdotool keyup --window "$win" space; sleep 0.15
done
t1=$(awk '{print $14 + $15}' /proc/$game/stat)
cpu=$(( (t1 - t0) * 100 / (5 * $(getconf CLK_TCK)) ))
echo "processor use during play: ${cpu}%"
[ "$cpu" -lt 50 ] || fail "the game keeps the processor busy (${cpu}%)"
import -window "$win" played.png

# What the window shows, against the headless picture of a play frame. The
# actors move on their own and at random, so only the band below the ships'
# row (the status bar on the backdrop) is compared.
printf "140 press DOWN\n142 press DOWN\n144 press DOWN\n146 press DOWN\n150 press SPACE\n" > start.txt
"$bin" --headless --script start.txt --frames 400 --shot 399:headless.png >/dev/null || fail "headless run failed"
convert headless.png -sample '640x480!' expected.png
convert live.png -crop 640x50+0+430 +repage live-band.png
convert expected.png -crop 640x50+0+430 +repage expected-band.png
differ=$(differ live-band.png expected-band.png)
echo "pixels of the status band that differ from the headless picture: $differ of 32000"
[ "$differ" -lt 3000 ] || { cp live.png expected.png /tmp/ 2>/dev/null; fail "the window does not show the first stage"; }

# Firing hit aliens: the score in the status band went up.
convert played.png -crop 640x50+0+430 +repage played-band.png
differ=$(differ played-band.png live-band.png)
echo "status band pixels changed by firing: $differ"
[ -n "${LIVE_SHOTS:-}" ] && cp live.png played.png "$LIVE_SHOTS/" 2>/dev/null
[ "$differ" -gt 20 ] || fail "firing changed nothing in the status bar"

# Escape leaves the play for the title: the picture changes completely.
xdotool keydown --window "$win" Escape; sleep 0.2; xdotool keyup --window "$win" Escape
sleep 2.5
import -window "$win" title.png
differ=$(differ title.png expected.png)
echo "after Escape, pixels that differ from the play picture: $differ"
[ "$differ" -gt 100000 ] || fail "Escape did not bring the title back"
kill -0 "$game" 2>/dev/null || fail "the game died"
echo "PASS"
