#!/usr/bin/env bash
# The window's close button while a level is in play: under a window manager (openbox) the
# game completes a level, is switched to a window with Alt+Enter, and the window is closed
# the way its close button does it (the window manager asks the game to close it). The game
# must leave play as Escape does, saving both files, and end with status 0.
source "$(dirname "$0")/preamble.sh"
start_window_manager
trap 'kill "$window_manager" 2> /dev/null' EXIT
shots="$out_dir/window_close"
make_game_copy "$game_dir"
trap 'kill "$window_manager" 2> /dev/null; rm -rf "$copy"' EXIT
complete_saved_level "$shots"
rm "$copy/oldgame.cwm" "$copy/oldgame.cws"

# Alt+Enter makes a window of the full screen; the window manager frames it.
window=
for _ in $(seq 20); do
    window=$(wmctrl -l | awk '/Cablewright/ { print $1; exit }')
    [ -n "$window" ] && break
    sleep 0.25
done
[ -n "$window" ] || fail "the window manager does not list the game's window"
xdotool key alt+Return
sleep 1
import -window root "${shots}_windowed.png"
wmctrl -l -G | grep Cablewright
# What the close button does: the window manager asks the game to close its window.
wmctrl -i -c "$window"
wait_for_exit "$pid" 20
[ "$exit_status" = "0" ] || fail "closing the window in play: the game ended with status $exit_status"
pid=
cmp "$copy/oldgame.cwm" "${shots}_completed.cwm" || fail "the saved game is not what Escape writes"
cmp "$copy/oldgame.cws" "${shots}_completed.cws" || fail "the records are not what Escape writes"
echo "window closed in play: saved game $(progress_values "$copy/oldgame.cwm" | tr '\n' ' ')and records written, status 0"
echo PASS
