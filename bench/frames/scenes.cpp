#include "scenes.h"

#include "board/board.h"
#include "play/game.h"
#include "play/hint_overlay.h"
#include "play/play.h"
#include "shell/credits.h"
#include "shell/menu.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

namespace {

// Thrown from a present to leave the game's loop once a scene has been measured.
struct SceneDone {};

// One measured stretch of frames, counted from the first present of the run.
struct Stretch {
    std::string name;
    int first = 0, last = 0;  // frames first..last-1 are measured
    FrameSamples samples;
};

// Records every present into the stretch it falls in and ends the run after the last.
class Recorder {
public:
    Recorder(BenchScript& script, const Meters& meters, std::vector<Stretch>& stretches,
             std::function<void(int)> everyFrame)
        : meters(meters), stretches(stretches), everyFrame(std::move(everyFrame)) {
        for (Stretch& stretch : stretches) {
            stretch.samples.cpuMs.reserve(stretch.last - stretch.first);
            stretch.samples.wallMs.reserve(stretch.last - stretch.first);
        }
        script.onPresent = [this] { presented(); };
    }

private:
    void presented() {
        const double cpu = processCpuMs(), wall = wallMs();
        const auto [quads, calls] = meters.cost();
        for (Stretch& stretch : stretches) {
            // The server's share of a stretch: from the present before its first frame to its last.
            if (frame == stretch.first - 1) stretch.samples.serverCpuMs = -meters.serverCpuMs();
            if (frame == stretch.last - 1) stretch.samples.serverCpuMs += meters.serverCpuMs();
            if (frame < stretch.first || frame >= stretch.last) continue;
            stretch.samples.cpuMs.push_back(cpu - lastCpu);
            stretch.samples.wallMs.push_back(wall - lastWall);
            stretch.samples.quads += quads;
            stretch.samples.drawCalls += calls;
        }
        lastCpu = processCpuMs();
        lastWall = wallMs();
        frame += 1;
        if (everyFrame) everyFrame(frame);
        if (frame >= stretches.back().last) throw SceneDone{};
    }

