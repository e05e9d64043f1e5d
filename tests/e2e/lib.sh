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
