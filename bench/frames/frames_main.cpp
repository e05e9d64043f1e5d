// Frame benchmark: the game's heavy scenes through each drawing path of the real SDL
// backend, and the game logic alone, on X screens of the sizes asked for:
//   frames GAME_DIR [--runs N] [--frames N] [--paths opengl,software,cpu,logic]
//          [--sizes 800x600,1920x1080,2560x1440,3840x2160] [--wm openbox|none] [--display N]
//          [--keep-scale]
// Each size gets an Xvfb screen of its own (on display N, N+1 ... when given, else on free
// ones), with the window manager (openbox by default, or none), and the game opens its
// screen full screen there as it does for a player. Each path of each run is its own process.
// Prints per scene, screen and path the median over the runs of: CPU ms per frame (median
// and 99th percentile, all threads), the
// cores that kept busy, the X server's CPU ms per frame, frames per second unpaced, quads
// and draw calls per frame, with the lowest and highest run in brackets, and the scale of
// the pictures drawn with the scale the frames were drawn at (after "@": below the screen's
// where the CPU stretched its frames to keep up; --keep-scale holds the screen's).

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
#include <tuple>
#include <utility>
#include <vector>

#include "scenes.h"
#include "x_screen.h"

namespace {

struct Options {
    std::string gameDir;
    int runs = 3;
    int frames = 600;
    std::vector<std::string> paths{"opengl", "software", "cpu", "logic"};
    std::vector<ScreenSize> sizes{ScreenSize{}};
    std::string windowManager = "openbox";
    int firstDisplay = -1;  // free displays
    bool keepScale = false;
};

constexpr const char* Usage =
    "usage: frames GAME_DIR [--runs N] [--frames N] [--paths opengl,software,cpu,logic]\n"
    "              [--sizes 800x600,1920x1080,2560x1440,3840x2160] [--wm openbox|none] [--display N]\n"
    "              [--keep-scale]\n";

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> items;
    std::stringstream stream(text);
    for (std::string item; std::getline(stream, item, ',');) items.push_back(item);
    return items;
}

std::vector<ScreenSize> parseSizes(const std::string& text) {
    std::vector<ScreenSize> sizes;
    for (const std::string& item : splitList(text)) {
        ScreenSize size;
        if (!parseScreenSize(item, size)) {
            std::fprintf(stderr, "not a screen size: %s\n", item.c_str());
            std::exit(2);
        }
        sizes.push_back(size);
    }
    return sizes;
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
        else if (arg == "--sizes" && i + 1 < argc)
            options.sizes = parseSizes(argv[++i]);
        else if (arg == "--wm" && i + 1 < argc)
            options.windowManager = std::strcmp(argv[++i], "none") == 0 ? "" : argv[i];
        else if (arg == "--display" && i + 1 < argc)
            options.firstDisplay = std::atoi(argv[++i]);
        else if (arg == "--keep-scale")
            options.keepScale = true;
        else
            options.gameDir = arg;
    }
    if (options.gameDir.empty() || options.sizes.empty()) {
        std::fputs(Usage, stderr);
        std::exit(2);
    }
    return options;
}

// One path in this process; writes one line per scene to `out`.
void measurePath(const std::string& path, int frames, bool keepScale, pid_t xServer, FILE* out) {
    BenchScript script;
    std::vector<SceneSummary> rows;
    int pictureScale = 1;  // of the picture set the game loaded
    double drawScale = 1;
    if (path == "logic") {
        BenchLogicMedia media(script);
        const Meters meters{[&media] { return std::pair{std::exchange(media.quads, 0), 0}; }, [] { return 0.0; }};
        rows = runLevelScene(media, script, meters, path, frames);
        pictureScale = media.pictureScale();
    } else {
        // SDL reads its hints from the environment too: the renderer is chosen by name,
        // with batching kept on (naming a renderer turns it off otherwise).
        setenv("SDL_RENDER_DRIVER", path == "software" ? "software" : "opengl", 1);
        setenv("SDL_RENDER_BATCHING", "1", 1);
        BenchSdlMedia media(script, path == "cpu" ? PathChoice::Composer : PathChoice::Renderer);
        if (keepScale) media.keepDrawingScale();
        const Meters meters{[&media] {
                                const DrawStats stats = media.lastFrameStats();
                                return std::pair{stats.quads, stats.drawCalls};
                            },
                            [xServer] { return processCpuMsOf(xServer); }};
        rows = runAllScenes(media, script, meters, path, frames);
        pictureScale = media.pictureScale();
        drawScale = media.drawingScale();
    }
    for (const SceneSummary& row : rows)
        std::fprintf(out, "%s|%s|%d|%d|%f|%f|%f|%f|%f|%f|%f|%f\n", row.scene.c_str(), row.path.c_str(), row.frames,
                     pictureScale, drawScale, row.cpuMedian, row.cpuP99, row.fps, row.quads, row.drawCalls, row.cores,
                     row.serverMsPerFrame);
    std::fflush(out);
}

