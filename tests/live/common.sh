# Shared by the live tests, sourced as `. common.sh NAME SOURCE_DIR`: a
# scratch folder that sees the game's data, removed at exit with the X
# server and game the test started; the game's own files and settings go
# there, never to the tester's.
. "$(dirname "${BASH_SOURCE[0]}")/../support/scratch.sh" "$1"
ln -s "$2/data" "$work/data"
cd "$work"
export XDG_DATA_HOME=$work/xdg XDG_CONFIG_HOME=$work/cfg

# Starts $bin with the options given, its output in game.log, and waits for
# its window; sets $game and $win.
start_game() {
    "$bin" "$@" >game.log 2>&1 &
    game=$!
    win=$(timeout 10 xdotool search --sync --classname '^earthguard$' 2>/dev/null | head -1)
    [ -n "$win" ] || fail "no game window appeared"
}

# Ends the game and waits for its window to go, so the next search finds the
# next game's.
stop_game() {
    kill -9 "$game" 2>/dev/null && wait "$game" 2>/dev/null
    game=""
    for _ in $(seq 50); do xdotool search --classname '^earthguard$' >/dev/null 2>&1 || break; sleep 0.1; done
}

geometry() { xdotool getwindowgeometry "$win" | sed -n 's/ *Geometry: //p'; }
