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
. "$(dirname "$0")/common.sh" display "$2"
cfg=$XDG_CONFIG_HOME/earthguard/earthguard.cfg

# Waits until the screen (root) or the game's window shows exactly the
# picture $2: the title fades in, a switch takes a moment.
shows() {  # root|window PICTURE
    local differ="" where="-id $win"
    [ "$1" = root ] && where=-root
    for _ in $(seq 30); do
        differ=$(xwd $where -silent | compare -metric AE xwd:- "$2.ppm" null: 2>&1)
        [ "$differ" = 0 ] && return 0
        sleep 0.3
    done
    fail "the $1 does not show $2 ($differ pixels differ)"
}

# The headless picture of the title once it has faded in (the run ends at
# the frame the menu starts waiting for a key), at 2x and 4x.
frames=$("$bin" --headless --frames 1000 | sed -n 's/^frames=\([0-9]*\) .*/\1/p')
"$bin" --headless --frames 1000 --shot "$frames:title.png" >/dev/null || fail "headless run failed"
for p in "2 1920x1080 full2" "2 1280x960 window2" "4 3840x2160 full4" "4 2560x1920 window4"; do
    set -- $p
    convert title.png -sample '640x480!' -sample "$((640 * $1))x$((480 * $1))!" \
        -background black -gravity center -extent "$2" -depth 8 "$3.ppm"
done

# screen (- the same as before), shown at start, after F11, the mode saved
for row in "1920x1080 root full2 window window2 window" "- window window2 root full2 fullscreen" \
    "3840x2160 root full4 window window4 window"; do
    set -- $row
    [ "$1" = - ] || { rm -f "$cfg"; start_xvfb "$1"; }
    start_game
    sleep 1  # the title fades in; each try at 4K takes seconds
    shows "$2" "$3"
    [ "$(wc -l <game.log)" -le 1 ] || fail "start-up printed more than one line: $(cat game.log)"
    xprop -id "$win" WM_CLASS | grep -q '"earthguard", "Earthguard"' || fail "window class"
    xprop -id "$win" WM_HINTS | grep -q "to use for icon" || fail "no window icon"
    [ "$1" = - ] || [ ! -e "$cfg" ] || fail "the settings file was written without a change"
    xdotool keydown --window "$win" F11 && sleep 0.05 && xdotool keyup --window "$win" F11
    shows "$4" "$5"
    grep -q "mode = $6" "$cfg" || fail "the $6 choice was not saved"
    stop_game
done

printf '[display]\nmode = \376\200\200\200\200\200\200 window\nscale = 77\n' >"$cfg"
start_game --windowed --scale 1
for _ in $(seq 50); do grep -q ignoring game.log && break; sleep 0.1; done  # the window comes first
sleep 0.5
kill -0 "$game" 2>/dev/null || fail "the game died on a damaged settings file"
[ "$(grep -c "ignoring $cfg" game.log)" = 1 ] || fail "no single line about the damaged file: $(cat game.log)"
[ "$(geometry)" = 640x480 ] || fail "--scale 1 not obeyed"
stop_game
[ ! -e "$(dirname "$bin")/allegro.cfg" ] && [ ! -e allegro.cfg ] || fail "an allegro.cfg was written"
[ "$(ls -A "$XDG_CONFIG_HOME/earthguard")" = earthguard.cfg ] || fail "other files in the settings folder"
