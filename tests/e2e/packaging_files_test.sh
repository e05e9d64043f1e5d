#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo pass their validators, and an install
# into a scratch prefix has the Debian games layout with working links.
set -u
game_dir=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
source_dir=$(cd "$here/../.." && pwd)
build_dir=$(cd "$game_dir/.." && pwd)

desktop-file-validate "$source_dir/packaging/cablewright.desktop" || fail "desktop entry"
grep -qx 'Categories=Game;LogicGame;' "$source_dir/packaging/cablewright.desktop" || fail "menu categories"
appstreamcli validate --no-net --pedantic "$source_dir/packaging/cablewright.metainfo.xml" || fail "metainfo"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build_dir" --prefix /usr > /dev/null || fail "cmake --install"
usr="$stage/usr"
[ -x "$usr/lib/games/cablewright/cablewright" ] || fail "no program in lib/games"
[ "$(readlink "$usr/games/cablewright")" = "../lib/games/cablewright/cablewright" ] || fail "launcher"
for folder in gfx gfx@2 gfx@3 sfx maps tracks; do
    [ -d "$usr/lib/games/cablewright/$folder/" ] || fail "$folder is not reached from the program folder"
    [ -d "$usr/share/games/cablewright/$folder" ] || fail "$folder is not in share/games"
done
[ -f "$usr/share/games/cablewright/maps/newmapdata.cwm" ] || fail "no levels"
ls "$usr/share/games/cablewright" "$usr/lib/games/cablewright" | grep -q oldgame && fail "progress files were installed"
for size in 48 64 128 256; do
    icon="$usr/share/icons/hicolor/${size}x${size}/apps/cablewright.png"
    [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "icon $size"
done
[ -f "$usr/share/applications/net.pelmar.cablewright.desktop" ] || fail "desktop entry not installed"
[ -f "$usr/share/metainfo/net.pelmar.cablewright.metainfo.xml" ] || fail "metainfo not installed"
gzip -t "$usr/share/man/man6/cablewright.6.gz" || fail "manual page"
# The credits and the help send the player to the README for more about the game.
[ -f "$usr/share/doc/cablewright/README.md" ] || fail "README not installed"
echo PASS
