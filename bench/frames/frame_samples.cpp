#include "frame_samples.h"

#include <time.h>

#include <algorithm>
#include <numeric>

namespace {

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t index =
        std::min(values.size() - 1, static_cast<size_t>(fraction * static_cast<double>(values.size())));
    return values[index];
}

double clockMs(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

}  // namespace

double processCpuMs() { return clockMs(CLOCK_PROCESS_CPUTIME_ID); }
double wallMs() { return clockMs(CLOCK_MONOTONIC); }

SceneSummary summarise(const std::string& scene, const std::string& path, const FrameSamples& samples) {
    SceneSummary summary;
    summary.scene = scene;
    summary.path = path;
    summary.frames = static_cast<int>(samples.cpuMs.size());
    if (summary.frames == 0) return summary;
    summary.cpuMedian = percentile(samples.cpuMs, 0.5);
    summary.cpuP99 = percentile(samples.cpuMs, 0.99);
    const double wall = std::accumulate(samples.wallMs.begin(), samples.wallMs.end(), 0.0);
    const double cpu = std::accumulate(samples.cpuMs.begin(), samples.cpuMs.end(), 0.0);
    summary.fps = wall > 0 ? 1000.0 * summary.frames / wall : 0;
    summary.cores = wall > 0 ? cpu / wall : 0;
    summary.serverMsPerFrame = samples.serverCpuMs / summary.frames;
    summary.quads = samples.quads / summary.frames;
    summary.drawCalls = samples.drawCalls / summary.frames;
    return summary;
}
