#!/usr/bin/env bash
# Full screen and window on 1080p and 4K screens under Xvfb: what the screen
# shows equals the headless runner's title picture, scaled here with
# ImageMagick (each 640x480 pixel the source pixel at its centre, then whole
# multiples) and centred; F11 switches both ways; the choice is written to
# the settings file and read back; a damaged settings file is survived.
#
#   display_test.sh EARTHGUARD_BINARY SOURCE_DIR
set -u
bin=$1
src=$2
. "$(dirname "$0")/common.sh" display "$2"
cfg=$XDG_CONFIG_HOME/earthguard/earthguard.cfg
stop_game() {  # and waits for its window to go, so the next search finds the next game's
    [ -n "${game:-}" ] && kill -9 "$game" 2>/dev/null && wait "$game" 2>/dev/null
    game=""
    for _ in $(seq 50); do xdotool search --classname '^earthguard$' >/dev/null 2>&1 || break; sleep 0.1; done
}

start_game() {  # options...
    "$bin" "$@" >game.log 2>&1 &
    game=$!
    win=$(timeout 10 xdotool search --sync --classname '^earthguard$' 2>/dev/null | head -1)
    [ -n "$win" ] || fail "no game window appeared"
}

press_f11() {
    xdotool keydown --window "$win" F11 2>/dev/null; sleep 0.05; xdotool keyup --window "$win" F11 2>/dev/null
}

# Waits until the screen (root) or the game's window (window) shows exactly
# expected.png: the title fades in, a switch takes a moment.
shows() {  # root|window EXPECTED
    local differ=""
    for _ in $(seq 30); do
        if [ "$1" = root ]; then xwd -root -silent >shot.xwd; else xwd -id "$win" -silent >shot.xwd; fi
        differ=$(compare -metric AE xwd:shot.xwd "$2" null: 2>&1)
        [ "$differ" = 0 ] && return 0
        sleep 0.3
    done
    cp shot.xwd "/tmp/earthguard-display-failed.xwd" 2>/dev/null
    fail "the $1 does not show $2 ($differ pixels differ)"
}

# The headless picture of the title once it has faded in: the run ends at
# the frame the menu starts waiting for a key.
frames=$("$bin" --headless --frames 1000 | sed -n 's/^frames=\([0-9]*\) .*/\1/p')
"$bin" --headless --frames 1000 --shot "$frames:title.png" >/dev/null || fail "headless run failed"
picture() {  # FACTOR CANVAS_WxH OUT
    convert title.png -sample '640x480!' -sample "$((640 * $1))x$((480 * $1))!" \
        -background black -gravity center -extent "$2" -depth 8 "$3"
}
picture 2 1920x1080 full2.ppm
picture 2 1280x960 window2.ppm
picture 4 3840x2160 full4.ppm
picture 4 2560x1920 window4.ppm

echo "== 1920x1080: full screen by default, F11 to a window"
start_xvfb 1920x1080
start_game
shows root full2.ppm
[ "$(wc -l <game.log)" -le 1 ] || fail "start-up printed more than one line: $(cat game.log)"
xprop -id "$win" WM_CLASS | grep -q '"earthguard", "Earthguard"' || fail "window class: $(xprop -id "$win" WM_CLASS)"
# Our icon when the data has one, else none (never the library's own).
icon=$(xprop -id "$win" WM_HINTS | grep -c "to use for icon")
[ "$icon" = "$([ -e data/video/icon.bmp ] && echo 1 || echo 0)" ] || fail "window icon hint: $icon"
[ ! -e "$cfg" ] || fail "the settings file was written without a change"
press_f11
shows window window2.ppm
[ "$(xdotool getwindowgeometry "$win" | sed -n 's/ *Geometry: //p')" = 1280x960 ] || fail "the window is not 1280x960"
grep -q "mode = window" "$cfg" || fail "the window choice was not saved"
stop_game

echo "== the next start opens the window; F11 back to full screen"
start_game
shows window window2.ppm
press_f11
shows root full2.ppm
grep -q "mode = fullscreen" "$cfg" || fail "the full screen choice was not saved"
stop_game

echo "== a damaged settings file is ignored with one line"
printf '[display]\nmode = \376\200\200\200\200\200\200 window\nscale = 77\n' >"$cfg"
start_game --windowed --scale 1
for _ in $(seq 50); do grep -q ignoring game.log && break; sleep 0.1; done  # the window comes before the settings
sleep 0.5
kill -0 "$game" 2>/dev/null || fail "the game died on a damaged settings file"
grep -c "ignoring $cfg" game.log | grep -qx 1 || fail "no single line about the damaged file: $(cat game.log)"
[ "$(xdotool getwindowgeometry "$win" | sed -n 's/ *Geometry: //p')" = 640x480 ] || fail "--scale 1 not obeyed"
stop_game

echo "== 3840x2160: full screen at 4x, F11 to a 2560x1920 window"
rm -f "$cfg"
start_xvfb 3840x2160
start_game
sleep 1.5  # the title fades in; each try at 4K takes seconds
shows root full4.ppm
press_f11
shows window window4.ppm
stop_game

[ ! -e "$(dirname "$bin")/allegro.cfg" ] && [ ! -e allegro.cfg ] || fail "an allegro.cfg was written"
[ "$(ls -A "$XDG_CONFIG_HOME/earthguard")" = earthguard.cfg ] || fail "other files in the settings folder"
echo "PASS"
