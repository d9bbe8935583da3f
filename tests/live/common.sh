# Shared by the live tests, sourced as `. common.sh NAME SOURCE_DIR`: a
# scratch folder that sees the game's data, removed at exit with the X
# server and game the test started.
. "$(dirname "${BASH_SOURCE[0]}")/../support/scratch.sh" "$1"
ln -s "$2/data" "$work/data"
cd "$work"
export XDG_DATA_HOME=$work/xdg  # the game's own files, never the tester's

# A private Xvfb on the first free display from FIRST to LAST
# (EARTHGUARD_DISPLAYS="FIRST LAST" overrides them); sets DISPLAY and $xvfb.
start_xvfb() {
    local n
    for n in $(seq ${EARTHGUARD_DISPLAYS:-$1 $2}); do
        [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { disp=:$n; break; }
    done
    Xvfb "$disp" -screen 0 1024x768x24 -noreset >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=$disp
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
    xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb did not start"
}

# Waits for the game's window; sets $win.
find_window() {
    win=""
    for _ in $(seq 100); do
        win=$(xdotool search --class allegro 2>/dev/null | head -1)
        [ -n "$win" ] && return
        sleep 0.1
    done
    fail "no game window appeared"
}
