#!/usr/bin/env bash
# Hitches of the real game told apart from the machine's: the game runs under Xvfb (with a
# window manager or without) beside a do-nothing loop that only sleeps to 60 Hz, and for each
# scene the benchmark counts the game's present intervals over 25 ms, the loop's wake-ups late
# by more than 8.3 ms and its intervals over 25 ms, and says for every late frame of the game
# whether its own work (drawing and composing, or the copy to the X server) or a late wake-up
# made it late. Screen changes (help opened, a level started, back to the menu) report their
# longest interval; the level its frames per second; each session the scale changes the game
# printed and its peak memory.
#
# Usage: bench/hitches.sh [--sizes 800x600,1920x1080,...] [--wm openbox|none|both] [--runs N]
#                         [--seconds S] [--busy N] [--game NAME=GAME_DIR]... [--keep DIR]
#   --game     a build to measure (repeatable; default: this tree's build/game as "game");
#              several builds run one after the other within each run, on the same screen
#   --seconds  length of the steady menu and the steady level (default 20)
#   --busy     N processes that only spin, at normal priority, for the whole benchmark
#   --keep     keeps each session's raw files in DIR
# Needs Xvfb, xdotool, openbox (for --wm openbox) and the build tree's libpresent_meter.so
# and bench_idle_loop.
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$here/../build
sizes=800x600 wms=none runs=1 seconds=20 busy=0 keep= games=()
while [[ ${1:-} == --* ]]; do
    case $1 in
        --sizes) sizes=$2 ;;
        --wm) wms=$2 ;;
        --runs) runs=$2 ;;
        --seconds) seconds=$2 ;;
        --busy) busy=$2 ;;
        --game) games+=("$2") ;;
        --keep) keep=$2 ;;
        *) sed -n '12,22p' "$0" >&2; exit 2 ;;
    esac
    shift 2
done
[ ${#games[@]} -gt 0 ] || games=("game=$build/game")
[ "$wms" = both ] && wms="none openbox"
meter=$(realpath "$build/bench/libpresent_meter.so")
idle_loop=$(realpath "$build/bench/bench_idle_loop")
source "$here/../tests/e2e/lib.sh"
source "$here/screen.sh"
export SDL_AUDIODRIVER=dummy
work=$(mktemp -d)
[ -n "$keep" ] && mkdir -p "$keep"

FIRST_LARGE_LEVEL=45  # the first 14 x 11 level of the shipped map data
now() { "$idle_loop" now; }

busy_pids=()
stop_all() {
    [ -n "${manager:-}" ] && kill "$manager" 2> /dev/null
    [ -n "${server:-}" ] && kill "$server" 2> /dev/null && wait "$server" 2> /dev/null
    for busy_pid in "${busy_pids[@]}"; do kill "$busy_pid" 2> /dev/null; done
    rm -rf "$work"
}
trap stop_all EXIT
for _ in $(seq "$busy"); do
    bash -c 'while :; do :; done' &
    busy_pids+=($!)
done


# A private game folder whose saved game continues at the first 14 x 11 level.
make_copy() {
    local game_dir=$1
    copy=$(mktemp -d -p "$work")
    cp "$game_dir/cablewright" "$game_dir/oldgame.cws" "$copy/"
    for folder in gfx gfx@2 gfx@3 sfx maps tracks; do ln -s "$game_dir/$folder" "$copy/$folder"; done
    python3 -c "import struct, sys; sys.stdout.buffer.write(struct.pack('<4i', 0, $FIRST_LARGE_LEVEL, $FIRST_LARGE_LEVEL, 0))" > "$copy/oldgame.cwm"
}

# Notes a scene from now until $2 seconds later, while $3.. runs in the background.
scene() {
    local name=$1 length=$2 start
    shift 2
    "$@" &
    local driver=$!
    start=$(now)
    sleep "$length"
    echo "$name $start $(now)" >> "$copy/scenes.txt"
    kill "$driver" 2> /dev/null
    wait "$driver" 2> /dev/null
}
click_then_rest() { click_at "$1" "$2"; point 700 100; sleep 100; }
hold_escape() { point 700 100; xdotool keydown Escape; sleep 2.5; xdotool keyup Escape; sleep 100; }
idle() { sleep 100; }

wait_for_frames() { wait_for_presented_frames "$copy/meter.txt" "$1" '^F'; }

# One session of one build: steady menu, help opened, a level started from the menu, the
# steady level, back to the menu.
one_session() {
    local name=$1 game_dir=$2 label=$3
    make_copy "$game_dir"
    "$idle_loop" "$copy/idle.txt" 3600 &
    local idle_pid=$!
    (cd "$copy" && PRESENT_METER_FILE=$copy/meter.txt LD_PRELOAD=$meter exec ./cablewright > "$copy/stdout.txt" 2> "$copy/stderr.txt") &
    pid=$!
    if wait_for_frames 130; then
        sleep 0.5
        scene menu "$seconds" wander_menu
        scene help_opens 2 click_then_rest 650 314
        xdotool key Escape
        sleep 1
        scene level_starts 6 click_then_rest 650 257
        sleep 4  # the falling lights fill in
        scene level "$seconds" play_board
        scene back_to_menu 6 hold_escape
    fi
    local hwm
    hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status" 2> /dev/null)
    escape_until_exit "$pid" 20
    [ "$exit_status" = 0 ] || echo "$label: the game ended with status $exit_status" >&2
    kill "$idle_pid" 2> /dev/null
    wait "$idle_pid" 2> /dev/null
    echo "${hwm:-0}" > "$copy/peak_kb.txt"
    python3 "$here/hitches_stats.py" session "$label" "$copy" >> "$work/sessions.txt"
    if [ -n "$keep" ]; then
        mkdir -p "$keep/$label"
        cp "$copy"/*.txt "$keep/$label/"
    fi
    rm -rf "$copy"
}

for size in ${sizes//,/ }; do
    screen_width=${size%x*} screen_height=${size#*x}
    for wm in $wms; do
        start_screen "$size" "$wm"
        for run in $(seq "$runs"); do
            for game in "${games[@]}"; do
                name=${game%%=*} dir=$(cd "${game#*=}" && pwd)
                label="$size/$wm/$name/$run"
                echo "$label (load average $(cut -d' ' -f1-3 /proc/loadavg))" >&2
                one_session "$name" "$dir" "$label"
            done
        done
        stop_screen
    done
done
python3 "$here/hitches_stats.py" report "$work/sessions.txt"
