# Shared helpers for the end-to-end checks: the real program under Xvfb, driven by xdotool.

# Runs the calling script again inside an 800 x 600 Xvfb screen of its own, unless it
# already runs in one; call as: inside_xvfb "$0" "$@".
inside_xvfb() {
    [ -n "${INSIDE_XVFB:-}" ] && return 0
    INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 800x600x24" bash "$@"
}

# A private copy of game folder $1 in $copy, removed at exit: the program and the records
# copied, the data folders in the remaining arguments (default: all four) linked, so what
# the game writes stays out of the build.
make_game_copy() {
    local game=$1 folder
    shift
    local folders=("$@")
    [ ${#folders[@]} -gt 0 ] || folders=(gfx gfx@2 gfx@3 sfx maps tracks)
    copy=$(mktemp -d)
    trap 'rm -rf "$copy"' EXIT
    cp "$game/cablewright" "$game/oldgame.cws" "$copy/"
    for folder in "${folders[@]}"; do ln -s "$game/$folder" "$copy/$folder"; done
}

# Clicks once on each cell of the first level's 4 x 5 board (origin 304, 180) in rows 0 to
# $2 - 1, with screenshots of the board before and after in $1_board_before.png and
# $1_board_after.png; sets board_difference to the pixels that changed.
turn_first_level_cells() {
    local shots=$1 rows=$2 column row
    xdotool mousemove 700 100
    sleep 0.5
    import -window root "${shots}_before.png"
    for column in 0 1 2 3; do
        for ((row = 0; row < rows; ++row)); do
            xdotool mousemove $((304 + 48 * column + 24)) $((180 + 48 * row + 24)) click 1
            sleep 0.1
        done
    done
    xdotool mousemove 700 100
    sleep 1.5  # the rotation ghosts fade
    import -window root "${shots}_after.png"
    convert "${shots}_before.png" -crop 192x240+304+180 "${shots}_board_before.png"
    convert "${shots}_after.png" -crop 192x240+304+180 "${shots}_board_after.png"
    board_difference=$(compare -metric AE -fuzz 10% "${shots}_board_before.png" "${shots}_board_after.png" null: 2>&1)
    board_difference=${board_difference%%.*}
}

# Holds Escape in play until the saved game appears in $copy, then leaves the game from the
# menu; fails unless the saved game was written and the game ended with status 0.
leave_play_and_end() {
    local pid=$1
    xdotool keydown Escape
    for _ in $(seq 40); do [ -f "$copy/oldgame.cwm" ] && break; sleep 0.25; done
    xdotool keyup Escape
    [ -f "$copy/oldgame.cwm" ] || fail "leaving play wrote no saved game"
    sleep 2.5
    escape_until_exit "$pid" 15
    [ "$exit_status" = "0" ] || fail "the game ended with status $exit_status"
}

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

# Ends the check; a game it started (in $pid) goes too, so a failed check never leaves
# one running after its Xvfb, holding the suite until its time-out.
fail() {
    echo "FAIL: $*" >&2
    if [ -n "${pid:-}" ] && kill -0 "$pid" 2> /dev/null; then
        # A game still running may be stuck: say where each of its threads stands.
        if command -v gdb > /dev/null; then
            timeout 60 gdb -p "$pid" -batch -ex "thread apply all bt 12" 2>&1 | grep -E "^(Thread|#)" >&2
        fi
        kill -KILL "$pid" 2> /dev/null
    fi
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
# as $4, below it), for at most $3 seconds; status 1 when that never happens.
# Waiting for what the screen shows, not for a fixed time, keeps the checks steady on
# a slow or busy machine.
screen_reaches_brightness() {
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
    return 1
}

# The same, failing the test when the screen never gets there.
wait_for_brightness() {
    screen_reaches_brightness "$@" || fail "the screen never went ${4:-above} brightness $2 ($1)"
}

# From a fresh start: waits for the lit menu, clicks New game, and waits until the first
# level has faded in under its start caption and the caption (250 frames) is gone, so
# the board takes clicks. Screenshots go to $1_menu.png, $1_menu_left.png and
# $1_caption.png.
start_new_game() {
    local shots=$1
    wait_for_brightness "${shots}_menu.png" 0.12 30
    # A machine busy enough to take a tenth of a second per frame can miss a click that
    # comes with the pointer's move: click again until the menu fades out.
    local tries=0
    while :; do
        xdotool mousemove 650 200
        sleep 0.3
        xdotool click 1
        screen_reaches_brightness "${shots}_menu_left.png" 0.08 8 below && break
        tries=$((tries + 1))
        [ "$tries" -lt 5 ] || fail "the menu never faded out after New game"
    done
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
