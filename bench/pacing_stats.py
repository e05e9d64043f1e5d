#!/usr/bin/env python3
"""Frame intervals of the real game, per scene, from the present times noted by the frame clock.

Usage: pacing_stats.py FRAMES_FILE SCENES_FILE
FRAMES_FILE: one wall-clock time in seconds per presented frame.
SCENES_FILE: lines "name start end [game_ticks server_ticks]" in the same clock; each scene's
intervals are those between presents that both fall inside its window; the ticks are the CPU
(clock ticks) of the game and of the X server in that window.
"""
import os
import statistics
import sys

REFRESH_MS = 1000.0 / 60
EARLY_MS = 2.0  # a present this much sooner than one refresh after the previous one is early
LATE_MS = 2.0   # ... and this much later has missed a refresh


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))]


def main():
    presents = [float(line) for line in open(sys.argv[1]) if line.strip()]
    tick = 1.0 / os.sysconf("SC_CLK_TCK")
    print("| scene | frames | fps presented | mean ms | median ms | p99 ms | min ms | max ms | early (< %.2f ms) | "
          "early after an on-time one | late (> %.2f ms) | game CPU %% | X server CPU %% |"
          % (REFRESH_MS - EARLY_MS, REFRESH_MS + LATE_MS))
    print("|---|---|---|---|---|---|---|---|---|---|---|---|---|")
    for line in open(sys.argv[2]):
        fields = line.split()
        name, start, end = fields[0], float(fields[1]), float(fields[2])
        cpu = ["%.0f" % (100 * int(ticks) * tick / (end - start)) for ticks in fields[3:5]] or ["-", "-"]
        inside = [t for t in presents if start <= t <= end]
        intervals = [(b - a) * 1000 for a, b in zip(inside, inside[1:])]
        if not intervals:
            print("| %s | 0 | - | - | - | - | - | - | - | - | - | %s | %s |" % (name, cpu[0], cpu[1]))
            continue
        early = sum(1 for i in intervals if i < REFRESH_MS - EARLY_MS)
        late = sum(1 for i in intervals if i > REFRESH_MS + LATE_MS)
        # A timer schedule brings the frame after a late one in sooner, back on its
        # schedule point; an early frame after an on-time one is a fault of the pacing.
        early_alone = sum(1 for before, i in zip(intervals, intervals[1:])
                          if i < REFRESH_MS - EARLY_MS and before <= REFRESH_MS + LATE_MS)
        fps = len(intervals) / (inside[-1] - inside[0])
        print("| %s | %d | %.1f | %.3f | %.2f | %.2f | %.2f | %.2f | %d | %d | %d | %s | %s |" % (
            name, len(intervals), fps, statistics.mean(intervals), statistics.median(intervals),
            percentile(intervals, 0.99), min(intervals), max(intervals), early, early_alone, late, cpu[0], cpu[1]))


main()
