# Shared helpers for the end-to-end checks: the real program under Xvfb, driven by xdotool.

# Runs the calling script again inside an Xvfb screen of its own (800 x 600, or the size in
# screen_size), unless it already runs in one; call as: inside_xvfb "$0" "$@".
inside_xvfb() {
    [ -n "${INSIDE_XVFB:-}" ] && return 0
    INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 ${screen_size:-800x600}x24" bash "$@"
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

# Starts openbox on the display and waits until it manages windows, in $window_manager; a
# window made while the window manager is still starting may wait for ever to be shown.
# Skips the check (status 77) when openbox or wmctrl is missing.
start_window_manager() {
    command -v openbox > /dev/null && command -v wmctrl > /dev/null || { echo "SKIP: no openbox or wmctrl"; exit 77; }
    openbox > /dev/null 2>&1 &
    window_manager=$!
    for _ in $(seq 100); do
        wmctrl -m > /dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "openbox did not start"
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
        # And where its window stands on the screen: mapped or not, its place and size.
        timeout 10 xwininfo -root -tree 2>&1 | grep -iE "cablewright|children" >&2
        timeout 10 xwininfo -name Cablewright -stats 2>&1 | grep -E "Absolute|Width|Height|Map State" >&2
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

# Screenshots into $1 until the menu is seen to have been left, for at most $2 seconds:
# the screen dark between the menu's fade-out and the level's fade-in, or the play's status
# panel already lit along the bottom, where the menu shows a black bar. A busy machine can
# take longer for one screenshot than the dark moment lasts, so the panel counts too.
menu_left() {
    local shot=$1 limit=$2
    local until=$((SECONDS + limit))
    while [ "$SECONDS" -lt "$until" ]; do
        if import -window root "$shot" 2>/dev/null; then
            awk -v b="$(mean_brightness "$shot")" 'BEGIN { exit !(b < 0.08) }' && return 0
            awk -v b="$(convert "$shot" -gravity south -crop 100%x6%+0+0 +repage -colorspace Gray -format "%[fx:mean]" info:)" \
                'BEGIN { exit !(b > 0.1) }' && return 0
        fi
        sleep 0.1
    done
    return 1
}

# From a fresh start: waits for the lit menu, clicks the menu button whose centre is at y
# $2 (New game 200, Continue 257; default New game), and waits until the level has faded
# in under its start caption and the caption (250 frames) is gone, so the board takes
# clicks. Screenshots go to $1_menu.png, $1_menu_left.png and $1_caption.png.
start_new_game() {
    local shots=$1 button_y=${2:-200}
    wait_for_brightness "${shots}_menu.png" 0.12 30
    # A machine busy enough to take a tenth of a second per frame can miss a click that
    # comes with the pointer's move: click again until the menu fades out.
    local tries=0
    while :; do
        xdotool mousemove 650 "$button_y"
        sleep 0.3
        xdotool click 1
        menu_left "${shots}_menu_left.png" 8 && break
        tries=$((tries + 1))
        [ "$tries" -lt 5 ] || fail "the menu never faded out after the click at y $button_y"
    done
    wait_for_brightness "${shots}_caption.png" 0.05 30
    sleep 4.5
}

# The same through Continue, into the level of the saved game.
continue_saved_game() {
    start_new_game "$1" 257
}

# Writes the values after $1 to file $1 as 32-bit little-endian integers, as the
# progress files hold them.
write_values() {
    local file=$1 value
    shift
    : > "$file"
    for value in "$@"; do
        printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((value & 255)) $((value >> 8 & 255)) \
            $((value >> 16 & 255)) $((value >> 24 & 255)))" >> "$file"
    done
}

# The 32-bit little-endian values of a progress file, one per line.
progress_values() {
    od -An -v -td4 -w4 "$1" | tr -d ' '
}

# The level a player can complete in a check: a 4 x 5 board without hints or viruses.
solvable_level=2
unbeaten=359940

# In the game copy $copy: a saved game at the solvable level with rank 3 and carried value
# 42, and records of the unbeaten time but for two levels; then starts the game (in $pid,
# its errors in $1_stderr.txt), continues the saved game and completes the level. Returns
# once the completed level has been saved, with copies of both files as that save wrote
# them in $1_completed.cwm and $1_completed.cws; fails unless they hold the next level and
# a best time for the completed one, and nothing else changed.
complete_saved_level() {
    local shots=$1 records=() i
    write_values "$copy/oldgame.cwm" 3 "$solvable_level" $((3 + solvable_level)) 42
    for ((i = 0; i < 78; ++i)); do records+=("$unbeaten"); done
    records[0]=1234
    records[40]=5000
    write_values "$copy/oldgame.cws" "${records[@]}"
    "$copy/cablewright" 2> "${shots}_stderr.txt" &
    pid=$!
    continue_saved_game "$shots"
    local started=$SECONDS
    solve_level "$solvable_level" "$shots"
    wait_for_saved_level "$copy/oldgame.cwm" $((solvable_level + 1)) 30
    # What the save of the completed level wrote; play is now in the next level's caption.
    cp "$copy/oldgame.cwm" "${shots}_completed.cwm"
    cp "$copy/oldgame.cws" "${shots}_completed.cws"
    [ "$(progress_values "${shots}_completed.cwm" | tr '\n' ' ')" = "3 $((solvable_level + 1)) $((solvable_level + 4)) 42 " ] ||
        fail "the completed level saved $(progress_values "${shots}_completed.cwm" | tr '\n' ' ')"
    local best
    best=$(progress_values "${shots}_completed.cws" | sed -n "$((solvable_level + 1))p")
    echo "best time of level $solvable_level: $best frames"
    # The level time runs from the level's start (the caption included) to the caption's end.
    [ "$best" -gt 250 ] && [ "$best" -lt $(((SECONDS - started + 20) * 60)) ] || fail "best time $best"
    records[solvable_level]=$best
    write_values "${shots}_expected.cws" "${records[@]}"
    cmp "${shots}_completed.cws" "${shots}_expected.cws" || fail "the records changed beyond the completed level"
}

# Completes level $1 of the board on screen: reads the board from a screenshot with the
# board reader ($board_reader), clicks each piece into its place, and looks again until the
# board shows the solution or no longer reads as the completed level fades (a click that
# comes in the same frame as another is lost on a busy machine). Screenshots go to $2_board_<try>.png.
solve_level() {
    local level=$1 shots=$2 try clicks x y
    for try in 1 2 3 4 5 6; do
        xdotool mousemove 700 100
        sleep 0.4
        import -window root "${shots}_board_${try}.png"
        if ! clicks=$("$board_reader" "$game_dir" "${shots}_board_${try}.png" "$level" 2> "${shots}_board_${try}.txt"); then
            # Once clicked, a board that no longer reads is fading out: the level is complete
            # (the caller waits for its save).
            [ "$try" -gt 1 ] && return 0
            # Before any click, the start caption may still lie over the board on a slow
            # machine (250 frames): look again for a while.
            local read=no waited
            for waited in $(seq 15); do
                sleep 1
                import -window root "${shots}_board_${try}.png"
                clicks=$("$board_reader" "$game_dir" "${shots}_board_${try}.png" "$level" 2> "${shots}_board_${try}.txt") &&
                    read=yes && break
            done
            [ "$read" = yes ] || fail "the board of level $level was not read: $(cat "${shots}_board_${try}.txt")"
        fi
        [ -z "$clicks" ] && return 0
        while read -r x y; do
            xdotool mousemove "$x" "$y"
            sleep 0.05
            xdotool click 1
            sleep 0.15
        done <<< "$clicks"
    done
    fail "level $level was still not solved after $try tries"
}

# Waits up to $3 seconds for the saved game $1 to hold level $2 (the save of a completed
# level lands when the next level starts, about 4.5 s after the last click).
wait_for_saved_level() {
    local file=$1 level=$2 limit=$3
    local until=$((SECONDS + limit))
    while [ "$SECONDS" -lt "$until" ]; do
        [ -f "$file" ] && [ "$(progress_values "$file" | sed -n 2p)" = "$level" ] && return 0
        sleep 0.1
    done
    fail "the saved game never reached level $level"
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

# A small tmpfs of its own in $disk holding a game folder (the program copied, the data
# folders linked), with room for the program (twice as large in the sanitizer build) and the
# progress files; released at exit, after the game in $pid that a failed check may leave
# running from it. Skips the check (status 77) where the machine does not allow mounting.
game_on_small_disk() {
    disk=$(mktemp -d)
    local size_mb=$(($(stat -c %s "$game_dir/cablewright") / 1048576 + 4)) folder
    if ! mount -t tmpfs -o size=${size_mb}m tmpfs "$disk" 2> /dev/null; then
        rmdir "$disk"
        echo "SKIP: cannot mount a tmpfs here"
        exit 77
    fi
    pid=
    trap release_small_disk EXIT
    cp "$game_dir/cablewright" "$disk/"
    for folder in gfx gfx@2 gfx@3 sfx maps tracks; do ln -s "$game_dir/$folder" "$disk/$folder"; done
}

release_small_disk() {
    [ -n "$pid" ] && kill "$pid" 2> /dev/null && wait "$pid" 2> /dev/null
    umount "$disk"
    rmdir "$disk"
}

# The amber pixels (the colour of the line that tells of a failed save) in the area $2
# (WxH+X+Y) of screenshot $1.
amber_pixels() {
    convert "$1" -crop "$2" +repage -fx '(r > 0.6 && g > 0.35 && g < 0.85 && b < 0.35) ? 1 : 0' \
        -format "%[fx:round(mean * w * h)]" info:
}
