#!/usr/bin/env bash
# The game starts on an 800 x 600 screen, fades its menu in, ends with status 0 on
# Escape; with a picture missing it stops with status 255 and names the file.
source "$(dirname "$0")/preamble.sh"

# 1. Start, look, leave.
"$game_dir/cablewright" 2> "$out_dir/menu_stderr.txt" &
pid=$!
wait_for_brightness "$out_dir/menu.png" 0.12 30
brightness=$(mean_brightness "$out_dir/menu.png")
echo "menu brightness $brightness"
awk -v b="$brightness" 'BEGIN { exit !(b > 0.05) }' || fail "the menu is black"
escape_until_exit "$pid" 15
[ "$exit_status" = "0" ] || fail "Escape in the menu gave status $exit_status"

# 2. A copy of the game without its pointer picture.
broken=$(mktemp -d)
trap 'rm -rf "$broken"' EXIT
cp "$game_dir/cablewright" "$broken/"
cp -r "$game_dir/gfx" "$broken/gfx"
for folder in sfx maps tracks; do ln -s "$game_dir/$folder" "$broken/$folder"; done
cp "$game_dir/oldgame.cws" "$broken/" 2>/dev/null
rm "$broken/gfx/pointer.spr"
# exec: $pid is the game itself, so a hung one is ended with the check.
(cd /tmp && exec "$broken/cablewright" 2> "$out_dir/broken_stderr.txt") &
pid=$!
wait_for_exit "$pid" 20
[ "$exit_status" = "255" ] || fail "a missing picture gave status $exit_status"
grep -q "gfx/pointer.spr" "$out_dir/broken_stderr.txt" || fail "the message does not name the file: $(cat "$out_dir/broken_stderr.txt")"
echo "PASS"