// Runs one path in a child process and reads its lines back.
std::vector<SceneSummary> measureInChild(const std::string& path, int frames, bool keepScale, pid_t xServer) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        FILE* out = fdopen(pipeEnds[1], "w");
        measurePath(path, frames, keepScale, xServer, out);
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
        std::getline(stream, field, '|'), row.pictureScale = std::stoi(field);
        std::getline(stream, field, '|'), row.drawScale = std::stod(field);
        std::getline(stream, field, '|'), row.cpuMedian = std::stod(field);
        std::getline(stream, field, '|'), row.cpuP99 = std::stod(field);
        std::getline(stream, field, '|'), row.fps = std::stod(field);
        std::getline(stream, field, '|'), row.quads = std::stod(field);
        std::getline(stream, field, '|'), row.drawCalls = std::stod(field);
        std::getline(stream, field, '|'), row.cores = std::stod(field);
        std::getline(stream, field, '|'), row.serverMsPerFrame = std::stod(field);
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

void printTable(const std::vector<SceneSummary>& all, int runs, const std::string& windowManager) {
    using Key = std::tuple<std::string, std::string, std::string>;
    std::vector<Key> order;
    std::map<Key, std::vector<SceneSummary>> byKey;
    for (const SceneSummary& row : all) {
        const Key key{row.scene, row.screen, row.path};
        if (!byKey.count(key)) order.push_back(key);
        byKey[key].push_back(row);
    }
    std::printf("%d runs; full screen on Xvfb %s; median of the runs [lowest-highest run]\n", runs,
                windowManager.empty() ? "without a window manager" : ("with " + windowManager).c_str());
    std::printf(
        "| scene | screen | path | picture scale | frames | CPU ms median | CPU ms p99 | cores | X server ms | fps "
        "unpaced | quads | draw calls |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (const Key& key : order) {
        const auto& rows = byKey[key];
        auto field = [&rows](double SceneSummary::*member) {
            std::vector<double> values;
            for (const SceneSummary& row : rows) values.push_back(row.*member);
            return spreadOf(values);
        };
        const auto& [scene, screen, path] = key;
        std::printf("| %s | %s | %s | %d @%.2f | %d | %s | %s | %s | %s | %s | %.0f | %.0f |\n", scene.c_str(),
                    screen.c_str(), path.c_str(), rows.front().pictureScale, rows.front().drawScale,
                    rows.front().frames, cell(field(&SceneSummary::cpuMedian), 2).c_str(),
                    cell(field(&SceneSummary::cpuP99), 2).c_str(), cell(field(&SceneSummary::cores), 2).c_str(),
                    cell(field(&SceneSummary::serverMsPerFrame), 2).c_str(), cell(field(&SceneSummary::fps), 0).c_str(),
                    field(&SceneSummary::quads).median, field(&SceneSummary::drawCalls).median);
    }
}

// Every run of every path on one screen size; the logic alone (no screen) only with the first.
void measureSize(const Options& options, const ScreenSize& size, int display, bool withLogic,
                 std::vector<SceneSummary>& all) {
    XScreen screen;
    if (!screen.start(size, display, options.windowManager)) return;
    for (int run = 0; run < options.runs; ++run)
        for (const std::string& path : options.paths) {
            if (path == "logic" && !withLogic) continue;
            std::vector<SceneSummary> rows =
                measureInChild(path, options.frames, options.keepScale, screen.serverPid());
            for (SceneSummary& row : rows) row.screen = path == "logic" ? "-" : size.text();
            all.insert(all.end(), rows.begin(), rows.end());
        }
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    std::filesystem::current_path(options.gameDir);
    std::vector<SceneSummary> all;
    for (size_t i = 0; i < options.sizes.size(); ++i) {
        const int display = options.firstDisplay < 0 ? -1 : options.firstDisplay + static_cast<int>(i);
        measureSize(options, options.sizes[i], display, i == 0, all);
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const SceneSummary& a, const SceneSummary& b) { return a.scene < b.scene; });
    printTable(all, options.runs, options.windowManager);
    return 0;
}
