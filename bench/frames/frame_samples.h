#pragma once
// Per-frame costs of one scene, and their summary.

#include <string>
#include <vector>

struct FrameSamples {
    std::vector<double> cpuMs;        // CPU of all the process's threads, present to present
    std::vector<double> wallMs;       // wall clock, present to present
    double quads = 0, drawCalls = 0;  // totals over the measured frames
};

struct SceneSummary {
    std::string scene, path;
    int frames = 0;
    double cpuMedian = 0, cpuP99 = 0, fps = 0, quads = 0, drawCalls = 0;
};

SceneSummary summarise(const std::string& scene, const std::string& path, const FrameSamples& samples);
// Process CPU time (all threads) and wall time in milliseconds.
double processCpuMs();
double wallMs();
