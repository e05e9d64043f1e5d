#!/usr/bin/env bash
# The sound device disappearing while the game runs: SDL's disk driver writing into
# /dev/full fails its first block and drops the device. The game plays on in silence:
# the menu, a new game, a turned piece, leaving play and the end all still work.
set -u
game_dir=$1
out_dir=$2
mkdir -p "$out_dir"
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${INSIDE_XVFB:-}" ]; then
    INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 800x600x24" bash "$0" "$@"
fi
source "$here/lib.sh"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/full

copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cp "$game_dir/cablewright" "$game_dir/oldgame.cws" "$copy/"
for folder in gfx sfx maps tracks; do ln -s "$game_dir/$folder" "$copy/$folder"; done

"$copy/cablewright" 2> "$out_dir/audio_loss_stderr.txt" &
pid=$!
# The menu fades in once start-up is done; a loaded machine may take a while.
start_new_game "$out_dir/audio_loss"
xdotool mousemove 700 100
sleep 0.5
import -window root "$out_dir/audio_loss_before.png"
for column in 0 1 2 3; do
    xdotool mousemove $((304 + 48 * column + 24)) $((180 + 24)) click 1
    sleep 0.1
done
xdotool mousemove 700 100
sleep 1.5
import -window root "$out_dir/audio_loss_after.png"
convert "$out_dir/audio_loss_before.png" -crop 192x240+304+180 "$out_dir/audio_loss_board_before.png"
convert "$out_dir/audio_loss_after.png" -crop 192x240+304+180 "$out_dir/audio_loss_board_after.png"
difference=$(compare -metric AE -fuzz 10% "$out_dir/audio_loss_board_before.png" \
    "$out_dir/audio_loss_board_after.png" null: 2>&1)
[ "${difference%%.*}" -gt 500 ] || fail "the clicks did not turn the board"

xdotool keydown Escape
for _ in $(seq 40); do [ -f "$copy/oldgame.cwm" ] && break; sleep 0.25; done
xdotool keyup Escape
[ -f "$copy/oldgame.cwm" ] || fail "leaving play wrote no saved game"
sleep 2.5
escape_until_exit "$pid" 15
[ "$exit_status" = "0" ] || fail "the game ended with status $exit_status"
echo PASS
