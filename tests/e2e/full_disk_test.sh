#!/usr/bin/env bash
# Play on a full disk: the save of a completed level fails and the game says where and why,
# once for each file, and plays on into the next level; leaving play fails again without
# saying it again; the previous progress files survive byte for byte, no side file is left,
# and the game goes on to the menu and ends normally.
# Needs a small tmpfs of its own (root); skipped where the machine does not allow mounting.
source "$(dirname "$0")/preamble.sh"

disk=$(mktemp -d)
# Room for the program (twice as large in the sanitizer build) and the progress files.
size_mb=$(($(stat -c %s "$game_dir/cablewright") / 1048576 + 4))
if ! mount -t tmpfs -o size=${size_mb}m tmpfs "$disk" 2> /dev/null; then
    rmdir "$disk"
    echo "SKIP: cannot mount a tmpfs here"
    exit 77
fi
# A failed check may leave the game running from the disk, which would keep it mounted.
pid=
release_disk() {
    [ -n "$pid" ] && kill "$pid" 2> /dev/null && wait "$pid" 2> /dev/null
    umount "$disk"
    rmdir "$disk"
}
trap release_disk EXIT

# The game folder on the small disk, with earlier progress in it.
cp "$game_dir/cablewright" "$disk/"
for folder in gfx gfx@2 gfx@3 sfx maps tracks; do ln -s "$game_dir/$folder" "$disk/$folder"; done
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
amber=$(convert "$out_dir/full_disk_play_line.png" -crop 400x20+400+0 +repage \
    -fx '(r > 0.6 && g > 0.35 && g < 0.85 && b < 0.35) ? 1 : 0' -format "%[fx:round(mean * w * h)]" info:)
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
