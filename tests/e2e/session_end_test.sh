#!/usr/bin/env bash
# A logout, a shutdown or Ctrl+C while a level is in play: SIGTERM, SIGHUP or SIGINT must
# leave play as Escape does (the saved game and the records written through the usual path)
# and end the program with status 0. The files are removed just before the signal, so what
# is found afterwards was written by leaving; it must equal what Escape would write.
# The first run completes a level (its progress is saved as the next level starts) and gets
# the first signal in the next level: Escape would write what that save wrote, nothing having
# changed since. Each later run continues that saved game and gets its signal at some moment
# of the level: Escape would write the same again.
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

first="$out_dir/session_end_${signals[0]}"
make_game_copy "$game_dir"
for signal in "${signals[@]}"; do
    shots="$out_dir/session_end_$signal"
    if [ "$shots" = "$first" ]; then
        complete_saved_level "$shots"
    else
        "$copy/cablewright" 2> "${shots}_stderr.txt" &
        pid=$!
        continue_saved_game "$shots"
    fi
    rm "$copy/oldgame.cwm" "$copy/oldgame.cws"
    # Some moment of the level: its caption or its first seconds of play.
    sleep "$((RANDOM % 4)).$((RANDOM % 10))"
    kill -"$signal" "$pid"
    wait_for_exit "$pid" 20
    [ "$exit_status" = "0" ] || fail "SIG$signal in play: the game ended with status $exit_status"
    pid=
    cmp "$copy/oldgame.cwm" "${first}_completed.cwm" || fail "SIG$signal: the saved game is not what Escape writes"
    cmp "$copy/oldgame.cws" "${first}_completed.cws" || fail "SIG$signal: the records are not what Escape writes"
    ls "$copy" | grep -q '\.part$' && fail "SIG$signal: a side file was left behind"
    echo "SIG$signal in play: saved game $(progress_values "$copy/oldgame.cwm" | tr '\n' ' ')and records written, status 0"
done
echo PASS
