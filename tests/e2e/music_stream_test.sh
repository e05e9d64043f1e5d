#!/usr/bin/env bash
# Streamed music in the real game: a 25-minute 48 kHz Ogg Vorbis track and a quieter
# second one in "tracks", the disk audio driver writing what is heard. Next and Previous
# during play must not hold up the frames, and the written music must not break off.
source "$(dirname "$0")/preamble.sh"
make_long_track=$3
frame_clock=$4

# A private game folder; the long tracks are made here and never kept.
make_game_copy "$game_dir" gfx gfx@2 gfx@3 sfx maps
mkdir "$copy/tracks"
"$make_long_track" "$copy/tracks/a_long.ogg" 1500 48000 2 || fail "cannot make the long track"
"$make_long_track" "$copy/tracks/b_quiet.ogg" 120 44100 2 0.25 || fail "cannot make the second track"

export SDL_AUDIODRIVER=disk
audio="$copy/audio.raw"
export SDL_DISKAUDIOFILE=$audio
audio_bytes() { stat -c %s "$audio"; }
now() { date +%s.%N; }

# The frame clock notes the time of every presented frame.
frames="$copy/frames.txt"
# Libraries preloaded already (the sanitizer build's) stay preloaded.
(cd "$copy" && FRAME_CLOCK_FILE=$frames LD_PRELOAD="$frame_clock${LD_PRELOAD:+ $LD_PRELOAD}" exec ./cablewright \
    2> "$out_dir/music_stderr.txt") &
pid=$!
# The menu fades out, play starts and the music fades in under the start caption.
start_new_game "$out_dir/music"
start=$(audio_bytes)
# The Play button first: a press that touches no file, for comparison.
xdotool mousemove 96 584
sleep 0.3
play_time=$(now)
xdotool click 1
sleep 1.5
xdotool mousemove 128 584
sleep 0.3
next_time=$(now)
next_bytes=$(audio_bytes)
xdotool click 1
sleep 4
xdotool mousemove 64 584
sleep 0.3
previous_time=$(now)
previous_bytes=$(audio_bytes)
xdotool click 1
sleep 4
end=$(audio_bytes)
import -window root "$out_dir/music_after_presses.png"

xdotool mousemove 700 100 keydown Escape
sleep 3
xdotool keyup Escape
sleep 2.5
escape_until_exit "$pid" 20
[ "$exit_status" = "0" ] || fail "the game ended with status $exit_status"
grep -q "skipping" "$out_dir/music_stderr.txt" && fail "a generated track was skipped"

status=0
python3 "$here/music_analysis.py" frames "$frames" "$play_time" "$next_time" "$previous_time" || status=1
python3 "$here/music_analysis.py" audio "$audio" "$start" "$next_bytes" "$previous_bytes" "$end" || status=1
[ "$status" = 0 ] || fail "see above"
echo PASS
