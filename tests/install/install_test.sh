#!/usr/bin/env bash
# The installed game, as a player gets it: installed into a temporary prefix
# with DESTDIR and run from another folder, headless (a scripted game to its
# name entry) and live under Xvfb (the player's own score table), then with
# the prefix moved elsewhere and with its data gone. The desktop entry and
# the AppStream file pass their validators; the icons are transparent PNGs.
#
#   install_test.sh BUILD_DIR
set -u
. "$(dirname "$0")/../support/scratch.sh" install
cp "$(dirname "$0")/old-game.txt" "$work/script.txt"
DESTDIR=$work/root cmake --install "$1" --prefix /opt/eg >/dev/null || fail "cmake --install failed"
p=$work/root/opt/eg
for f in bin/earthguard share/earthguard/{video/title.bmp,video/icon.bmp,audio/default.cfg,audio/bass.pat} \
    share/applications/earthguard.desktop share/metainfo/earthguard.metainfo.xml share/man/man6/earthguard.6; do
    [ -s "$p/$f" ] || fail "$f is not installed"
done
desktop-file-validate "$p/share/applications/earthguard.desktop" || fail "desktop entry"
grep -qx 'Categories=Game;ArcadeGame;' "$p/share/applications/earthguard.desktop" || fail "categories"
appstreamcli validate --no-net "$p/share/metainfo/earthguard.metainfo.xml" || fail "metainfo"
[ "$(grep -c '<screenshot' "$p/share/metainfo/earthguard.metainfo.xml")" -ge 3 ] || fail "no screenshot list"
for n in 16 24 32 48 64 128 256; do
    look=$(convert "$p/share/icons/hicolor/${n}x$n/apps/earthguard.png" \
        -format '%m %wx%h %[fx:p{0,0}.a] %[fx:p{w/2,h/2}.a]' info:)
    [ "$look" = "PNG ${n}x$n 0 1" ] || fail "icon $n: $look (format, size, corner and centre opacity)"
done

# The table (140 bytes) holds an entry named ACE (20 bytes, NUL padded) with
# the headless game's score (little-endian).
has_ace() {  # FILE
    [ "$(stat -c %s "$1" 2>/dev/null)" = 140 ] &&
        od -A n -v -t x1 "$1" | tr -d ' \n' | grep -q "414345$(printf '%034d' 0)$(printf '%08x' "$score" |
            sed 's/\(..\)\(..\)\(..\)\(..\)/\4\3\2\1/')"
}
run() { "$p/bin/earthguard" --headless --script "$work/script.txt" "$@" 2>&1; }
mkdir -p "$work/play" "$work/xdg"
cd "$work/play"
export XDG_DATA_HOME=$work/xdg
line=$(run) || fail "installed run: $line"
echo "$line"
score=$(echo "$line" | sed -n 's/.* score=\([0-9]*\) .*gameover=1$/\1/p')
[ "${score:-0}" -gt 1000 ] || fail "the game did not end with a score for the table"
has_ace scoretb.dat || fail "the headless run's table in its folder lacks ACE $score"
[ -z "$(ls -A "$work/xdg")" ] || fail "the headless run touched XDG_DATA_HOME"
run --scores "$work/other.dat" >/dev/null
has_ace "$work/other.dat" || fail "--scores did not name the table"
mkdir "$work/moved" && mv "$p" "$work/moved/" && p=$work/moved/eg && rm scoretb.dat
[ "$(run)" = "$line" ] && has_ace scoretb.dat || fail "moved prefix: another end or no table"

# Live, the table is the player's own; a table in the working folder is
# copied into it on first use and stays where it was.
start_xvfb 800x600
live() {  # waits for the table FILE the game makes at start-up
    "$p/bin/earthguard" --windowed >"$work/live.log" 2>&1 &
    game=$!
    for _ in $(seq 100); do [ -s "$1" ] && break; sleep 0.1; done
    sleep 0.3
    kill -9 "$game"; wait "$game" 2>/dev/null; game=""
    [ -s "$1" ] || { cat "$work/live.log"; return 1; }
}
live "$work/xdg/earthguard/scoretb.dat" || fail "no table in XDG_DATA_HOME"
cmp -s "$work/xdg/earthguard/scoretb.dat" scoretb.dat || fail "the working folder's table was not copied"
has_ace scoretb.dat || fail "the working folder's table changed"
unset XDG_DATA_HOME
mkdir "$work/home" "$work/empty" && cd "$work/empty"
HOME=$work/home live "$work/home/.local/share/earthguard/scoretb.dat" || fail "no table in ~/.local/share"
[ -z "$(ls -A)" ] || fail "the live game wrote into its working folder"
od -A n -c "$work/home/.local/share/earthguard/scoretb.dat" | tr -d ' \n' | grep -q 'earthguardteam' ||
    fail "a new player's table is not the default one"

# Without its data the game stops and names every place it looked;
# EARTHGUARD_DATA names it.
mv "$p/share/earthguard" "$work/away"
out=$("$p/bin/earthguard" --headless --frames 10 2>&1)
[ $? = 2 ] && echo "$out" | grep -q "$p/share/earthguard" && echo "$out" | grep -q '\./data' ||
    fail "missing data: not status 2 naming every place: $out"
line=$(EARTHGUARD_DATA=$work/away "$p/bin/earthguard" --headless --frames 10 2>&1) || fail "EARTHGUARD_DATA: $line"
