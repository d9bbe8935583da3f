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
