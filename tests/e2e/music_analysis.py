#!/usr/bin/env python3
"""Checks for the streamed-music end-to-end run.

frames FRAME_FILE PRESS_TIMES...: the time of every presented frame; prints the frame
  intervals before and around each press and fails when a press holds a frame up.
audio RAW START NEXT PREVIOUS END: the disk audio driver's output (44100 Hz, 16-bit stereo),
  with byte offsets taken at the moments of the presses; fails on any silent stretch
  between START and END and when the presses did not switch to the quieter second track.
"""
import array
import math
import sys

# Decoding a track at the press used to hold a frame up for 300 ms on a quiet machine, over
# a second on a busy one, and a 25-minute track for many seconds. A streamed track's press
# must leave the frames about as they were just before it; the limit leaves room for a
# machine shared with other work, where frames already come irregularly.
FRAME_LIMIT_MS = 500


def frame_times(path):
    with open(path) as lines:
        return [float(line) for line in lines if line.strip()]


def intervals_between(times, begin, end):
    inside = [t for t in times if begin <= t <= end]
    return sorted(1000 * (b - a) for a, b in zip(inside, inside[1:]))


def longest_gap_start(times, begin, end):
    inside = [t for t in times if begin <= t <= end]
    gaps = [(b - a, a) for a, b in zip(inside, inside[1:])]
    return max(gaps)[1] if gaps else begin


def check_frames(path, presses):
    """The first press is the control: the Play button, which opens no file."""
    times = frame_times(path)
    if len(times) < 100:
        sys.exit("FAIL: only %d frames noted" % len(times))
    control = 0.0
    for number, press in enumerate(presses):
        before = intervals_between(times, press - 3.0, press - 0.2)
        around = intervals_between(times, press - 0.2, press + 1.0)
        if not before or not around:
            sys.exit("FAIL: no frames around the press at %.3f" % press)
        print("press: 2.8 s before it %d frames, interval median %.1f ms, max %.1f ms; "
              "from 0.2 s before to 1 s after %d frames, median %.1f ms, max %.1f ms (starting %+.2f s from the press)"
              % (len(before) + 1, before[len(before) // 2], before[-1],
                 len(around) + 1, around[len(around) // 2], around[-1],
                 longest_gap_start(times, press - 0.2, press + 1.0) - press))
        if number == 0:
            control = around[-1]
        elif around[-1] > max(FRAME_LIMIT_MS, 2 * before[-1], 2 * control):
            sys.exit("FAIL: a frame took %.1f ms around the press" % around[-1])


def window_levels(samples, start_frame, end_frame, window=441):
    levels = []
    for begin in range(start_frame, end_frame - window, window):
        chunk = samples[2 * begin:2 * (begin + window):2]
        levels.append(math.sqrt(sum(v * v for v in chunk) / window))
    return levels


def check_audio(raw, start, next_press, previous_press, end):
    samples = array.array("h")
    with open(raw, "rb") as data:
        samples.frombytes(data.read())
    to_frame = lambda offset: int(offset) // 4
    levels = window_levels(samples, to_frame(start), min(to_frame(end), len(samples) // 2))
    if len(levels) < 300:
        sys.exit("FAIL: only %d windows of audio between the checkpoints" % len(levels))
    quiet = [i for i, level in enumerate(levels) if level < 150]
    print("10 ms windows: %d, quietest %.0f, loudest %.0f, silent %d"
          % (len(levels), min(levels), max(levels), len(quiet)))
    if quiet:
        sys.exit("FAIL: the music falls silent at window %d after the start" % quiet[0])

    def level_between(a, b):
        chunk = window_levels(samples, to_frame(a), to_frame(b))
        return sum(chunk) / len(chunk)

    second = 44100 * 4
    before = level_between(next_press - second, next_press)
    after_next = level_between(next_press + second // 2, previous_press)
    after_previous = level_between(previous_press + second // 2, end)
    print("mean level: long track %.0f, after Next %.0f, after Previous %.0f" % (before, after_next, after_previous))
    if not after_next < 0.6 * before or not after_previous > 1.5 * after_next:
        sys.exit("FAIL: Next and Previous did not switch between the two tracks")


if __name__ == "__main__":
    if sys.argv[1] == "frames":
        check_frames(sys.argv[2], [float(t) for t in sys.argv[3:]])
    else:
        check_audio(sys.argv[2], *[int(v) for v in sys.argv[3:7]])
    print("ok")
