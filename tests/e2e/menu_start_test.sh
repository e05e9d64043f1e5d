#!/usr/bin/env bash
# With a picture missing the game stops with status 255 and names the file. (That it starts,
# fades its menu in and ends with status 0 on Escape, every other check sees.)
source "$(dirname "$0")/preamble.sh"

# A copy of the game without its pointer picture.
broken=$(mktemp -d)
trap 'rm -rf "$broken"' EXIT
cp "$game_dir/cablewright" "$broken/"
cp -r "$game_dir/gfx" "$broken/gfx"
for folder in sfx maps tracks; do ln -s "$game_dir/$folder" "$broken/$folder"; done
cp "$game_dir/oldgame.cws" "$broken/" 2>/dev/null
rm "$broken/gfx/pointer.spr"
# exec: $pid is the game itself, so a hung one is ended with the check.
(cd /tmp && exec "$broken/cablewright" 2> "$out_dir/broken_stderr.txt") &
pid=$!
wait_for_exit "$pid" 20
[ "$exit_status" = "255" ] || fail "a missing picture gave status $exit_status"
grep -q "gfx/pointer.spr" "$out_dir/broken_stderr.txt" || fail "the message does not name the file: $(cat "$out_dir/broken_stderr.txt")"
echo "PASS"
