#!/usr/bin/env bash
# The Debian package: cpack makes it from the build, with the library
# dependencies found by dpkg-shlibdeps, and it holds the installed game and
# nothing of the build's tools.
#
#   deb_test.sh BUILD_DIR
set -u
. "$(dirname "$0")/../support/scratch.sh" deb
cpack -G DEB --config "$1/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/earthguard_*.deb) || fail "no earthguard_*.deb made"
for want in Package=earthguard Version=1.01 Architecture="$(dpkg --print-architecture)" Section=games \
    Maintainer= Description= Depends=liballegro4.4 Depends=libc6 Depends=libstdc++6 Depends=zlib1g; do
    got=$(dpkg-deb -f "$deb" "${want%%=*}") v=${want#*=}  # v: a word of the field, or empty: any
    [[ -n $got && (-z $v || " $got," == *" $v"[\ ,]*) ]] || fail "${want%%=*}: $got"
done
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | sort >"$work/files"
for f in /usr/bin/earthguard /usr/share/{applications/earthguard.desktop,metainfo/earthguard.metainfo.xml} \
    /usr/share/man/man6/earthguard.6 /usr/share/icons/hicolor/{16x16,256x256}/apps/earthguard.png; do
    grep -qx "$f" "$work/files" || fail "the package lacks $f"
done
[ "$(grep -c '/apps/earthguard.png$' "$work/files")" = 7 ] || fail "not the 7 icon sizes"
[ "$(grep -c '^/usr/share/earthguard/.*[^/]$' "$work/files")" = "$(find "$(dirname "$0")/../../data" -type f | wc -l)" ] ||
    fail "the package's data is not the data/ folder"
stray=$(grep -v -e '^/usr/bin/earthguard$' -e '^/usr/share/' -e '/$' "$work/files")
[ -z "$stray" ] || fail "unexpected files: $stray"
