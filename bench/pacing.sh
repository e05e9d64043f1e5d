#!/usr/bin/env bash
# Frame pacing and memory of the real game under Xvfb, as a player meets it: the menu with
# its particles and a glowing button, the help pages, and a 14 x 11 level (continued from a
# saved game) with the shipped music, each for about 600 frames. Prints, per scene, the
# frames presented per second, the intervals between them (mean, median, p99, early and late
# ones) and the CPU of the game and of the X server (percent of one core), then the resident
# and peak resident memory after play with every shipped track switched to.
# Usage: bench/pacing.sh [--size WxH] [--wm openbox|none] [--display N] [GAME_DIR] [FRAME_CLOCK_LIBRARY] [RUNS]
# (defaults: an 800 x 600 screen without a window manager on a free display, the build
# tree's game and tests/libframe_clock.so, one run). The game opens full screen on an Xvfb
# screen of that size, its 800 x 600 picture letterboxed into it; the pointer is driven to
# where the game's buttons land on that screen, with a window manager or without (the game's
# full-screen window takes the screen's size either way).
# PACING_SHOTS=FOLDER keeps a screenshot of the end of each scene there.
# FRAME_CLOCK_AT=call times each frame where the game hands it to the present, before the
# X server's share of the work; by default the time is taken when the present returns.
set -u
here=$(cd "$(dirname "$0")" && pwd)
size=800x600 wm=none display=
while [[ ${1:-} == --* ]]; do
    case $1 in
        --size) size=$2 ;;
        --wm) wm=$2 ;;
        --display) display=$2 ;;
        *) echo "usage: $0 [--size WxH] [--wm openbox|none] [--display N] [GAME_DIR] [FRAME_CLOCK_LIBRARY] [RUNS]" >&2; exit 2 ;;
    esac
    shift 2
done
game_dir=$(cd "${1:-$here/../build/game}" && pwd)
frame_clock=$(realpath "${2:-$here/../build/tests/libframe_clock.so}")
runs=${3:-1}
source "$here/../tests/e2e/lib.sh"
source "$here/screen.sh"
export SDL_AUDIODRIVER=dummy
screen_width=${size%x*} screen_height=${size#*x}

trap stop_screen EXIT
# The game's window fills the screen, so its buttons lie where at() puts them.
buttons_reachable() { true; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2> /dev/null || echo 0; }

SCENE_SECONDS=10.5     # a little over 600 frames
FIRST_LARGE_LEVEL=45   # the first 14 x 11 level of the shipped map data
now() { date +%s.%N; }

# A private game folder whose saved game continues at the first 14 x 11 level: rank 0,
# level, their sum as the check, and the carried value.
make_copy() {
    copy=$(mktemp -d)
    cp "$game_dir/cablewright" "$game_dir/oldgame.cws" "$copy/"
    for folder in gfx gfx@2 gfx@3 sfx maps tracks; do ln -s "$game_dir/$folder" "$copy/$folder"; done
    python3 -c "import struct, sys; sys.stdout.buffer.write(struct.pack('<4i', 0, $1, $1, 0))" > "$copy/oldgame.cwm"
}

# Notes a scene window of SCENE_SECONDS, with the CPU ticks of the game and of the X server
# in it, while $@ runs in the background to keep it lively.
measure_scene() {
    local name=$1 start game_ticks server_ticks
    shift
    "$@" &
    local driver=$!
    start=$(now) game_ticks=$(cpu_ticks "$pid") server_ticks=$(cpu_ticks "$server")
    sleep "$SCENE_SECONDS"
    echo "$name $start $(now) $(($(cpu_ticks "$pid") - game_ticks)) $(($(cpu_ticks "$server") - server_ticks))" >> "$copy/scenes.txt"
    [ -n "${PACING_SHOTS:-}" ] && import -window root "$PACING_SHOTS/${size}_${wm}_$name.png"
    kill "$driver" 2> /dev/null
    wait "$driver" 2> /dev/null
}

# The pointer rests on the help page.
rest() { point 700 100; sleep 100; }

# Waits up to 60 s for the game to have presented $1 frames.
wait_for_frames() { wait_for_presented_frames "$copy/frames.txt" "$1"; }

one_run() {
    make_copy "$FIRST_LARGE_LEVEL"
    (cd "$copy" && FRAME_CLOCK_AT=${FRAME_CLOCK_AT:-return} FRAME_CLOCK_FILE=$copy/frames.txt LD_PRELOAD=$frame_clock exec ./cablewright 2> "$copy/stderr.txt") &
    pid=$!
    wait_for_frames 130 || { kill "$pid"; return; }  # the fade-in ends
    sleep 0.5
    measure_scene menu wander_menu
    if buttons_reachable; then
        click_at 650 314
        sleep 0.5
        measure_scene help rest
        xdotool key Escape
        sleep 1
        click_at 650 257
        sleep 10  # the menu fades out, the level fades in under its caption, the lights fill in
        measure_scene level_14x11 play_board
        # Every shipped track in turn, for the memory peak.
        for _ in 1 2 3; do
            click_at 128 584
            sleep 3
        done
    fi
    rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
    hwm=$(awk '/VmHWM/ {print $2}' /proc/$pid/status)
    if buttons_reachable; then
        point 700 100
        xdotool keydown Escape
        sleep 3
        xdotool keyup Escape
        sleep 2.5
    fi
    escape_until_exit "$pid" 20
    [ "$exit_status" = 0 ] || echo "the game ended with status $exit_status" >&2
    python3 "$here/pacing_stats.py" "$copy/frames.txt" "$copy/scenes.txt"
    echo "memory at the end: resident $((rss / 1024)) MB, peak $((hwm / 1024)) MB"
    rm -rf "$copy"
}

start_screen "$size" "$wm" "$display"
echo "screen $size, window manager: $wm, display $DISPLAY"
for run in $(seq "$runs"); do
    echo "run $run (load average $(cut -d' ' -f1-3 /proc/loadavg))"
    one_run
done
