#!/usr/bin/env bash
# The Debian package: cpack makes it from the build, with the library
# dependencies found by dpkg-shlibdeps, and it holds the installed game and
# nothing of the build's tools.
#
#   deb_test.sh BUILD_DIR
set -u
build=$1
. "$(dirname "$0")/../support/scratch.sh" deb

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/earthguard_*.deb 2>/dev/null)
[ -n "$deb" ] || fail "no earthguard_*.deb made"
echo "$deb"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = earthguard ] || fail "Package: $(field Package)"
[ "$(field Version)" = 1.01 ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] && [ -n "$(field Description)" ] || fail "no Maintainer or Description"
depends=$(field Depends)
echo "Depends: $depends"
for lib in liballegro4.4 libc6 libstdc++6 zlib1g; do
    echo "$depends" | grep -q "\b$lib\b" || fail "Depends lacks $lib"
done

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | sort >"$work/files"
for f in /usr/bin/earthguard /usr/share/earthguard/video/title.bmp /usr/share/earthguard/audio/default.cfg \
    /usr/share/applications/earthguard.desktop /usr/share/metainfo/earthguard.metainfo.xml \
    /usr/share/man/man6/earthguard.6 /usr/share/icons/hicolor/16x16/apps/earthguard.png \
    /usr/share/icons/hicolor/256x256/apps/earthguard.png; do
    grep -qx "$f" "$work/files" || fail "the package lacks $f"
done
[ "$(grep -c '/apps/earthguard.png$' "$work/files")" = 7 ] || fail "not the 7 icon sizes"
[ "$(grep -c '^/usr/share/earthguard/.*[^/]$' "$work/files")" = "$(find "$(dirname "$0")/../../data" -type f | wc -l)" ] ||
    fail "the package's data is not the data/ folder"
stray=$(grep -v -e '^/usr/bin/earthguard$' -e '^/usr/share/' -e '/$' "$work/files")
[ -z "$stray" ] || fail "unexpected files: $stray"
echo "ok"
