#!/usr/bin/env bash
# From the menu into the first level: the start caption, the board in play, and
# a click on a cell that changes what the cell shows. A named pipe among the tracks, first
# in their order, is left out with a word naming it, and play starts as usual.
source "$(dirname "$0")/preamble.sh"

# A private copy of the game, so the saved game written on leaving stays out of the build,
# with tracks of its own: the game's, and a pipe that no one ever writes to.
make_game_copy "$game_dir" gfx sfx maps
mkdir "$copy/tracks"
for track in "$game_dir"/tracks/*; do ln -s "$track" "$copy/tracks/"; done
mkfifo "$copy/tracks/0-pipe.ogg"

"$copy/cablewright" 2> "$out_dir/new_game_stderr.txt" &
pid=$!
# The menu fades out (about two seconds), then the first level fades in under its start caption.
start_new_game "$out_dir/new_game"
# One click on every cell of the first level's board: every cable piece and device output
# turns a quarter, so the board must look different once the ghosts have faded.
turn_first_level_cells "$out_dir/level" 5
echo "board pixels changed by the clicks: $board_difference"
[ "$board_difference" -gt 1000 ] || fail "the clicks did not turn the board"
brightness=$(mean_brightness "$out_dir/level_before.png")
awk -v b="$brightness" 'BEGIN { exit !(b > 0.05) }' || fail "the level is black"

grep -q "music file tracks/0-pipe.ogg is not a regular file" "$out_dir/new_game_stderr.txt" ||
    fail "no word of the pipe among the tracks"

# Holding Escape leaves play and writes the saved game.
leave_play_and_end "$pid"
echo PASS