    const Meters& meters;
    std::vector<Stretch>& stretches;
    std::function<void(int)> everyFrame;
    int frame = 0;
    double lastCpu = 0, lastWall = 0;
};

template <typename Loop>
void runUntilDone(Loop loop) {
    try {
        loop();
    } catch (const SceneDone&) {}
}

void addSummaries(std::vector<SceneSummary>& out, const std::vector<Stretch>& stretches, const std::string& path) {
    for (const Stretch& stretch : stretches) out.push_back(summarise(stretch.name, path, stretch.samples));
}

constexpr int MenuWarmUp = 150;  // the fade in is over and the particles have reached their number

void menuScene(Game& game, ShellState& shell, BenchScript& script, const Meters& meters, const std::string& path,
               int frames, std::vector<SceneSummary>& out) {
    std::vector<Stretch> stretches{{"menu", MenuWarmUp, MenuWarmUp + frames, {}}};
    script.pointerX = 650, script.pointerY = 200;  // over the first button: it glows
    Recorder recorder(script, meters, stretches, nullptr);
    runUntilDone([&] { runMenuCycles(game, shell); });
    addSummaries(out, stretches, path);
}

void helpScene(Game& game, ShellState& shell, BenchScript& script, const Meters& meters, const std::string& path,
               int frames, std::vector<SceneSummary>& out) {
    std::vector<Stretch> stretches{{"help", MenuWarmUp, MenuWarmUp + frames, {}}};
    script.pointerX = 650, script.pointerY = 314;  // the help button
    Recorder recorder(script, meters, stretches, [&](int frame) {
        script.pressLeft = frame == 3;
        if (frame == 5) script.pointerX = 400, script.pointerY = 470;  // over the next-page button
    });
    runUntilDone([&] { runMenuCycles(game, shell); });
    addSummaries(out, stretches, path);
}

void creditsScene(Game& game, BenchScript& script, const Meters& meters, const std::string& path, int frames,
                  std::vector<SceneSummary>& out) {
    // From the moment the logo and the first rows are on screen.
    std::vector<Stretch> stretches{{"credits", 600, 600 + frames, {}}};
    Recorder recorder(script, meters, stretches, nullptr);
    runUntilDone([&] { runCredits(game.media, game.font, *game.res.logo, game.fade); });
    addSummaries(out, stretches, path);
}

int firstLargestLevel(MediaLayer& media, MapData& mapData) {
    loadMapData(media, mapData);
    for (int index = 0; index < LevelCount; ++index)
        if (mapData.sizeClass[index] == 3) return index;
    return LevelCount - 1;
}

// Ghosts, sparkles, the hint box and a tip over a level that is already full of falling lights.
void decorateLevel(Game& game, BenchScript& script, int frame, uint32_t& seed) {
    const Board& board = game.board;
    if (board.columns == 0) return;  // the black frame before the level is built
    if (frame == 2) {
        script.pointerX = cellCentreX(board, board.serverX);
        script.pointerY = cellCentreY(board, board.serverY);
    }
    if (frame == 260) showHint(game.level.hint, 0);
    if (frame > 260 && (frame - 260) % 400 == 0) script.pointerX += 1;  // a new tip after this one
    if (frame > 260 && (frame - 260) % 400 == 1) script.pointerX -= 1;
    seed = seed * 1103515245u + 12345u;
    const int column = static_cast<int>((seed >> 8) % static_cast<uint32_t>(board.columns));
    const int row = static_cast<int>((seed >> 20) % static_cast<uint32_t>(board.rows));
    const int x = cellCentreX(board, column), y = cellCentreY(board, row);
    // A busy player: four turns a second, and a sparkle every sixth of a second.
    if (frame % 15 == 0) addRotationGhost(game.effects, x, y, board.tile[column][row]);
    if (frame % 10 == 0) addSparkle(game.effects, x, y, 1.0f, 0.5f);
}

constexpr int LevelWarmUp = 400;  // the falling lights have reached about 350

void levelScenes(Game& game, BenchScript& script, const Meters& meters, const std::string& path, int frames,
                 bool withFade, std::vector<SceneSummary>& out) {
    game.progress.levelIndex = firstLargestLevel(game.media, game.mapData);
    const int fadeStart = LevelWarmUp + frames;
    std::vector<Stretch> stretches{{"level 14x11", LevelWarmUp, fadeStart, {}}};
    if (withFade) stretches.push_back({"completion fade", fadeStart, fadeStart + 250, {}});
    uint32_t seed = 7;
    Recorder recorder(script, meters, stretches, [&](int frame) {
        decorateLevel(game, script, frame, seed);
        if (frame == fadeStart) {
            game.level.phase = LevelPhase::Completed;
            game.level.phaseFrames = 0;
        }
    });
    runUntilDone([&] { enterPlay(game); });
    addSummaries(out, stretches, path);
}

}  // namespace

std::vector<SceneSummary> runAllScenes(MediaLayer& media, BenchScript& script, const Meters& meters,
                                       const std::string& path, int frames) {
    auto game = std::make_unique<Game>(media);
    ShellState shell;
    startUp(*game, shell);
    std::vector<SceneSummary> out;
    menuScene(*game, shell, script, meters, path, frames, out);
    helpScene(*game, shell, script, meters, path, frames, out);
    creditsScene(*game, script, meters, path, frames, out);
    levelScenes(*game, script, meters, path, frames, true, out);
    return out;
}

std::vector<SceneSummary> runLevelScene(MediaLayer& media, BenchScript& script, const Meters& meters,
                                        const std::string& path, int frames) {
    auto game = std::make_unique<Game>(media);
    ShellState shell;
    startUp(*game, shell);
    std::vector<SceneSummary> out;
    levelScenes(*game, script, meters, path, frames, false, out);
    return out;
}
