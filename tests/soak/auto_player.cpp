#include "auto_player.h"

#include <unistd.h>

#include <fstream>
#include <memory>
#include <stdexcept>

#include "media/scripted/scripted_media.h"
#include "play/game.h"
#include "play/play.h"
#include "shell/menu.h"
#include "shell/shell_state.h"
#include "shell/startup.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

long residentKb() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

namespace {

constexpr int ButtonX = 650, ContinueButtonY = 257;
constexpr int NewGameButtonY = 200;

// Thrown from inside a frame to stop the run when the player is stuck.
struct SoakStuck : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The kind with east and west swapped: what a piece becomes in the mirrored level.
int mirroredKind(const ConnectorTable& connectors, int kind) {
    if (kind < 0 || kind >= NoConnector) return kind;
    const auto& open = connectors.open[kind];
    for (int other = 0; other < NoConnector; ++other) {
        const auto& candidate = connectors.open[other];
        if (candidate[North] == open[North] && candidate[South] == open[South] && candidate[East] == open[West] &&
            candidate[West] == open[East])
            return other;
    }
    return kind;
}

// Straights, corners, tees, ends: pieces of one group turn into each other.
int shapeGroup(int tile) {
    const int kind = kindOfTile(tile);
    if (kind <= StraightEW) return 0;
    if (kind <= CornerSW) return 1;
    if (kind <= TeeNSW) return 2;
    if (kind >= EndW && kind <= EndS) return 3;
    return 4 + tile;  // pictures and the Cross never turn: their code must match as it is
}

class AutoPlayer {
public:
    AutoPlayer(Game& game, ShellState& shell, ScriptedMedia& media, const SoakOptions& options)
        : game(game), shell(shell), media(media), options(options) {}

    void onFrame(int frame) {
        report.frames = frame;
        if (menuShown()) {
            inMenu(frame);
            return;
        }
        inPlay(frame);
    }

    SoakReport report;

private:
    // ---- The menu -------------------------------------------------------------
    bool menuShown() const { return !media.drawsOf(game.res.menuButtons.get()).empty(); }

    void inMenu(int frame) {
        report.menuParticles = std::max(report.menuParticles, game.effects.particles.size());
        lastPhase = -1;
        if (escapeHeld) {
            media.releaseKey(frame, Key::Escape);
            escapeHeld = false;
        }
        if (menuActed || shell.screenState != ScreenState::Menu || game.fade.brightness < 250) return;
        menuActed = true;
        if (finished()) {
            media.tapKey(frame, Key::Escape);
            return;
        }
        const bool fresh = options.startLevel == 0 && report.levels.empty() && report.leaves == 0;
        media.moveMouse(frame, ButtonX, fresh ? NewGameButtonY : ContinueButtonY);
        media.click(frame);
        if (!fresh) report.leaves += 1;
    }

    bool finished() const { return static_cast<int>(report.levels.size()) >= options.levelsToComplete; }

    // ---- Play -----------------------------------------------------------------
    void inPlay(int frame) {
        menuActed = false;
        // A level's time is 0 in the first frame presented after its build. (Play presents
        // one frame before its first build too, so this may come twice; the last one counts.)
        if (game.level.levelFrames == 0) newLevel();
        const int phase = static_cast<int>(game.level.phase);
        if (phase != lastPhase) phaseChanged(phase);
        lastPhase = phase;
        current.frames += 1;
        current.ghosts = std::max(current.ghosts, game.effects.ghosts.size());
        current.sparkles = std::max(current.sparkles, game.effects.sparkles.size());
        current.lights = std::max(current.lights, game.effects.lights.size());
        if (current.frames > options.frameBudgetPerLevel)
            throw SoakStuck("level " + std::to_string(game.progress.levelIndex) + " not completed in " +
                            std::to_string(options.frameBudgetPerLevel) + " frames: " + situation());
        if (game.level.phase == LevelPhase::Starting && !escapeHeld &&
            (finished() || sinceLeave >= options.leaveEvery)) {
            media.pressKey(frame, Key::Escape);
            escapeHeld = true;
            sinceLeave = 0;
        }
        if (game.level.phase == LevelPhase::Playing && !escapeHeld && frame % 2 == 0) act(frame);
    }

    void phaseChanged(int phase) {
        if (phase == static_cast<int>(LevelPhase::Completed)) {
            current.levelIndex = game.progress.levelIndex;
            current.residentKb = residentKb();
            report.levels.push_back(current);
            sinceLeave += 1;
        }
    }

    void newLevel() {
        current = LevelFigures{};
        tested.assign(game.board.computers.size(), false);
        underTestFrames = 0;
        findTargets();
    }

