// Frame benchmark: the game's heavy scenes through each drawing path of the real SDL
// backend, and the game logic alone. Run it under Xvfb (or SDL_VIDEODRIVER=offscreen):
//   frames GAME_DIR [--runs N] [--frames N] [--paths opengl,software,cpu,logic]
// Each path of each run is its own process. Prints per scene and path the median over the
// runs of: CPU ms per frame (median and 99th percentile, all threads), frames per second
// unpaced, quads and draw calls per frame, with the lowest and highest run in brackets.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "scenes.h"

namespace {

struct Options {
    std::string gameDir;
    int runs = 3;
    int frames = 600;
    std::vector<std::string> paths{"opengl", "software", "cpu", "logic"};
};

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> items;
    std::stringstream stream(text);
    for (std::string item; std::getline(stream, item, ',');) items.push_back(item);
    return items;
}

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            options.runs = std::atoi(argv[++i]);
        else if (arg == "--frames" && i + 1 < argc)
            options.frames = std::atoi(argv[++i]);
        else if (arg == "--paths" && i + 1 < argc)
            options.paths = splitList(argv[++i]);
        else
            options.gameDir = arg;
    }
    if (options.gameDir.empty()) {
        std::fprintf(stderr, "usage: frames GAME_DIR [--runs N] [--frames N] [--paths opengl,software,cpu,logic]\n");
        std::exit(2);
    }
    return options;
}

// One path in this process; writes one line per scene to `out`.
void measurePath(const std::string& path, int frames, FILE* out) {
    BenchScript script;
    std::vector<SceneSummary> rows;
    if (path == "logic") {
        BenchLogicMedia media(script);
        const FrameCost cost = [&media] { return std::pair{std::exchange(media.quads, 0), 0}; };
        rows = runLevelScene(media, script, cost, path, frames);
    } else {
        // SDL reads its hints from the environment too: the renderer is chosen by name,
        // with batching kept on (naming a renderer turns it off otherwise).
        setenv("SDL_RENDER_DRIVER", path == "software" ? "software" : "opengl", 1);
        setenv("SDL_RENDER_BATCHING", "1", 1);
        BenchSdlMedia media(script, path == "cpu" ? PathChoice::Composer : PathChoice::Renderer);
        const FrameCost cost = [&media] {
            const DrawStats stats = media.lastFrameStats();
            return std::pair{stats.quads, stats.drawCalls};
        };
        rows = runAllScenes(media, script, cost, path, frames);
    }
    for (const SceneSummary& row : rows)
        std::fprintf(out, "%s|%s|%d|%f|%f|%f|%f|%f\n", row.scene.c_str(), row.path.c_str(), row.frames, row.cpuMedian,
                     row.cpuP99, row.fps, row.quads, row.drawCalls);
    std::fflush(out);
}

// Runs one path in a child process and reads its lines back.
std::vector<SceneSummary> measureInChild(const std::string& path, int frames) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        FILE* out = fdopen(pipeEnds[1], "w");
        measurePath(path, frames, out);
        std::fclose(out);
        std::_Exit(0);
    }
    close(pipeEnds[1]);
    FILE* in = fdopen(pipeEnds[0], "r");
    std::vector<SceneSummary> rows;
    char line[512];
    while (std::fgets(line, sizeof line, in)) {
        SceneSummary row;
        std::stringstream stream(line);
        std::string field;
        std::getline(stream, row.scene, '|');
        std::getline(stream, row.path, '|');
        std::getline(stream, field, '|'), row.frames = std::stoi(field);
        std::getline(stream, field, '|'), row.cpuMedian = std::stod(field);
        std::getline(stream, field, '|'), row.cpuP99 = std::stod(field);
        std::getline(stream, field, '|'), row.fps = std::stod(field);
        std::getline(stream, field, '|'), row.quads = std::stod(field);
        std::getline(stream, field, '|'), row.drawCalls = std::stod(field);
        rows.push_back(row);
    }
    std::fclose(in);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "path %s failed (status %d)\n", path.c_str(), status);
    return rows;
}

struct Spread {
    double median = 0, low = 0, high = 0;
};

Spread spreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

std::string cell(const Spread& spread, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f [%.*f-%.*f]", decimals, spread.median, decimals, spread.low, decimals,
                  spread.high);
    return text;
}

void printTable(const std::vector<SceneSummary>& all, int runs) {
    std::vector<std::pair<std::string, std::string>> order;
    std::map<std::pair<std::string, std::string>, std::vector<SceneSummary>> byKey;
    for (const SceneSummary& row : all) {
        const auto key = std::pair{row.scene, row.path};
        if (!byKey.count(key)) order.push_back(key);
        byKey[key].push_back(row);
    }
    std::printf("%d runs; median of the runs [lowest-highest run]\n", runs);
    std::printf("| scene | path | frames | CPU ms median | CPU ms p99 | fps unpaced | quads | draw calls |\n");
    std::printf("|---|---|---|---|---|---|---|---|\n");
    for (const auto& key : order) {
        const auto& rows = byKey[key];
        auto field = [&rows](double SceneSummary::*member) {
            std::vector<double> values;
            for (const SceneSummary& row : rows) values.push_back(row.*member);
            return spreadOf(values);
        };
        std::printf("| %s | %s | %d | %s | %s | %s | %.0f | %.0f |\n", key.first.c_str(), key.second.c_str(),
                    rows.front().frames, cell(field(&SceneSummary::cpuMedian), 2).c_str(),
                    cell(field(&SceneSummary::cpuP99), 2).c_str(), cell(field(&SceneSummary::fps), 0).c_str(),
                    field(&SceneSummary::quads).median, field(&SceneSummary::drawCalls).median);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    std::filesystem::current_path(options.gameDir);
    std::vector<SceneSummary> all;
    for (int run = 0; run < options.runs; ++run)
        for (const std::string& path : options.paths) {
            std::vector<SceneSummary> rows = measureInChild(path, options.frames);
            all.insert(all.end(), rows.begin(), rows.end());
        }
    std::stable_sort(all.begin(), all.end(),
                     [](const SceneSummary& a, const SceneSummary& b) { return a.scene < b.scene; });
    printTable(all, options.runs);
    return 0;
}
