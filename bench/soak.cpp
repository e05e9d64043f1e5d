// The full soak: the automatic player starts a new game and plays all 78 levels and the
// wrap to level 0, leaving play and continuing every four levels. Reports the frames,
// the wall time, the peak memory, and the figures the soak checks; exits 1 on a fault.
//   soak [game folder]      (default: the game folder beside the build's bench folder)

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "soak/auto_player.h"

int main(int argc, char** argv) {
    const std::filesystem::path game = argc > 1 ? argv[1] : "../game";
    SoakOptions options;
    const auto start = std::chrono::steady_clock::now();
    const SoakReport report = runSoak(game, options);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);

    size_t ghosts = 0, sparkles = 0, lights = 0;
    int clicks = 0, cleanings = 0;
    for (const LevelFigures& level : report.levels) {
        ghosts = std::max(ghosts, level.ghosts);
        sparkles = std::max(sparkles, level.sparkles);
        lights = std::max(lights, level.lights);
        clicks += level.clicks;
        cleanings += level.cleanings;
    }
    std::printf("levels completed   %zu (last %d)\n", report.levels.size(),
                report.levels.empty() ? -1 : report.levels.back().levelIndex);
    std::printf("leaves + continues %d\n", report.leaves);
    std::printf("frames             %d (%.1f min of play at 60 Hz)\n", report.frames, report.frames / 3600.0);
    std::printf("clicks, cleanings  %d, %d\n", clicks, cleanings);
    std::printf("wall time          %.1f s (%.0f frames/s)\n", seconds, report.frames / seconds);
    std::printf("peak memory        %.1f MB\n", usage.ru_maxrss / 1024.0);
    std::printf("resident memory   ");
    for (size_t i = 1; i < report.levels.size(); i += 19)
        std::printf(" %.1f MB after level %d;", report.levels[i].residentKb / 1024.0, report.levels[i].levelIndex);
    if (!report.levels.empty()) std::printf(" %.1f MB at the end", report.levels.back().residentKb / 1024.0);
    std::printf("\n");
    std::printf("largest effect lists: ghosts %zu, sparkles %zu, falling lights %zu, menu particles %zu\n", ghosts,
                sparkles, lights, report.menuParticles);
    for (const std::string& fault : report.faults) std::printf("FAULT: %s\n", fault.c_str());
    return report.faults.empty() && static_cast<int>(report.levels.size()) == options.levelsToComplete ? 0 : 1;
}
