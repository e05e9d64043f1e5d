#!/usr/bin/env python3
"""Frame intervals of the real game, per scene, from the present times noted by the frame clock.

Usage: pacing_stats.py FRAMES_FILE SCENES_FILE
FRAMES_FILE: one wall-clock time in seconds per presented frame.
SCENES_FILE: lines "name start end" in the same clock; each scene's intervals are those
between presents that both fall inside its window.
"""
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
    print("| scene | frames | mean ms | median ms | p99 ms | min ms | max ms | early (< %.2f ms) | "
          "early after an on-time one | late (> %.2f ms) |" % (REFRESH_MS - EARLY_MS, REFRESH_MS + LATE_MS))
    print("|---|---|---|---|---|---|---|---|---|---|")
    for line in open(sys.argv[2]):
        name, start, end = line.split()
        inside = [t for t in presents if float(start) <= t <= float(end)]
        intervals = [(b - a) * 1000 for a, b in zip(inside, inside[1:])]
        if not intervals:
            print("| %s | 0 | - | - | - | - | - | - | - | - |" % name)
            continue
        early = sum(1 for i in intervals if i < REFRESH_MS - EARLY_MS)
        late = sum(1 for i in intervals if i > REFRESH_MS + LATE_MS)
        # A timer schedule brings the frame after a late one in sooner, back on its
        # schedule point; an early frame after an on-time one is a fault of the pacing.
        early_alone = sum(1 for before, i in zip(intervals, intervals[1:])
                          if i < REFRESH_MS - EARLY_MS and before <= REFRESH_MS + LATE_MS)
        print("| %s | %d | %.3f | %.2f | %.2f | %.2f | %.2f | %d | %d | %d |" % (
            name, len(intervals), statistics.mean(intervals), statistics.median(intervals),
            percentile(intervals, 0.99), min(intervals), max(intervals), early, early_alone, late))


main()
