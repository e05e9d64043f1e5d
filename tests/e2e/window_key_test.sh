#!/usr/bin/env bash
# Alt+Enter under a window manager (openbox) on a 1024 x 768 screen, checked by the window
# itself: full screen (the screen's size, in the full-screen state) -> a window of the largest
# whole multiple of 800 x 600 that fits, the menu drawn at its size -> full screen again. The
# window manager's keys stay its own in both: Super+D (show the desktop) hides the game's
# window and brings it back, and the game neither takes the key nor changes anything for it;
# nor for Enter without Alt.
screen_size=1024x768
source "$(dirname "$0")/preamble.sh"
start_window_manager
make_game_copy "$game_dir"
trap 'kill "$window_manager" 2> /dev/null; rm -rf "$copy"' EXIT
shots="$out_dir/window_key"
(cd "$copy" && exec ./cablewright > "${shots}_stdout.txt" 2> "${shots}_stderr.txt") &
pid=$!
wait_for_brightness "${shots}_menu.png" 0.12 30
window=$(xdotool search --name '^Cablewright$' | head -1)
[ -n "$window" ] || fail "the game's window was not found"

# The window as the X server and the window manager have it: "<width>x<height> full|window viewable|hidden".
window_state() {
    local geometry state
    geometry=$(xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 }
        /Map State:/ { m = ($3 == "IsViewable") ? "viewable" : "hidden" } END { print w "x" h, m }')
    state=$(xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN && echo full || echo window)
    echo "${geometry% *} $state ${geometry#* }"
}
# Waits up to 5 s for the window to be in state $1 (a pattern) after what $2 names.
expect_window() {
    for _ in $(seq 50); do
        [[ "$(window_state)" == $1 ]] && return 0
        sleep 0.1
    done
    fail "after $2 the window is \"$(window_state)\", not \"$1\""
}
# In state $1: Enter alone changes nothing (it is the game's, and nothing in the menu); Super+D
# twice hides the window (the window manager drops the full-screen state meanwhile) and brings
# it back as it was, with the keyboard's focus; then Alt+Enter, held for a second: the key
# repeats, the window switches once.
show_desktop_and_back_then_alt_enter() {
    expect_window "$1" "the key before"
    xdotool key Return super+d
    expect_window "${1%% *} * hidden" "Super+D"
    xdotool key super+d
    expect_window "$1" "Super+D again"
    [ "$(xdotool getwindowfocus)" = "$window" ] || fail "the game's window did not get the focus back"
    xdotool keydown alt+Return sleep 1 keyup alt+Return
}

show_desktop_and_back_then_alt_enter "1024x768 full viewable"
expect_window "800x600 window viewable" "Alt+Enter"
# The menu fills the window's width and keeps its shape: 800 x 500 lit between the black bands
# (the bottom band's small links left out).
sleep 0.5
import -window "$window" "${shots}_window.png"
read -r lit_width lit_height < <(convert "${shots}_window.png" -crop 800x550+0+0 +repage -trim -format "%w %h" info:)
[ "$lit_width" = 800 ] && [ "$lit_height" -ge 498 ] && [ "$lit_height" -le 502 ] ||
    fail "the menu in the window is $lit_width x $lit_height, not 800 x 500"
show_desktop_and_back_then_alt_enter "800x600 window viewable"
expect_window "1024x768 full viewable" "Alt+Enter again"
escape_until_exit "$pid" 15
[ "$exit_status" = "0" ] || fail "Escape in the menu gave status $exit_status"
pid=
[ ! -s "${shots}_stderr.txt" ] || fail "the game wrote errors: $(cat "${shots}_stderr.txt")"
echo PASS
