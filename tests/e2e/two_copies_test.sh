#!/usr/bin/env bash
# Two copies of the game on one player's folder, as a double click on the menu entry or a second
# start from a terminal makes them. Copy A continues a saved game and completes a level; copy B,
# started meanwhile, shows "Cablewright is already running for this player" on a plate over its
# menu and ends by itself with status 1, leaving the folder byte for byte as it was; A then
# leaves play with all it did saved. Then a copy killed outright (-9) never blocks the next:
# copy C, started after it, plays as usual.
source "$(dirname "$0")/preamble.sh"

# The files of the copy (not its links), with their bytes and times.
folder_state() {
    (cd "$copy" && find . -maxdepth 1 -type f -printf '%f %s %T@ ' -exec md5sum {} \; | sort)
}

make_game_copy "$game_dir"
complete_saved_level "$out_dir/two_copies_A"
a=$pid
before=$(folder_state)

"$copy/cablewright" 2> "$out_dir/two_copies_B_stderr.txt" &
b=$!
started=$SECONDS
wait_for_brightness "$out_dir/two_copies_B_plate.png" 0.12 30
# The plate: a dark band across the middle of the menu with the line on it.
plate=$(convert "$out_dir/two_copies_B_plate.png" -crop 300x30+250+285 -colorspace Gray -format "%[fx:mean] %[fx:maxima]" info:)
echo "plate band (mean, brightest): $plate"
awk -v p="$plate" 'BEGIN { split(p, v, " "); exit !(v[1] < 0.3 && v[2] > 0.8) }' || fail "no plate with its line: $plate"
pid=$b
wait_for_exit "$b" 20
pid=$a
[ "$exit_status" = "1" ] || fail "the second copy ended with status $exit_status"
echo "the second copy ended by itself after $((SECONDS - started)) s with status 1"
grep -q "Cablewright is already running for this player" "$out_dir/two_copies_B_stderr.txt" ||
    fail "the second copy did not say why it ended"
after=$(folder_state)
[ "$before" = "$after" ] || fail "the second copy changed the folder: $(diff <(echo "$before") <(echo "$after"))"
kill -0 "$a" 2> /dev/null || fail "the first copy stopped"

# A leaves play: the level it completed and its best time are kept. The keyboard went with the
# second copy's window; with no window manager to hand it back, the test gives it to A.
for window in $(xdotool search --pid "$a" 2> /dev/null); do xdotool windowfocus "$window" 2> /dev/null; done
xdotool mousemove 700 100 keydown Escape
sleep 3.5
xdotool keyup Escape
wait_for_brightness "$out_dir/two_copies_A_menu.png" 0.12 30
escape_until_exit "$a" 15
[ "$exit_status" = "0" ] || fail "the first copy ended with status $exit_status"
cmp "$copy/oldgame.cwm" "$out_dir/two_copies_A_completed.cwm" || fail "the saved game is not the first copy's"
cmp "$copy/oldgame.cws" "$out_dir/two_copies_A_completed.cws" || fail "the records are not the first copy's"
echo "the first copy left with status 0: saved game $(progress_values "$copy/oldgame.cwm" | tr '\n' ' ')"

# A copy killed outright in its menu; the next start plays.
"$copy/cablewright" 2> "$out_dir/two_copies_killed_stderr.txt" &
pid=$!
wait_for_brightness "$out_dir/two_copies_killed_menu.png" 0.12 30
kill -KILL "$pid"
wait "$pid" 2> /dev/null
"$copy/cablewright" 2> "$out_dir/two_copies_C_stderr.txt" &
pid=$!
wait_for_brightness "$out_dir/two_copies_C_menu.png" 0.12 30
sleep 8  # longer than a refused copy's plate
kill -0 "$pid" 2> /dev/null || fail "the copy started after a killed one ended by itself"
grep -q "already running" "$out_dir/two_copies_C_stderr.txt" && fail "the lock of the killed copy held"
escape_until_exit "$pid" 15
[ "$exit_status" = "0" ] || fail "the copy after the killed one ended with status $exit_status"
echo PASS
