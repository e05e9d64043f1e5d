#!/usr/bin/env bash
# A request to end the program in the menu, the help pages or the credits ends it as the
# menu's Escape does: at once, with status 0, writing nothing (the records are the very
# file they were). Each argument after the usual five is a request and a screen, such as
# TERM:menu, HUP:help, INT:credits or close:menu (the window manager's close); by default
# one of each request, each on another screen.
set -u
game_dir=$1
out_dir=$2
shift 5
cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=(TERM:menu HUP:help INT:credits close:menu)
mkdir -p "$out_dir"
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
inside_xvfb "$0" "$game_dir" "$out_dir" x x x "${cases[@]}"
export SDL_AUDIODRIVER=dummy

window_manager=
for case in "${cases[@]}"; do
    request=${case%%:*}
    screen=${case#*:}
    shots="$out_dir/quit_in_${screen}_$request"
    if [ "$request" = close ] && [ -z "$window_manager" ]; then
        start_window_manager
        trap 'kill "$window_manager" 2> /dev/null' EXIT
    fi
    make_game_copy "$game_dir"
    [ -n "$window_manager" ] && trap 'kill "$window_manager" 2> /dev/null; rm -rf "$copy"' EXIT
    records_inode=$(stat -c %i "$copy/oldgame.cws")
    "$copy/cablewright" 2> "${shots}_stderr.txt" &
    pid=$!
    wait_for_brightness "${shots}_menu.png" 0.12 30
    case $screen in
        menu) ;;
        help) xdotool mousemove 650 314 sleep 0.3 click 1 ;;      # the help pages, over the menu
        credits) xdotool mousemove 650 371 sleep 0.3 click 1 ;;   # the menu fades out, the credits in
        *) fail "no screen $screen" ;;
    esac
    [ "$screen" = credits ] && sleep 4.5 || sleep 1
    import -window root "${shots}_screen.png"
    if [ "$request" = close ]; then
        window=$(wmctrl -l | awk '/Cablewright/ { print $1; exit }')
        [ -n "$window" ] || fail "the window manager does not list the game's window"
        wmctrl -i -c "$window"
    else
        kill -"$request" "$pid"
    fi
    wait_for_exit "$pid" 10
    [ "$exit_status" = "0" ] || fail "$request in the $screen: the game ended with status $exit_status"
    pid=
    [ -e "$copy/oldgame.cwm" ] && fail "$request in the $screen: a saved game was written"
    [ "$(stat -c %i "$copy/oldgame.cws")" = "$records_inode" ] || fail "$request in the $screen: the records were written"
    cmp -s "$copy/oldgame.cws" "$game_dir/oldgame.cws" || fail "$request in the $screen: the records changed"
    echo "$request in the $screen: nothing written, status 0"
    rm -rf "$copy"
done
echo PASS
