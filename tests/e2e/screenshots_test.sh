#!/usr/bin/env bash
# The screenshots for software centres and the documents (scripts/screenshots): one PNG of
# 1920 x 1080 for every shot of the script's table, each showing what its name says: the
# lit menu with its column of buttons, and a level in play with its status panel.
set -u
game_dir=$1
out_dir=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
source_dir=$(cd "$here/../.." && pwd)
shots="$out_dir/screenshots"
rm -rf "$shots"
mkdir -p "$shots"

"$source_dir/scripts/screenshots" "$game_dir" "$shots" || fail "scripts/screenshots failed"
made=$(cd "$shots" && ls)
echo "made: $(tr '\n' ' ' <<< "$made")"
for name in menu level options lit; do
    grep -qx "$name.png" <<< "$made" || fail "no $name shot"
done
for shot in "$shots"/*.png; do
    [ "$(identify -format '%wx%h' "$shot")" = 1920x1080 ] || fail "$shot is not 1920 x 1080"
done

# Mean brightness of a part of a shot, given in the pixels of the game's 800 x 600 screen
# (drawn 1.8 times as large, 240 pixels from the left).
part_brightness() {
    local shot=$1 x=$2 y=$3 width=$4 height=$5
    convert "$shot" -crop "$(((width * 18) / 10))x$(((height * 18) / 10))+$((240 + (x * 18) / 10))+$(((y * 18) / 10))" \
        +repage -colorspace Gray -format "%[fx:mean]" info:
}
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# The menu: its buttons lit in a column on the right, black bands above and below.
button=$(part_brightness "$shots/menu.png" 560 185 180 30)
band=$(part_brightness "$shots/menu.png" 0 0 800 40)
echo "menu: New Game button $button, top band $band"
above "$button" 0.3 || fail "the menu shot shows no lit button"
above 0.02 "$band" || fail "the menu shot has no black band at the top"
# The level: the status panel lit along the bottom, where the menu has its black band.
panel=$(part_brightness "$shots/level.png" 0 584 800 16)
echo "level: status panel $panel"
above "$panel" 0.1 || fail "the level shot shows no status panel"
echo PASS
