#!/usr/bin/env bash
# Root playing the installed game: installed into a scratch prefix, started through its
# launcher with a home of its own, played and left with Escape. The install prefix must hold
# exactly what was installed (root could write there, yet nothing is written), and the
# progress must be in root's data folder.
source "$(dirname "$0")/preamble.sh"
build_dir=$(cd "$game_dir/.." && pwd)

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cmake --install "$build_dir" --prefix "$stage/usr" > /dev/null || fail "cmake --install"
find "$stage/usr" | sort > "$out_dir/installed_before.txt"
touch "$stage/marker"
sleep 1
home="$stage/home"
mkdir -p "$home"
copy=$home/.local/share/cablewright  # where leave_play_and_end looks for the saved game

HOME=$home XDG_DATA_HOME= "$stage/usr/games/cablewright" 2> "$out_dir/installed_stderr.txt" &
pid=$!
start_new_game "$out_dir/installed"
leave_play_and_end "$pid"
find "$stage/usr" | sort > "$out_dir/installed_after.txt"
diff "$out_dir/installed_before.txt" "$out_dir/installed_after.txt" || fail "files appeared under the install prefix"
written=$(find "$stage/usr" -newer "$stage/marker")
[ -z "$written" ] || fail "written under the install prefix: $written"
[ "$(stat -c %s "$copy/oldgame.cwm")" = 16 ] || fail "no saved game in the player's data folder"
[ "$(stat -c %s "$copy/oldgame.cws")" = 312 ] || fail "no records in the player's data folder"
echo "ran as $(id -un); progress in $copy, nothing under $stage/usr"
echo PASS
