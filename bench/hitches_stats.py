#!/usr/bin/env python3
"""The figures of bench/hitches.sh.

hitches_stats.py session LABEL FOLDER   one JSON line for a session's raw files:
    meter.txt   from libpresent_meter.so: "F call return threadCpu processCpu" per present,
                "S begin askedEnd end threadCpu" per sleep of the presenting thread
    idle.txt    from bench_idle_loop: "due woke" per tick
    scenes.txt  "name start end"; all times in monotonic seconds
    stdout.txt  the game's standard output (its scale changes), peak_kb.txt its peak memory
hitches_stats.py report SESSIONS_FILE   the tables: per screen size, window manager, build and
    scene, the median over the runs with the lowest and highest run in brackets.

A frame's interval is the time between the returns of two presents (when the X server has
the frame). A frame is late when its interval is over 25 ms, and is put down to what added
most to it:
    work     the frame was never waited for: drawing and composing ran past its time
             ("work, waiting" when its thread had the CPU for less than half of that time:
             it waited for a core, for the band workers, or for a file)
    wake-up  the frame was waited for, but handed to the present late: its thread woke late,
             or lost the CPU between waking and presenting
    copy     the present itself (the copy to the X server) took longer than the one before
"""
import json
import re
import statistics
import sys

PERIOD = 1.0 / 60
LATE = 0.025          # an interval over this is a hitch
IDLE_LATE = PERIOD / 2  # the do-nothing loop's wake-up this late (8.3 ms) is the machine's hitch
CHANGE_LIMIT = 0.050  # a screen change's frames stay within this


def read_lines(path):
    try:
        return [line.split() for line in open(path) if line.strip()]
    except FileNotFoundError:
        return []


def frames_of(meter):
    presents = [tuple(map(float, f[1:])) for f in meter if f[0] == "F"]
    sleeps = [tuple(map(float, f[1:])) for f in meter if f[0] == "S"]
    frames = []
    s = 0
    for i in range(1, len(presents)):
        call0, ret0, cpu0, _ = presents[i - 1]
        call, ret, cpu, _ = presents[i]
        mine = []
        while s < len(sleeps) and sleeps[s][0] < call:
            if sleeps[s][0] >= ret0:
                mine.append(sleeps[s])
            s += 1
        work_end = mine[0][0] if mine else call
        work_cpu = (mine[0][3] if mine else cpu) - cpu0
        frames.append({
            "ret": ret, "interval": ret - ret0,
            "schedule": call - call0 - PERIOD,       # how much later than one refresh it was handed over
            "copy_more": (ret - call) - (ret0 - call0),
            "work": work_end - ret0, "work_cpu": work_cpu, "slept": bool(mine),
            "woke_late": max(0.0, mine[-1][2] - mine[-1][1]) if mine else 0.0,
        })
    return frames


def cause_of(frame):
    contributions = {"copy": frame["copy_more"]}
    late = max(0.0, frame["schedule"])
    if frame["slept"]:
        contributions["wake-up"] = late
    else:
        waiting = frame["work_cpu"] < frame["work"] / 2
        contributions["work, waiting" if waiting else "work"] = late
    return max(contributions, key=contributions.get)


def scene_figures(frames, idle, start, end):
    inside = [f for f in frames if start <= f["ret"] <= end]
    intervals = [f["interval"] for f in inside]
    late = [f for f in inside if f["interval"] > LATE]
    causes = {}
    for frame in late:
        cause = cause_of(frame)
        causes[cause] = causes.get(cause, 0) + 1
    ticks = [(due, woke) for due, woke in idle if start <= woke <= end]
    idle_intervals = [b[1] - a[1] for a, b in zip(ticks, ticks[1:])]
    span = inside[-1]["ret"] - inside[0]["ret"] if len(inside) > 1 else 0
    return {
        "frames": len(inside),
        "fps": (len(inside) - 1) / span if span > 0 else 0,
        "over25": len(late),
        "over50": sum(1 for i in intervals if i > CHANGE_LIMIT),
        "max_ms": 1000 * max(intervals) if intervals else 0,
        "causes": causes,
        "late_frames": [{"ms": round(1000 * f["interval"], 1), "cause": cause_of(f),
                         "work_ms": round(1000 * f["work"], 1), "work_cpu_ms": round(1000 * f["work_cpu"], 1),
                         "woke_late_ms": round(1000 * f["woke_late"], 1),
                         "copy_more_ms": round(1000 * f["copy_more"], 1)} for f in late],
        "idle_late": sum(1 for due, woke in ticks if woke - due > IDLE_LATE),
        "idle_over25": sum(1 for i in idle_intervals if i > LATE),
    }


