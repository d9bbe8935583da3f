#!/usr/bin/env bash
# The installed game, as a player gets it: installed into a temporary prefix
# with DESTDIR and run from another folder, headless (a scripted game to its
# name entry) and live under Xvfb (the player's own score table), then with
# the prefix moved elsewhere and with its data gone. The desktop entry and
# the AppStream file pass their validators; the icons are transparent PNGs.
#
#   install_test.sh BUILD_DIR
set -u
build=$1
. "$(dirname "$0")/../support/scratch.sh" install

DESTDIR=$work/root cmake --install "$build" --prefix /opt/eg >/dev/null || fail "cmake --install failed"
p=$work/root/opt/eg
for f in bin/earthguard share/earthguard/video/title.bmp share/earthguard/video/icon.bmp \
    share/earthguard/audio/default.cfg share/earthguard/audio/bass.pat share/applications/earthguard.desktop \
    share/metainfo/earthguard.metainfo.xml share/man/man6/earthguard.6; do
    [ -s "$p/$f" ] || fail "$f is not installed"
done
desktop-file-validate "$p/share/applications/earthguard.desktop" || fail "desktop entry"
grep -qx 'Categories=Game;ArcadeGame;' "$p/share/applications/earthguard.desktop" || fail "categories"
appstreamcli validate --no-net "$p/share/metainfo/earthguard.metainfo.xml" || fail "metainfo"
[ "$(grep -c '<screenshot' "$p/share/metainfo/earthguard.metainfo.xml")" -ge 3 ] || fail "no screenshot list"
for n in 16 24 32 48 64 128 256; do
    icon=$p/share/icons/hicolor/${n}x$n/apps/earthguard.png
    look=$(convert "$icon" -format '%m %wx%h %[fx:p{0,0}.a] %[fx:p{w/2,h/2}.a]' info:) || fail "no icon of $n"
    [ "$look" = "PNG ${n}x$n 0 1" ] || fail "icon $n: $look (format, size, corner and centre opacity)"
done

# A one-player Old game: sweeps and fires until frame 2200, then the wave
# lands; "ACE" is typed at the name entry.
script() {
    local f k d e
    f=100
    for k in DOWN DOWN RIGHT DOWN DOWN SPACE; do echo "$f press $k"; f=$((f + 2)); done
    for ((f = 220, k = 0; f < 2200; f += 180, k++)); do
        d=RIGHT; [ $((k % 2)) = 1 ] && d=LEFT
        e=$((f + 180)); [ $e -gt 2200 ] && e=2200
        echo "$f down $d"; echo "$e up $d"
    done
    for ((f = 220; f < 2200; f += 8)); do echo "$f press SPACE"; done
    printf '9000 type ACE\n9010 press ENTER\n9100 press SPACE\n'
}
# The table is 140 bytes and holds an entry named NAME (20 bytes, NUL
# padded) with SCORE (little-endian).
has_entry() {  # FILE NAME SCORE
    local name score
    name=$(printf '%s' "$2" | od -A n -t x1 | tr -d ' \n')
    name=$name$(printf '%0*d' $((40 - ${#name})) 0)
    score=$(printf '%08x' "$3" | sed 's/\(..\)\(..\)\(..\)\(..\)/\4\3\2\1/')
    [ "$(stat -c %s "$1" 2>/dev/null)" = 140 ] && od -A n -v -t x1 "$1" | tr -d ' \n' | grep -q "$name$score"
}

mkdir -p "$work/play" "$work/xdg"
cd "$work/play"
script >script.txt
export XDG_DATA_HOME=$work/xdg
line=$("$p/bin/earthguard" --headless --script script.txt 2>&1) || fail "installed run: $line"
echo "$line"
score=$(echo "$line" | sed -n 's/.* score=\([0-9]*\) .*gameover=1$/\1/p')
[ -n "$score" ] && [ "$score" -gt 1000 ] || fail "the game did not end with a score for the table"
has_entry scoretb.dat ACE "$score" || fail "the headless run's table in its folder lacks ACE $score"
[ -z "$(ls -A "$work/xdg")" ] || fail "the headless run touched XDG_DATA_HOME"
line2=$("$p/bin/earthguard" --headless --script script.txt --scores "$work/other.dat" 2>&1)
has_entry "$work/other.dat" ACE "$score" || fail "--scores did not name the table"

# The prefix moved elsewhere: the same run, the same end.
mkdir "$work/moved" && mv "$p" "$work/moved/"
p=$work/moved/eg
rm scoretb.dat
[ "$("$p/bin/earthguard" --headless --script script.txt 2>&1)" = "$line" ] || fail "moved prefix"
has_entry scoretb.dat ACE "$score" || fail "moved prefix: no table"

# Live, the table is the player's own; a table in the working folder is
# copied into it on first use and stays where it was.
command -v Xvfb >/dev/null || fail "Xvfb is not installed"
start_xvfb 800x600
live() {  # waits for the table FILE the game makes at start-up
    "$p/bin/earthguard" --windowed >"$work/live.log" 2>&1 &
    game=$!
    for _ in $(seq 100); do [ -s "$1" ] && break; sleep 0.1; done
    sleep 0.3
    kill -9 "$game"; wait "$game" 2>/dev/null; game=""
    [ -s "$1" ] || { cat "$work/live.log"; return 1; }
}
mine=$work/xdg/earthguard/scoretb.dat
live "$mine" || fail "no table in XDG_DATA_HOME"
cmp -s "$mine" scoretb.dat || fail "the working folder's table was not copied"
has_entry scoretb.dat ACE "$score" || fail "the working folder's table changed"
unset XDG_DATA_HOME
mkdir "$work/home" "$work/empty"
cd "$work/empty"
HOME=$work/home live "$work/home/.local/share/earthguard/scoretb.dat" || fail "no table in ~/.local/share"
[ -z "$(ls -A)" ] || fail "the live game wrote into its working folder"
od -A n -c "$work/home/.local/share/earthguard/scoretb.dat" | tr -d ' \n' | grep -q 'earthguardteam' ||
    fail "a new player's table is not the default one"

# Without its data the game stops and names every place it looked.
mv "$p/share/earthguard" "$work/away"
out=$("$p/bin/earthguard" --headless --frames 10 2>&1)
[ $? = 2 ] || fail "missing data: exit status not 2"
echo "$out" | grep -q "$p/share/earthguard" && echo "$out" | grep -q '\./data' ||
    fail "missing data: the message does not name every place: $out"
line=$(EARTHGUARD_DATA=$work/away "$p/bin/earthguard" --headless --frames 10 2>&1) || fail "EARTHGUARD_DATA: $line"
echo "ok"
