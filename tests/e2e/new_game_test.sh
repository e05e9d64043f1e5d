#!/usr/bin/env bash
# From the menu into the first level: the start caption, the board in play, and
# a click on a cell that changes what the cell shows.
set -u
game_dir=$1
out_dir=$2
mkdir -p "$out_dir"
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${INSIDE_XVFB:-}" ]; then
    INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 800x600x24" bash "$0" "$@"
fi
source "$here/lib.sh"
export SDL_AUDIODRIVER=dummy

# A private copy of the game, so the saved game written on leaving stays out of the build.
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cp "$game_dir/cablewright" "$game_dir/oldgame.cws" "$copy/"
for folder in gfx sfx maps tracks; do ln -s "$game_dir/$folder" "$copy/$folder"; done

"$copy/cablewright" 2> "$out_dir/new_game_stderr.txt" &
pid=$!
# The menu fades out (about two seconds), then the first level fades in under its start caption.
start_new_game "$out_dir/new_game"
xdotool mousemove 700 100
sleep 0.5
import -window root "$out_dir/level_before_click.png"
# One click on every cell of the first level's 4 x 5 board (origin 304, 180):
# every cable piece and device output turns a quarter.
for column in 0 1 2 3; do
    for row in 0 1 2 3 4; do
        xdotool mousemove $((304 + 48 * column + 24)) $((180 + 48 * row + 24)) click 1
        sleep 0.1
    done
done
xdotool mousemove 700 100
sleep 1.5
import -window root "$out_dir/level_after_click.png"

# The board must look different once the ghosts have faded.
convert "$out_dir/level_before_click.png" -crop 192x240+304+180 "$out_dir/board_before.png"
convert "$out_dir/level_after_click.png" -crop 192x240+304+180 "$out_dir/board_after.png"
difference=$(compare -metric AE -fuzz 10% "$out_dir/board_before.png" "$out_dir/board_after.png" null: 2>&1)
echo "board pixels changed by the clicks: $difference"
[ "${difference%%.*}" -gt 1000 ] || fail "the clicks did not turn the board"
brightness=$(mean_brightness "$out_dir/level_before_click.png")
awk -v b="$brightness" 'BEGIN { exit !(b > 0.05) }' || fail "the level is black"

# Holding Escape leaves play and writes the saved game.
xdotool keydown Escape
for _ in $(seq 40); do [ -f "$copy/oldgame.cwm" ] && break; sleep 0.25; done
xdotool keyup Escape
[ -f "$copy/oldgame.cwm" ] || fail "leaving play wrote no saved game"
sleep 2.5
escape_until_exit "$pid" 15
[ "$exit_status" = "0" ] || fail "the game ended with status $exit_status"
echo PASS
