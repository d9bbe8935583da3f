# Shared by the live tests, sourced as `. common.sh NAME SOURCE_DIR`: a
# scratch folder that sees the game's data, removed at exit with the X
# server and game the test started.
. "$(dirname "${BASH_SOURCE[0]}")/../support/scratch.sh" "$1"
ln -s "$2/data" "$work/data"
cd "$work"
export XDG_DATA_HOME=$work/xdg    # the game's own files and settings,
export XDG_CONFIG_HOME=$work/cfg  # never the tester's

# Waits for the game's window; sets $win.
find_window() {
    win=""
    for _ in $(seq 100); do
        win=$(xdotool search --classname '^earthguard$' 2>/dev/null | head -1)
        [ -n "$win" ] && return
        sleep 0.1
    done
    fail "no game window appeared"
}

# Runs the probe $bin with Allegro's sound sent to $work/NAME.wav through
# ALSA's file output (Allegro reads the config from $ALLEGRO); sets $out.
#   probe_capture NAME ARGUMENT
probe_capture() {
    command -v Xvfb >/dev/null || fail "Xvfb is not installed"
    [ -n "${xvfb:-}" ] || start_xvfb
    mkdir -p "$work/alsa"
    printf "[sound]\nalsa_device = file:'%s/%s.wav',wav\n" "$work" "$1" >"$work/alsa/allegro.cfg"
    out=$(ALLEGRO=$work/alsa "$bin" "$work/$1.wav" "$2" 2>/dev/null) || fail "the probe failed: $out"
    echo "$out"
}
