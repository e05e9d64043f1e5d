#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo pass their validators, and an install
# into a scratch prefix has the Debian games layout with working links, and the icons.
set -u
game_dir=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
source_dir=$(cd "$here/../.." && pwd)
build_dir=$(cd "$game_dir/.." && pwd)

app_id=net.pelmar.cablewright
entry="$source_dir/packaging/$app_id.desktop"
metainfo="$source_dir/packaging/$app_id.metainfo.xml"
[ -z "$(desktop-file-validate "$entry")" ] || fail "desktop entry: $(desktop-file-validate "$entry")"
grep -qx 'Categories=Game;LogicGame;' "$entry" || fail "menu categories"
grep -qx "Icon=$app_id" "$entry" || fail "the entry's icon is not named after the app id"
# Debian 12's appstreamcli (0.16) predates AppStream 1.0's <developer id>, and says only that
# it does not know that tag; anything else it says fails the check.
said=$(appstreamcli validate --no-net --pedantic "$metainfo") || fail "metainfo: $said"
echo "$said"
unexpected=$(grep -E '^[EWIP]: ' <<< "$said" | grep -v ': unknown-tag developer$')
[ -z "$unexpected" ] || fail "metainfo: $unexpected"
grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not the app id"
grep -q "<release version=\"$(sed -n 's/^project(Cablewright VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")\"" "$metainfo" ||
    fail "the metainfo's newest release is not the project's version"
# No made-up address or home page anywhere the package takes its texts from.
grep -rn '\.example\b' "$source_dir/packaging" && fail "a placeholder address in packaging/"

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
for size in 16 24 32 48 64 128 256; do
    icon="$usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "icon $size"
done
scalable="$usr/share/icons/hicolor/scalable/apps/$app_id.svg"
# The scalable icon drawn at 48 pixels is the 48-pixel icon, give or take the edges' smoothing.
difference=$(rsvg-convert --width 48 --height 48 "$scalable" |
    compare -metric RMSE - "$usr/share/icons/hicolor/48x48/apps/$app_id.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
echo "scalable icon at 48 pixels against the 48-pixel icon: RMSE $difference"
awk -v d="$difference" 'BEGIN { exit !(d < 0.06) }' || fail "the scalable icon is not the same picture"
[ -f "$usr/share/applications/$app_id.desktop" ] || fail "desktop entry not installed"
[ -f "$usr/share/metainfo/$app_id.metainfo.xml" ] || fail "metainfo not installed"
gzip -t "$usr/share/man/man6/cablewright.6.gz" || fail "manual page"
# The credits and the help send the player to the README for more about the game.
[ -f "$usr/share/doc/cablewright/README.md" ] || fail "README not installed"
echo PASS
