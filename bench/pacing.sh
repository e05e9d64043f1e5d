#!/usr/bin/env bash
# Frame pacing and memory of the real game under Xvfb, as a player meets it: the menu with
# its particles and a glowing button, the help pages, and a 14 x 11 level (continued from a
# saved game) with the shipped music, each for about 600 frames. Prints, per scene, the
# intervals between presented frames (mean, median, p99, early and late ones), then the
# resident and peak resident memory after play with every shipped track switched to.
# Usage: bench/pacing.sh [GAME_DIR] [FRAME_CLOCK_LIBRARY] [RUNS]
# (defaults: the build tree's game and tests/libframe_clock.so, one run)
# FRAME_CLOCK_AT=call times each frame where the game hands it to the present, before the
# X server's share of the work; by default the time is taken when the present returns.
set -u
here=$(cd "$(dirname "$0")" && pwd)
game_dir=$(cd "${1:-$here/../build/game}" && pwd)
frame_clock=$(realpath "${2:-$here/../build/tests/libframe_clock.so}")
runs=${3:-1}
if [ -z "${INSIDE_XVFB:-}" ]; then
    INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 800x600x24" bash "$0" "$game_dir" "$frame_clock" "$runs"
fi
source "$here/../tests/e2e/lib.sh"
export SDL_AUDIODRIVER=dummy

SCENE_SECONDS=10.5     # a little over 600 frames
FIRST_LARGE_LEVEL=45   # the first 14 x 11 level of the shipped map data
now() { date +%s.%N; }

# A private game folder whose saved game continues at the first 14 x 11 level: rank 0,
# level, their sum as the check, and the carried value.
make_copy() {
    copy=$(mktemp -d)
    cp "$game_dir/cablewright" "$game_dir/oldgame.cws" "$copy/"
    for folder in gfx sfx maps tracks; do ln -s "$game_dir/$folder" "$copy/$folder"; done
    python3 -c "import struct, sys; sys.stdout.buffer.write(struct.pack('<4i', 0, $1, $1, 0))" > "$copy/oldgame.cwm"
}

# Notes a scene window of SCENE_SECONDS while $@ runs in the background to keep it lively.
measure_scene() {
    local name=$1 start
    shift
    start=$(now)
    "$@" &
    local driver=$!
    sleep "$SCENE_SECONDS"
    kill "$driver" 2> /dev/null
    wait "$driver" 2> /dev/null
    echo "$name $start $(now)" >> "$copy/scenes.txt"
}

# The pointer wanders over the menu's buttons, lighting their glows.
wander_menu() {
    while true; do
        for y in 200 257 314 371 428; do xdotool mousemove 640 $y; sleep 0.7; done
    done
}
# The pointer rests on the help page.
rest() { xdotool mousemove 700 100; sleep 100; }
# A cell in the middle of the board turns every second, leaving ghosts; the pointer moves
# over the board between clicks, so tips come and go.
play_board() {
    while true; do
        xdotool mousemove 400 290 click 1
        sleep 0.5
        xdotool mousemove 300 200
        sleep 0.5
    done
}

one_run() {
    make_copy "$FIRST_LARGE_LEVEL"
    (cd "$copy" && FRAME_CLOCK_AT=${FRAME_CLOCK_AT:-return} FRAME_CLOCK_FILE=$copy/frames.txt LD_PRELOAD=$frame_clock exec ./cablewright 2> "$copy/stderr.txt") &
    pid=$!
    wait_for_brightness "$copy/shot.png" 0.12 60
    sleep 2.5  # the fade-in ends
    measure_scene menu wander_menu
    xdotool mousemove 650 314 click 1
    sleep 0.5
    measure_scene help rest
    xdotool key Escape
    sleep 1
    xdotool mousemove 650 257 click 1
    sleep 10  # the menu fades out, the level fades in under its caption, the lights fill in
    measure_scene level_14x11 play_board
    # Every shipped track in turn, for the memory peak.
    for _ in 1 2 3; do
        xdotool mousemove 128 584 click 1
        sleep 3
    done
    rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
    hwm=$(awk '/VmHWM/ {print $2}' /proc/$pid/status)
    xdotool mousemove 700 100 keydown Escape
    sleep 3
    xdotool keyup Escape
    sleep 2.5
    escape_until_exit "$pid" 20
    [ "$exit_status" = 0 ] || echo "the game ended with status $exit_status" >&2
    python3 "$here/pacing_stats.py" "$copy/frames.txt" "$copy/scenes.txt"
    echo "memory after play with every shipped track: resident $((rss / 1024)) MB, peak $((hwm / 1024)) MB"
    rm -rf "$copy"
}

for run in $(seq "$runs"); do
    echo "run $run"
    one_run
done
