#!/usr/bin/env bash
# The sound device disappearing while the game runs: SDL's disk driver writing into
# /dev/full fails its first block and drops the device. The game plays on in silence:
# the menu, a new game, a turned piece, leaving play and the end all still work.
source "$(dirname "$0")/preamble.sh"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/full

make_game_copy "$game_dir"

"$copy/cablewright" 2> "$out_dir/audio_loss_stderr.txt" &
pid=$!
# The menu fades in once start-up is done; a loaded machine may take a while.
start_new_game "$out_dir/audio_loss"
turn_first_level_cells "$out_dir/audio_loss" 1
[ "$board_difference" -gt 500 ] || fail "the clicks did not turn the board"

leave_play_and_end "$pid"
echo PASS