    // The solved tile of every cell: the stored level, mirrored when the build mirrored it.
    void findTargets() {
        const Board& board = game.board;
        const int level = game.progress.levelIndex;
        for (bool mirrored : {false, true}) {
            bool fits = true;
            for (int column = 0; column < board.columns && fits; ++column)
                for (int row = 0; row < board.rows && fits; ++row) {
                    const int from = mirrored ? board.columns - 1 - column : column;
                    int stored = game.mapData.tile[level][from][row];
                    const int device = game.mapData.device[level][from][row];
                    if (mirrored) stored = mirroredKind(game.tables.connectors, stored - CableTileBase) + CableTileBase;
                    const int kind = kindOfTile(stored);
                    if (kind != NoConnector) stored = serverRestrictedKind(device, kind) + CableTileBase;
                    target[column][row] = stored;
                    const bool sameDevice = device == board.device[column][row] ||
                                            (board.device[column][row] == DeviceComputer &&
                                             (device == DeviceComputerAlt || device == DeviceVirusComputer));
                    fits = shapeGroup(stored) == shapeGroup(board.tile[column][row]) && sameDevice;
                }
            if (fits) return;
        }
        throw SoakStuck("level " + std::to_string(level) +
                        ": the board matches neither the stored level nor its mirror");
    }

    // What the player was waiting for, for the message of a stuck run.
    std::string situation() const {
        const Board& board = game.board;
        int offTarget = 0;
        for (int column = 0; column < board.columns; ++column)
            for (int row = 0; row < board.rows; ++row) offTarget += atTarget(column, row) ? 0 : 1;
        std::string text = std::to_string(offTarget) + " cells off their solved place; computers:";
        for (size_t i = 0; i < board.computers.size(); ++i) {
            const Computer& computer = board.computers[i];
            text += " (" + std::to_string(computer.x) + "," + std::to_string(computer.y) + ") state " +
                    std::to_string(computer.state) + (i < tested.size() && tested[i] ? " tested" : "") +
                    (atTarget(computer.x, computer.y) ? " at target" : "");
        }
        return text;
    }

    bool atTarget(int column, int row) const { return game.board.tile[column][row] == target[column][row]; }

    // One click a turn: first every computer but the one under test turned away, then every
    // other piece to its solved place, then each computer connected alone (a virus shows
    // itself and is cleaned), and last every computer connected at once.
    void act(int frame) {
        Board& board = game.board;
        const int underTest = computerUnderTest();
        for (size_t i = 0; i < board.computers.size(); ++i) {
            const Computer& computer = board.computers[i];
            if (static_cast<int>(i) != underTest && underTest >= 0 && atTarget(computer.x, computer.y))
                return click(frame, computer.x, computer.y);
        }
        for (int column = 0; column < board.columns; ++column)
            for (int row = 0; row < board.rows; ++row)
                if (board.device[column][row] != DeviceComputer && !atTarget(column, row))
                    return click(frame, column, row);
        if (underTest >= 0) return test(frame, board.computers[static_cast<size_t>(underTest)], underTest);
        for (const Computer& computer : board.computers)
            if (!atTarget(computer.x, computer.y)) return click(frame, computer.x, computer.y);
    }

    int computerUnderTest() const {
        for (size_t i = 0; i < tested.size(); ++i)
            if (!tested[i]) return static_cast<int>(i);
        return -1;
    }

    void test(int frame, const Computer& computer, int index) {
        if (!atTarget(computer.x, computer.y)) return click(frame, computer.x, computer.y);
        if (computer.state == Infected && computer.cleanable) {
            current.cleanings += 1;
            return click(frame, computer.x, computer.y);
        }
        if (computer.state == Connected && ++underTestFrames > 2) {
            tested[static_cast<size_t>(index)] = true;
            underTestFrames = 0;
        }
    }

    void click(int frame, int column, int row) {
        media.moveMouse(frame, cellCentreX(game.board, column), cellCentreY(game.board, row));
        media.click(frame);
        current.clicks += 1;
    }

    Game& game;
    ShellState& shell;
    ScriptedMedia& media;
    SoakOptions options;
    LevelFigures current;
    Grid target{};
    std::vector<bool> tested;
    int underTestFrames = 0;
    int lastPhase = -1;
    int sinceLeave = 0;
    bool escapeHeld = false;
    bool menuActed = false;
};

// A scratch game folder: the built pictures, sounds, levels and music, fresh progress files.
void prepareFolder(const fs::path& folder, const fs::path& builtGame, const SoakOptions& options) {
    for (const char* name : {"gfx", "sfx", "maps", "tracks"})
        fs::create_directory_symlink(fs::absolute(builtGame / name), folder / name);
    fs::copy_file(builtGame / "oldgame.cws", folder / "oldgame.cws");
    if (options.startLevel == 0) return;
    const uint32_t level = static_cast<uint32_t>(options.startLevel);
    std::vector<uint8_t> saved(16, 0);
    for (int i = 0; i < 4; ++i) saved[4 + i] = saved[8 + i] = static_cast<uint8_t>(level >> (8 * i));
    writeBytes((folder / "oldgame.cwm").string(), saved);
}

}  // namespace

SoakReport runSoak(const fs::path& builtGame, const SoakOptions& options) {
    ScratchFolder folder("soak");
    prepareFolder(folder.path(), builtGame, options);
    WorkingFolder inFolder(folder.path());
    ScriptedMedia media;
    auto game = std::make_unique<Game>(media);
    ShellState shell;
    AutoPlayer player(*game, shell, media, options);
    media.onFrame = [&](int frame) { player.onFrame(frame); };
    try {
        startUp(*game, shell);
        runMenuCycles(*game, shell);
    } catch (const std::exception& error) {
        player.report.faults.push_back(error.what());
    }
    return player.report;
}
