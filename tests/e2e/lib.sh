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
