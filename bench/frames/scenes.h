#pragma once
// The heavy scenes of the game, driven through the game's own loops on a given layer.

#include <functional>
#include <string>
#include <vector>

#include "bench_media.h"
#include "frame_samples.h"

// Quads and draw calls of the frame presented last.
using FrameCost = std::function<std::pair<int, int>()>;

// Menu with particles and a glowing button, help overlay, credits, then a 14 x 11 level in
// steady state (falling lights, ghosts, sparkles, hint box, tip) and its completion fade.
// `frames` measured frames per scene (the fade is shorter). Runs in the game folder.
std::vector<SceneSummary> runAllScenes(MediaLayer& media, BenchScript& script, const FrameCost& cost,
                                       const std::string& path, int frames);
// The 14 x 11 level alone, for the game logic without drawing.
std::vector<SceneSummary> runLevelScene(MediaLayer& media, BenchScript& script, const FrameCost& cost,
                                        const std::string& path, int frames);
