#!/usr/bin/env bash
# Play whose saves cannot be written (the player's folder on a file system mounted read-only):
# leaving play fails, the menu says so in amber across its top band, "Progress not saved:
# <folder> is not writable; the previous file is kept", and the previous files stay byte for
# byte. Once the folder takes files again, the next save works and the line is gone.
# Needs a small tmpfs of its own (root); skipped where the machine does not allow mounting.
source "$(dirname "$0")/preamble.sh"

game_on_small_disk

# Holds Escape in play until the menu is back and lit; the screenshot goes to $1.
leave_play() {
    xdotool mousemove 700 100 keydown Escape
    sleep 3.5
    xdotool keyup Escape
    wait_for_brightness "$1" 0.12 30
    sleep 1
    import -window root "$1"
}

# The game folder on the disk: its own folder not writable once the disk is read-only, so the
# progress goes to the player's data folder there, which holds earlier progress.
data="$disk/data/cablewright"
mkdir -p "$data"
write_values "$data/oldgame.cwm" 3 "$solvable_level" $((3 + solvable_level)) 42
cp "$game_dir/oldgame.cws" "$data/oldgame.cws"
cp "$data/oldgame.cwm" "$out_dir/unwritable_before.cwm"
cp "$data/oldgame.cws" "$out_dir/unwritable_before.cws"
mount -o remount,ro "$disk" || fail "cannot make the disk read-only"

XDG_DATA_HOME="$disk/data" "$disk/cablewright" 2> "$out_dir/unwritable_stderr.txt" &
pid=$!
start_new_game "$out_dir/unwritable"
leave_play "$out_dir/unwritable_menu_failed.png"
failed_amber=$(amber_pixels "$out_dir/unwritable_menu_failed.png" 800x50+0+0)
echo "amber pixels in the menu's top band after the failed save: $failed_amber"
[ "$failed_amber" -gt 150 ] || fail "no line in the menu's top band"
cmp "$data/oldgame.cwm" "$out_dir/unwritable_before.cwm" || fail "the saved game changed"
cmp "$data/oldgame.cws" "$out_dir/unwritable_before.cws" || fail "the records changed"
grep -q "could not save $data/oldgame.cwm (Read-only file system); the previous file is kept" \
    "$out_dir/unwritable_stderr.txt" || fail "no message on standard error"

# The player makes the folder writable again and plays once more.
mount -o remount,rw "$disk" || fail "cannot make the disk writable again"
start_new_game "$out_dir/unwritable_again"
leave_play "$out_dir/unwritable_menu_saved.png"
saved_amber=$(amber_pixels "$out_dir/unwritable_menu_saved.png" 800x50+0+0)
echo "amber pixels in the menu's top band after the save that worked: $saved_amber"
[ "$saved_amber" -lt 20 ] || fail "the line stayed after a save that worked"
[ "$(progress_values "$data/oldgame.cwm" | tr '\n' ' ')" = "0 0 0 0 " ] || fail "the saved game was not written"
escape_until_exit "$pid" 15
[ "$exit_status" = "0" ] || fail "the game ended with status $exit_status"
pid=
cat "$out_dir/unwritable_stderr.txt"
echo PASS
