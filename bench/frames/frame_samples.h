#pragma once
// Per-frame costs of one scene, and their summary.

#include <string>
#include <vector>

struct FrameSamples {
    std::vector<double> cpuMs;        // CPU of all the process's threads, present to present
    std::vector<double> wallMs;       // wall clock, present to present
    double quads = 0, drawCalls = 0;  // totals over the measured frames
    double serverCpuMs = 0;           // CPU of the X server over the measured frames
};

struct SceneSummary {
    std::string scene, screen, path;
    int frames = 0, pictureScale = 1;
    double drawScale = 1;  // frame pixels per logical pixel, as drawn at the end
    double cpuMedian = 0, cpuP99 = 0, fps = 0, quads = 0, drawCalls = 0;
    double cores = 0;             // CPU over wall time: how many cores the game kept busy
    double serverMsPerFrame = 0;  // the X server's CPU, per frame
};

SceneSummary summarise(const std::string& scene, const std::string& path, const FrameSamples& samples);
// Process CPU time (all threads) and wall time in milliseconds.
double processCpuMs();
double wallMs();
