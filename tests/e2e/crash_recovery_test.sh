#!/usr/bin/env bash
# A crash or kill -9 after a completed level: the game completes a level, plays on for a
# moment, and is killed outright. A new run must continue from the next level, with the
# best time of the completed level kept: leaving the continued game with Escape writes that
# level back, and the records still hold the best time.
source "$(dirname "$0")/preamble.sh"

shots="$out_dir/crash_recovery"
make_game_copy "$game_dir"
complete_saved_level "$shots"
# Some moment of the next level: its caption or its first seconds of play.
sleep "$((RANDOM % 4)).$((RANDOM % 10))"
kill -KILL "$pid"
wait "$pid" 2> /dev/null
pid=
cmp "$copy/oldgame.cwm" "${shots}_completed.cwm" || fail "the kill changed the saved game"
cmp "$copy/oldgame.cws" "${shots}_completed.cws" || fail "the kill changed the records"

# The next run: Continue, then Escape at once.
"$copy/cablewright" 2> "${shots}_next_stderr.txt" &
pid=$!
continue_saved_game "${shots}_next"
leave_play_and_end "$pid"
next_level=$((solvable_level + 1))
[ "$(progress_values "$copy/oldgame.cwm" | tr '\n' ' ')" = "3 $next_level $((3 + next_level)) 42 " ] ||
    fail "the next run did not continue from level $next_level: $(progress_values "$copy/oldgame.cwm" | tr '\n' ' ')"
cmp "$copy/oldgame.cws" "${shots}_completed.cws" || fail "the next run lost the best time"
ls "$copy" | grep -q '\.part$' && fail "a side file was left behind"
echo "killed in play after level $solvable_level: the next run continued from level $next_level" \
    "with the best time $(progress_values "$copy/oldgame.cws" | sed -n "$next_level"p) kept"
echo PASS
