#pragma once
// The heavy scenes of the game, driven through the game's own loops on a given layer.

#include <functional>
#include <string>
#include <vector>

#include "bench_media.h"
#include "frame_samples.h"

// What the benchmark reads besides the game's own clocks: quads and draw calls of the frame
// presented last, and the X server's CPU so far (0 without one).
struct Meters {
    std::function<std::pair<int, int>()> cost;
    std::function<double()> serverCpuMs;
};

// Menu with particles and a glowing button, help overlay, credits, then a 14 x 11 level in
// steady state (falling lights, ghosts, sparkles, hint box, tip) and its completion fade.
// `frames` measured frames per scene (the fade is shorter). Runs in the game folder.
std::vector<SceneSummary> runAllScenes(MediaLayer& media, BenchScript& script, const Meters& meters,
                                       const std::string& path, int frames);
// The 14 x 11 level alone, for the game logic without drawing.
std::vector<SceneSummary> runLevelScene(MediaLayer& media, BenchScript& script, const Meters& meters,
                                        const std::string& path, int frames);
