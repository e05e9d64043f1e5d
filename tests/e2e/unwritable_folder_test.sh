#!/usr/bin/env bash
# Play whose saves cannot be written (the player's folder on a file system mounted read-only):
# leaving play fails, the menu says so in amber across its top band, "Progress not saved:
# <folder> is not writable; the previous file is kept", and the previous files stay byte for
# byte. Once the folder takes files again, the next save works and the line is gone.
# Needs a small tmpfs of its own (root); skipped where the machine does not allow mounting.
source "$(dirname "$0")/preamble.sh"

disk=$(mktemp -d)
size_mb=$(($(stat -c %s "$game_dir/cablewright") / 1048576 + 4))
if ! mount -t tmpfs -o size=${size_mb}m tmpfs "$disk" 2> /dev/null; then
    rmdir "$disk"
    echo "SKIP: cannot mount a tmpfs here"
    exit 77
fi
pid=
release_disk() {
    [ -n "$pid" ] && kill "$pid" 2> /dev/null && wait "$pid" 2> /dev/null
    umount "$disk"
    rmdir "$disk"
}
trap release_disk EXIT

# Amber pixels of the menu's top band in screenshot $1 (the line's glyphs).
amber_in_top_band() {
    convert "$1" -crop 800x50+0+0 +repage -fx '(r > 0.6 && g > 0.35 && g < 0.85 && b < 0.35) ? 1 : 0' \
        -format "%[fx:round(mean * w * h)]" info:
}

# Holds Escape in play until the menu is back and lit; the screenshot goes to $1.
leave_play() {
    xdotool mousemove 700 100 keydown Escape
    sleep 3.5
    xdotool keyup Escape
    wait_for_brightness "$1" 0.12 30
    sleep 1
    import -window root "$1"
}

# The game folder on the disk, its own folder not writable once the disk is read-only, so the
# progress goes to the player's data folder there, which holds earlier progress.
cp "$game_dir/cablewright" "$disk/"
for folder in gfx gfx@2 gfx@3 sfx maps tracks; do ln -s "$game_dir/$folder" "$disk/$folder"; done
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
failed_amber=$(amber_in_top_band "$out_dir/unwritable_menu_failed.png")
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
saved_amber=$(amber_in_top_band "$out_dir/unwritable_menu_saved.png")
echo "amber pixels in the menu's top band after the save that worked: $saved_amber"
[ "$saved_amber" -lt 20 ] || fail "the line stayed after a save that worked"
[ "$(progress_values "$data/oldgame.cwm" | tr '\n' ' ')" = "0 0 0 0 " ] || fail "the saved game was not written"
escape_until_exit "$pid" 15
[ "$exit_status" = "0" ] || fail "the game ended with status $exit_status"
pid=
cat "$out_dir/unwritable_stderr.txt"
echo PASS
