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
