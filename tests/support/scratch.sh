# Sourced by the shell tests: a scratch folder $work, fail, and a cleanup at
# exit that ends the game ($game) and the X server ($xvfb) the test started.
#
#   . scratch.sh NAME
work=$(mktemp -d "/tmp/earthguard-$1-XXXXXX")
fail() { echo "FAIL: $*"; exit 1; }
cleanup() {
    [ -n "${game:-}" ] && kill -9 "$game" 2>/dev/null
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# A private Xvfb of size WxH (default 1024x768) on a display number the server
# picks itself; replaces the one started before. Sets DISPLAY and $xvfb.
start_xvfb() {
    [ -n "${xvfb:-}" ] && kill "$xvfb" && wait "$xvfb" 2>/dev/null
    rm -f "$work/.display"
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -noreset 3>"$work/.display" >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do [ -s "$work/.display" ] && break; sleep 0.1; done
    [ -s "$work/.display" ] || fail "Xvfb did not start"
    export DISPLAY=:$(cat "$work/.display")
}
