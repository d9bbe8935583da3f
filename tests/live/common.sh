# Shared by the live tests, sourced as `. common.sh NAME SOURCE_DIR`: a
# scratch folder that sees the game's data, removed at exit with the X
# server and game the test started.
work=$(mktemp -d "/tmp/earthguard-$1-XXXXXX")
ln -s "$2/data" "$work/data"
cd "$work"

fail() { echo "FAIL: $*"; exit 1; }
cleanup() {
    [ -n "${game:-}" ] && kill -9 "$game" 2>/dev/null
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

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
