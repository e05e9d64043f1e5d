# Shared helpers for the end-to-end checks: the real program under Xvfb, driven by xdotool.

# Mean brightness of a screenshot, 0..1.
mean_brightness() {
    convert "$1" -colorspace Gray -format "%[fx:mean]" info:
}

# Waits up to $2 seconds for background process $1 to end; sets exit_status to
# its status, or to "running" (and ends it) when it is still going.
wait_for_exit() {
    local pid=$1 limit=$2 waited=0
    while kill -0 "$pid" 2>/dev/null; do
        sleep 0.25
        waited=$((waited + 1))
        if [ "$waited" -ge $((limit * 4)) ]; then
            exit_status=running
            kill "$pid" 2>/dev/null
            return
        fi
    done
    wait "$pid"
    exit_status=$?
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Presses Escape every half second until process $1 ends (the menu ignores
# Escape until its fade-in is nearly done, which takes longer on a slow machine),
# for at most $2 seconds; sets exit_status like wait_for_exit.
escape_until_exit() {
    local pid=$1 limit=$2 tries=0
    while kill -0 "$pid" 2>/dev/null && [ "$tries" -lt $((limit * 2)) ]; do
        xdotool key Escape
        sleep 0.5
        tries=$((tries + 1))
    done
    wait_for_exit "$pid" 2
}

# Screenshots into $1 until the screen's mean brightness is above $2 (or, with "below"
# as $4, below it), for at most $3 seconds; fails the test when that never happens.
# Waiting for what the screen shows, not for a fixed time, keeps the checks steady on
# a slow or busy machine.
wait_for_brightness() {
    local shot=$1 level=$2 limit=$3 side=${4:-above} brightness
    local until=$((SECONDS + limit))
    while [ "$SECONDS" -lt "$until" ]; do
        if import -window root "$shot" 2>/dev/null; then
            brightness=$(mean_brightness "$shot")
            if [ "$side" = above ]; then
                awk -v b="$brightness" -v l="$level" 'BEGIN { exit !(b > l) }' && return 0
            else
                awk -v b="$brightness" -v l="$level" 'BEGIN { exit !(b < l) }' && return 0
            fi
        fi
        sleep 0.1
    done
    fail "the screen never went $side brightness $level ($shot)"
}

# From a fresh start: waits for the lit menu, clicks New game, and waits until the first
# level has faded in under its start caption and the caption (250 frames) is gone, so
# the board takes clicks. Screenshots go to $1_menu.png, $1_menu_left.png and
# $1_caption.png.
start_new_game() {
    local shots=$1
    wait_for_brightness "${shots}_menu.png" 0.12 30
    xdotool mousemove 650 200
    sleep 0.2  # a frame sees the pointer over the button before the click
    xdotool click 1
    wait_for_brightness "${shots}_menu_left.png" 0.08 30 below
    wait_for_brightness "${shots}_caption.png" 0.05 30
    sleep 4.5
}

# Waits up to $3 seconds for a line matching $2 in file $1; fails the test when none comes.
wait_for_line() {
    local file=$1 pattern=$2 limit=$3
    local until=$((SECONDS + limit))
    while [ "$SECONDS" -lt "$until" ]; do
        grep -q "$pattern" "$file" 2> /dev/null && return 0
        sleep 0.1
    done
    fail "no line matching \"$pattern\" in $file within $limit s"
}
