#!/usr/bin/env bash
# The X server going away under the game (a logout, a crashed desktop) while a level is in
# play: instead of Xlib's exit(1), the game must leave play as Escape does, saving both
# files, and end with status 0. Runs its own Xvfb, which it ends.
set -u
game_dir=$1
out_dir=$2
mkdir -p "$out_dir"
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
export SDL_AUDIODRIVER=dummy

displays=$(mktemp)
Xvfb -displayfd 3 -screen 0 800x600x24 3> "$displays" 2> /dev/null &
server=$!
for _ in $(seq 50); do [ -s "$displays" ] && break; sleep 0.1; done
[ -s "$displays" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$displays")"
make_game_copy "$game_dir"
trap 'kill "$server" 2> /dev/null; rm -rf "$copy" "$displays"' EXIT

"$copy/cablewright" 2> "$out_dir/display_loss_stderr.txt" &
pid=$!
start_new_game "$out_dir/display_loss"
kill "$server"
wait "$server" 2> /dev/null
wait_for_exit "$pid" 20
cat "$out_dir/display_loss_stderr.txt"
[ "$exit_status" = "0" ] || fail "the display went in play: the game ended with status $exit_status"
pid=
[ "$(progress_values "$copy/oldgame.cwm" | tr '\n' ' ')" = "0 0 0 0 " ] || fail "no saved game of the first level"
cmp "$copy/oldgame.cws" "$game_dir/oldgame.cws" || fail "the records are not what Escape writes"
echo PASS
