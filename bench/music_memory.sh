#!/usr/bin/env bash
# Memory of the real game in play: without music, and with one generated 60-minute Ogg
# Vorbis track (44.1 kHz stereo) streaming. Prints resident and peak resident memory.
# Usage: bench/music_memory.sh GAME_DIR MAKE_LONG_TRACK [RUNS]
set -u
game_dir=$1
make_long_track=$2
runs=${3:-2}
if [ -z "${INSIDE_XVFB:-}" ]; then
    INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 800x600x24" bash "$0" "$@"
fi
export SDL_AUDIODRIVER=dummy

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$make_long_track" "$work/hour.ogg" 3600 44100 2 || exit 1

measure() {  # $1: the case's name; "$work/tracks" holds its music
    local copy=$work/game
    rm -rf "$copy" && mkdir -p "$copy"
    cp "$game_dir/cablewright" "$game_dir/oldgame.cws" "$copy/"
    for folder in gfx gfx@2 gfx@3 sfx maps; do ln -s "$game_dir/$folder" "$copy/$folder"; done
    cp -r "$work/tracks" "$copy/tracks"
    (cd "$copy" && exec ./cablewright 2> /dev/null) &
    local pid=$!
    sleep 5
    xdotool mousemove 650 200 click 1
    sleep 15  # into play; the track has been playing for several seconds
    local rss hwm
    rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
    hwm=$(awk '/VmHWM/ {print $2}' /proc/$pid/status)
    echo "$1: resident $rss kB, peak $hwm kB"
    kill $pid
    wait $pid 2> /dev/null
}

for run in $(seq "$runs"); do
    rm -rf "$work/tracks" && mkdir "$work/tracks"
    measure "no music   "
    cp "$work/hour.ogg" "$work/tracks/hour.ogg"
    measure "60-min Ogg "
done
