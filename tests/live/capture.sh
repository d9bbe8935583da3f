# Sourced by the live sound tests: a scratch directory that sees the data,
# an Xvfb display of our own, and Allegro's config (read from $ALLEGRO)
# sending the sound to $work/capture.wav. Removed again on exit.
work=$(mktemp -d /tmp/earthguard-sound-XXXXXX)
ln -s "$src/data" "$work/data"
cd "$work"

fail() { echo "FAIL: $*"; exit 1; }
cleanup() {
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

command -v Xvfb >/dev/null || fail "Xvfb is not installed"
for n in $(seq 141 190); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { disp=:$n; break; }
done
Xvfb "$disp" -screen 0 1024x768x24 -noreset >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$disp
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X${disp#:} ] && break; sleep 0.1; done

mkdir cfg
printf "[sound]\nalsa_device = file:'%s/capture.wav',wav\n" "$work" >cfg/allegro.cfg
export ALLEGRO=$work/cfg
