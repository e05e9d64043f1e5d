# Sourced by the benchmarks that run the real game: an Xvfb screen and its window manager.

# An Xvfb screen of the size asked for (on the display asked for, else a free one), with the
# window manager asked for ("none" for none).
start_screen() {
    local size=$1 wm=$2 display=${3:-} told
    told=$(mktemp)
    Xvfb ${display:+":$display"} -displayfd 9 -screen 0 "${size}x24" -nolisten tcp 9> "$told" 2> /dev/null &
    server=$!
    for _ in $(seq 100); do [ -s "$told" ] && break; sleep 0.1; done
    [ -s "$told" ] || { echo "Xvfb did not start a $size screen" >&2; exit 1; }
    export DISPLAY=":$(head -n1 "$told")"
    rm -f "$told"
    manager=
    if [ "$wm" != none ]; then
        "$wm" > /dev/null 2>&1 &
        manager=$!
        sleep 1  # it takes the screen over before the game's window is made
    fi
}

# Waited for, so the display is free again for the next run.
stop_screen() {
    [ -n "${manager:-}" ] && kill "$manager" 2> /dev/null
    [ -n "${server:-}" ] && kill "$server" 2> /dev/null && wait "$server" 2> /dev/null
    manager= server=
}

# Waits up to 60 s for the game to have noted $2 presented frames in the file $1 (its lines
# that match $3, or all of them).
wait_for_presented_frames() {
    local file=$1 count=$2 pattern=${3:-^}
    for _ in $(seq 600); do
        [ -f "$file" ] && [ "$(grep -c -- "$pattern" "$file")" -ge "$count" ] && return 0
        sleep 0.1
    done
    echo "the game presented fewer than $count frames in 60 s" >&2
    return 1
}

# The screen position of a point of the game's 800 x 600 picture: scaled to fit the screen of
# $screen_width x $screen_height, aspect kept, centred.
at() {
    awk -v x="$1" -v y="$2" -v w="$screen_width" -v h="$screen_height" 'BEGIN {
        s = w / 800 < h / 600 ? w / 800 : h / 600
        printf "%d %d", int((w - int(800 * s)) / 2 + s * x), int((h - int(600 * s)) / 2 + s * y) }'
}
point() { xdotool mousemove $(at "$1" "$2"); }
click_at() { xdotool mousemove $(at "$1" "$2") click 1; }

# Scene drivers. The pointer wanders over the menu's buttons, lighting their glows.
wander_menu() {
    while true; do
        for y in 200 257 314 371 428; do point 640 $y; sleep 0.7; done
    done
}
# A cell in the middle of the board turns every second, leaving ghosts; the pointer moves
# over the board between clicks, so tips come and go.
play_board() {
    while true; do
        click_at 400 290
        sleep 0.5
        point 300 200
        sleep 0.5
    done
}
