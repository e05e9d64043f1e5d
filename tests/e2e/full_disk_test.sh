#!/usr/bin/env bash
# Play on a full disk: the save of a completed level fails and the game says where and why,
# once for each file, and plays on into the next level; leaving play fails again without
# saying it again; the previous progress files survive byte for byte, no side file is left,
# and the game goes on to the menu and ends normally.
# Needs a small tmpfs of its own (root); skipped where the machine does not allow mounting.
source "$(dirname "$0")/preamble.sh"

# The game folder on a small disk of its own, with earlier progress in it.
game_on_small_disk
write_values "$disk/oldgame.cwm" 3 "$solvable_level" $((3 + solvable_level)) 42
head -c 312 /dev/urandom > "$disk/oldgame.cws"
cp "$disk/oldgame.cwm" "$out_dir/full_disk_before.cwm"
cp "$disk/oldgame.cws" "$out_dir/full_disk_before.cws"
# Then the disk fills up.
dd if=/dev/zero of="$disk/filler" bs=4k 2> /dev/null
df -h "$disk" | tail -1

"$disk/cablewright" 2> "$out_dir/full_disk_stderr.txt" &
pid=$!
continue_saved_game "$out_dir/full_disk"
solve_level "$solvable_level" "$out_dir/full_disk"
# The completed level's save fails on the full disk; play goes on into the next level.
wait_for_line "$out_dir/full_disk_stderr.txt" "could not save .*oldgame.cws" 30
wait_for_brightness "$out_dir/full_disk_next_level.png" 0.05 15
kill -0 "$pid" 2> /dev/null || fail "the game stopped on the failed save"
# Play says so at its top right, in amber, above the board.
sleep 0.5
import -window root "$out_dir/full_disk_play_line.png"
amber=$(amber_pixels "$out_dir/full_disk_play_line.png" 400x20+400+0)
echo "amber pixels at the top right of play after the failed save: $amber"
[ "$amber" -gt 100 ] || fail "play does not show the failed save"
# Holding Escape leaves play, which saves both files again: they fail again, unsaid.
xdotool keydown Escape
sleep 3.5
xdotool keyup Escape
wait_for_brightness "$out_dir/full_disk_menu_again.png" 0.12 30
kill -0 "$pid" 2> /dev/null || fail "the game stopped on the failed save"
escape_until_exit "$pid" 15
cat "$out_dir/full_disk_stderr.txt"
[ "$exit_status" = "0" ] || fail "the game ended with status $exit_status"
cmp "$disk/oldgame.cwm" "$out_dir/full_disk_before.cwm" || fail "the saved game changed"
cmp "$disk/oldgame.cws" "$out_dir/full_disk_before.cws" || fail "the records changed"
ls "$disk" | grep -q '\.part$' && fail "a side file was left on the disk"
[ "$(grep -c "could not save $disk/oldgame.cwm (No space left on device)" "$out_dir/full_disk_stderr.txt")" = 1 ] ||
    fail "not one message naming the saved game and the full disk"
[ "$(grep -c "could not save $disk/oldgame.cws (No space left on device)" "$out_dir/full_disk_stderr.txt")" = 1 ] ||
    fail "not one message naming the records and the full disk"
echo PASS
