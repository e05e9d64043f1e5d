#!/usr/bin/env bash
# A logout, a shutdown or Ctrl+C while a level is in play: the game completes a level (its
# progress is saved as the next level starts), goes on playing, and is sent SIGTERM, SIGHUP
# or SIGINT. It must leave play as Escape does (the saved game and the records written
# through the usual path) and end with status 0. The files are removed before the signal, so
# what is found afterwards was written by leaving; it must equal what the completed level
# saved, which is what Escape would write at that moment (nothing has changed since).
# Arguments after the usual four: the board reader, then the signals (default all three).
set -u
game_dir=$1
out_dir=$2
board_reader=$5
shift 5
signals=("$@")
[ ${#signals[@]} -gt 0 ] || signals=(TERM HUP INT)
mkdir -p "$out_dir"
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
inside_xvfb "$0" "$game_dir" "$out_dir" "${3:-}" "${4:-}" "$board_reader" "${signals[@]}"
export SDL_AUDIODRIVER=dummy

for signal in "${signals[@]}"; do
    shots="$out_dir/session_end_$signal"
    make_game_copy "$game_dir"
    complete_saved_level "$shots"
    rm "$copy/oldgame.cwm" "$copy/oldgame.cws"
    # Some moment of the next level: its caption or its first seconds of play.
    sleep "$((RANDOM % 4)).$((RANDOM % 10))"
    kill -"$signal" "$pid"
    wait_for_exit "$pid" 20
    [ "$exit_status" = "0" ] || fail "SIG$signal in play: the game ended with status $exit_status"
    pid=
    cmp "$copy/oldgame.cwm" "${shots}_completed.cwm" || fail "SIG$signal: the saved game is not what Escape writes"
    cmp "$copy/oldgame.cws" "${shots}_completed.cws" || fail "SIG$signal: the records are not what Escape writes"
    ls "$copy" | grep -q '\.part$' && fail "SIG$signal: a side file was left behind"
    echo "SIG$signal in play: saved game $(progress_values "$copy/oldgame.cwm" | tr '\n' ' ')and records written, status 0"
    rm -rf "$copy"
done
echo PASS
