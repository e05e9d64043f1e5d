#!/usr/bin/env bash
# A logout's second SIGTERM while the game is saving as it leaves play: the save goes on, both
# files are written whole, and the program ends with status 0 right after it, never with the
# signal's own status (143). The disk is made slow (tests/e2e/slow_sync.cpp: every sync takes
# 300 ms longer) so that the second signal, sent 0.1 to 0.4 s after the first, lands during the
# save. 20 runs; each starts a new game, gets the first signal in play and the second a moment
# later. The files are removed before the first signal, so what is found was written by leaving.
source "$(dirname "$0")/preamble.sh"
slow_sync=${SLOW_SYNC_LIBRARY:?the slow sync library (tests/e2e/slow_sync.cpp)}
runs=${SECOND_SIGNAL_RUNS:-20}

make_game_copy "$game_dir"
cp "$copy/oldgame.cws" "$out_dir/second_signal_records.cws"
during=0
for ((run = 1; run <= runs; ++run)); do
    shots="$out_dir/second_signal_$run"
    syncs="${shots}_syncs.txt"
    (cd "$copy" && SLOW_SYNC_FILE=$syncs LD_PRELOAD="$slow_sync${LD_PRELOAD:+ $LD_PRELOAD}" \
        exec ./cablewright 2> "${shots}_stderr.txt") &
    pid=$!
    wait_for_brightness "${shots}_menu.png" 0.12 30
    xdotool mousemove 650 200
    sleep 0.3
    xdotool click 1
    menu_left "${shots}_menu_left.png" 10 || fail "run $run: the menu never faded out"
    sleep 1  # surely in play: a signal in the menu ends the game without a save
    rm -f "$copy/oldgame.cwm" "$copy/oldgame.cws"
    kill -TERM "$pid"
    sleep "0.$((1 + RANDOM % 4))"
    second=$(date +%s.%N)
    kill -TERM "$pid" 2> /dev/null || echo "run $run: the game had already ended at the second signal"
    wait_for_exit "$pid" 20
    [ "$exit_status" = "0" ] || fail "run $run: the game ended with status $exit_status"
    pid=
    [ "$(progress_values "$copy/oldgame.cwm" | tr '\n' ' ')" = "0 0 0 0 " ] ||
        fail "run $run: the saved game is not whole: $(od -An -tx1 "$copy/oldgame.cwm" 2>&1)"
    cmp "$copy/oldgame.cws" "$out_dir/second_signal_records.cws" || fail "run $run: the records are not whole"
    ls "$copy" | grep -q '\.part$' && fail "run $run: a side file was left behind"
    # Whether the second signal came while a sync was under way.
    if awk -v at="$second" '$1 == "start" { s = $2 } $1 == "end" && s != "" && at >= s && at <= $2 { hit = 1 }
                            END { exit !hit }' "$syncs"; then
        during=$((during + 1))
    fi
    echo "run $run: status 0, both files whole; second signal at $second, $(grep -c start "$syncs") syncs"
done
echo "the second signal came during a sync of the save in $during of $runs runs"
[ "$during" -ge $((runs / 2)) ] || fail "too few second signals came during the save to tell"
echo PASS