def session(label, folder):
    frames = frames_of(read_lines(folder + "/meter.txt"))
    idle = [tuple(map(float, t)) for t in read_lines(folder + "/idle.txt") if len(t) == 2]
    scenes = {}
    for name, start, end in read_lines(folder + "/scenes.txt"):
        scenes[name] = scene_figures(frames, idle, float(start), float(end))
    try:
        printed = open(folder + "/stdout.txt").read()
    except FileNotFoundError:
        printed = ""
    peak = read_lines(folder + "/peak_kb.txt")
    print(json.dumps({
        "label": label, "scenes": scenes,
        "drops": len(re.findall(r"stretched to the window", printed)),
        "rises": len(re.findall(r"now composed at [0-9.]+\n", printed)),
        "scale_lines": [line for line in printed.splitlines() if line.startswith("frames took")],
        "peak_mb": int(peak[0][0]) // 1024 if peak else 0,
    }))


def spread(values, form="%g"):
    if not values:
        return "-"
    middle = statistics.median(values)
    if len(values) == 1:
        return form % middle
    return (form + " [" + form + "-" + form + "]") % (middle, min(values), max(values))


def report(path):
    sessions = [json.loads(line) for line in open(path) if line.strip()]
    groups = {}
    for s in sessions:
        size, wm, build, _ = s["label"].split("/")
        groups.setdefault((size, wm, build), []).append(s)
    print("\nSteady scenes: the game's intervals over 25 ms beside the do-nothing loop's wake-ups late by")
    print("over 8.3 ms and its intervals over 25 ms; the game's late frames by cause (all runs).\n")
    print("| size | wm | build | scene | runs | game > 25 ms | idle late > 8.3 ms | idle > 25 ms | fps | causes |")
    print("|---|---|---|---|---|---|---|---|---|---|")
    for (size, wm, build), runs in groups.items():
        for scene in ("menu", "level"):
            figures = [r["scenes"][scene] for r in runs if scene in r["scenes"]]
            causes = {}
            for f in figures:
                for cause, count in f["causes"].items():
                    causes[cause] = causes.get(cause, 0) + count
            print("| %s | %s | %s | %s | %d | %s | %s | %s | %s | %s |" % (
                size, wm, build, scene, len(figures), spread([f["over25"] for f in figures]),
                spread([f["idle_late"] for f in figures]), spread([f["idle_over25"] for f in figures]),
                spread([f["fps"] for f in figures], "%.1f"),
                ", ".join("%s %d" % item for item in sorted(causes.items())) or "-"))
    print("\nScreen changes: the longest interval (ms) and intervals over 50 ms; the idle loop's")
    print("wake-ups late by over 8.3 ms in the same seconds.\n")
    print("| size | wm | build | change | runs | longest ms | over 50 ms | idle late > 8.3 ms | causes of the late |")
    print("|---|---|---|---|---|---|---|---|---|")
    for (size, wm, build), runs in groups.items():
        for scene in ("help_opens", "level_starts", "back_to_menu"):
            figures = [r["scenes"][scene] for r in runs if scene in r["scenes"]]
            causes = {}
            for f in figures:
                for cause, count in f["causes"].items():
                    causes[cause] = causes.get(cause, 0) + count
            print("| %s | %s | %s | %s | %d | %s | %s | %s | %s |" % (
                size, wm, build, scene, len(figures), spread([f["max_ms"] for f in figures], "%.0f"),
                spread([f["over50"] for f in figures]), spread([f["idle_late"] for f in figures]),
                ", ".join("%s %d" % item for item in sorted(causes.items())) or "-"))
    print("\nScale changes printed and peak memory, per session.\n")
    print("| size | wm | build | drops | rises | peak MB | lines |")
    print("|---|---|---|---|---|---|---|")
    for (size, wm, build), runs in groups.items():
        print("| %s | %s | %s | %s | %s | %s | %s |" % (
            size, wm, build, spread([r["drops"] for r in runs]), spread([r["rises"] for r in runs]),
            spread([r["peak_mb"] for r in runs]),
            " / ".join(line for r in runs for line in r["scale_lines"])[:400] or "-"))


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "session":
        session(sys.argv[2], sys.argv[3])
    elif len(sys.argv) == 3 and sys.argv[1] == "report":
        report(sys.argv[2])
    else:
        sys.exit(__doc__)
