#!/usr/bin/env bash
# A level solved with a game pad alone: SDL's virtual joystick, preloaded into the real game
# and played by a script (see sdl_virtual_pad.cpp), under a window manager, which gives the
# game the focus that pad events need. The pad is plugged in at the menu, Start continues the
# saved game, the d-pad steps the pointer from cell to cell and A turns the pieces; halfway
# the pad is pulled out and plugged in again. The completed level is saved, B leaves play
# and then the game.
virtual_pad=${VIRTUAL_PAD_LIBRARY:-}  # the suite names it
source "$(dirname "$0")/preamble.sh"
[ -n "$virtual_pad" ] || fail "no virtual pad library given in VIRTUAL_PAD_LIBRARY"
start_window_manager
make_game_copy "$game_dir"
shots="$out_dir/game_pad"
script="${shots}_script.txt"
log="${shots}_log.txt"
: > "$script"
: > "$log"

# Lines for the pad, carried out one per frame; `said WORD` waits until the pad has got
# through every line before the matching "say WORD".
said_count=0
pad() { printf '%s\n' "$@" >> "$script"; }
pad_and_wait() {
    said_count=$((said_count + 1))
    pad "$@" "say mark$said_count"
    wait_for_line "$log" "^mark$said_count\$" 60
}
tap() { pad "press $1" "release $1"; }
repeat_tap() {
    local count=$1 button=$2 i
    for ((i = 0; i < count; ++i)); do tap "$button"; done
}

write_values "$copy/oldgame.cwm" 3 "$solvable_level" $((3 + solvable_level)) 42
VIRTUAL_PAD_SCRIPT=$script VIRTUAL_PAD_LOG=$log LD_PRELOAD="$virtual_pad${LD_PRELOAD:+ $LD_PRELOAD}" \
    "$copy/cablewright" > "${shots}_stdout.txt" 2> "${shots}_stderr.txt" &
pid=$!
wait_for_brightness "${shots}_menu.png" 0.12 30

echo "# the pad plugged in at the menu, and Start: the saved game continues"
pad_and_wait plug
wait_for_line "${shots}_stdout.txt" "game pad connected: Virtual end-to-end pad" 10
pad_and_wait "press start" "wait 3" "release start"
menu_left "${shots}_menu_left.png" 10 || fail "Start did not lead out of the menu"
wait_for_brightness "${shots}_caption.png" 0.05 30
sleep 4.5  # the start caption

# The pointer pushed into the top-left corner, then a step right and one down: the centre of
# the cell at (40, 60) of the squares every board lies on, left of and above the board.
home_x=40
home_y=60
pad_and_wait "stick -32768 -32768" "wait 90" "stick 0 0" "wait 2"
tap dpright
tap dpdown
pointer_x=$home_x
pointer_y=$home_y
pad_and_wait

# Clicks at the cell centres given, one line "x y" each, by the d-pad and A.
click_cells() {
    local x y columns rows
    while read -r x y; do
        columns=$(((x - pointer_x) / 48))
        rows=$(((y - pointer_y) / 48))
        if [ "$columns" -ge 0 ]; then repeat_tap "$columns" dpright; else repeat_tap $((-columns)) dpleft; fi
        if [ "$rows" -ge 0 ]; then repeat_tap "$rows" dpdown; else repeat_tap $((-rows)) dpup; fi
        pointer_x=$x
        pointer_y=$y
        tap a
    done
}

# Back to the home cell, off the board, so the screenshot shows every cell.
go_home() {
    repeat_tap $(((pointer_x - home_x) / 48)) dpleft
    repeat_tap $(((pointer_y - home_y) / 48)) dpup
    pointer_x=$home_x
    pointer_y=$home_y
    pad_and_wait
    sleep 1.5  # the rotation ghosts fade
}

echo "# the level solved with the pad, pulled out and plugged in again halfway"
replugged=no
for try in 1 2 3 4 5 6; do
    import -window root "${shots}_board_${try}.png"
    if ! clicks=$("$board_reader" "$game_dir" "${shots}_board_${try}.png" "$solvable_level" 2> "${shots}_board_${try}.txt"); then
        [ "$try" -gt 1 ] && break  # the completed level fades out
        fail "the board was not read: $(cat "${shots}_board_${try}.txt")"
    fi
    [ -z "$clicks" ] && break
    count=$(wc -l <<< "$clicks")
    echo "try $try: $count clicks"
    if [ "$replugged" = no ]; then
        click_cells <<< "$(head -n $((count / 2)) <<< "$clicks")"
        pad_and_wait unplug "wait 10"
        wait_for_line "${shots}_stdout.txt" "game pad disconnected" 10
        pad_and_wait plug "wait 10"
        [ "$(grep -c "game pad connected" "${shots}_stdout.txt")" = 2 ] || fail "the pad was not taken in again"
        replugged=yes
        click_cells <<< "$(tail -n +$((count / 2 + 1)) <<< "$clicks")"
    else
        click_cells <<< "$clicks"
    fi
    go_home
done
[ "$replugged" = yes ] || fail "the level needed no clicks"
wait_for_saved_level "$copy/oldgame.cwm" $((solvable_level + 1)) 30
echo "the level solved with the pad was saved: $(progress_values "$copy/oldgame.cwm" | tr '\n' ' ')"

echo "# B held leaves play, pressed again in the menu it ends the game"
touch "${shots}_before_leaving"
sleep 1
pad "press b"
for _ in $(seq 60); do [ "$copy/oldgame.cwm" -nt "${shots}_before_leaving" ] && break; sleep 0.25; done
[ "$copy/oldgame.cwm" -nt "${shots}_before_leaving" ] || fail "holding B did not leave play"
pad "release b"
# The menu takes Escape once it has faded in; the game ends before the pad's next line.
sleep 3
for _ in $(seq 20); do
    kill -0 "$pid" 2> /dev/null || break
    pad "press b" "wait 2" "release b" "wait 30"
    sleep 1
done
wait_for_exit "$pid" 5
[ "$exit_status" = 0 ] || fail "the game ended with status $exit_status"
cat "${shots}_stderr.txt"
echo PASS
