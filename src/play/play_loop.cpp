#include "play/game.h"
#include "play/hint_overlay.h"
#include "play/play.h"
#include "play/play_events.h"
#include "play/scene.h"
#include "play/status_panel.h"

namespace {

constexpr int CaptionFrames = 250;     // start and completion captions show for 249 frames
constexpr int CompletionFrames = 260;  // the next level starts on this frame of the caption

void drawWhiteCaption(MediaLayer& media, const SpriteFont& font, const ScreenFade& fade, int y,
                      const std::string& text) {
    media.setDrawColour(255, 255, 255);
    drawText(media, font, ScreenCentreX, y, text, AlignCentre);
    setFadeColour(media, fade);
}

// The completion caption; false on the frame the level ends.
bool runCompletedPhase(Game& game) {
    LevelState& level = game.level;
    level.phaseFrames += 1;
    if (level.phaseFrames == 1) {
        game.media.playSound(game.res.complete);
        game.fade.fadeTarget = 0;  // the board fades to black while the captions stay white
    }
    if (level.phaseFrames < CaptionFrames) {
        drawWhiteCaption(game.media, game.font, game.fade, 290, "Level Completed !");
        // Compared against the running time, so it can vanish part-way through the caption.
        if (level.levelFrames < game.progress.bestTimes[game.progress.levelIndex]) {
            game.media.setDrawColour(200, 200, 255);
            drawText(game.media, game.font, ScreenCentreX, 310, "You have established the best time !", AlignCentre);
            setFadeColour(game.media, game.fade);
        }
    }
    return level.phaseFrames < CompletionFrames;
}

void runStartingPhase(Game& game) {
    LevelState& level = game.level;
    level.phaseFrames += 1;
    const int index = game.progress.levelIndex;
    if (level.phaseFrames < CaptionFrames)
        drawWhiteCaption(
            game.media, game.font, game.fade, 300,
            "Zone " + std::to_string(index / 5) + "/ Level " + std::to_string(index % 5 + 1) + " is started!");
    if (level.phaseFrames >= CaptionFrames) {
        level.phaseFrames = 0;
        level.phase = LevelPhase::Playing;
    }
}

// Step 7 of the frame; false when the level has just ended.
bool runPhase(Game& game) {
    switch (game.level.phase) {
        case LevelPhase::Completed: return runCompletedPhase(game);
        case LevelPhase::Starting: runStartingPhase(game); break;
        case LevelPhase::Playing: updatePointerTip(game); break;
    }
    return true;
}

// Everything up to the present; false when the level ended instead (nothing is presented then).
bool drawFrame(Game& game) {
    MediaLayer& media = game.media;
    setFadeColour(media, game.fade);
    game.hoveredControl = NoControl;
    sampleInput(media, game.input);
    game.level.hoverCell = cellUnderPointer(game.board, game.input.x, game.input.y);
    stepFade(game.fade);
    drawScene(game);
    drawHintOverlay(media, game.font, game.fade, game.level.hint);
    drawHud(game);
    if (!runPhase(game)) return false;
    media.setDrawColour(255, 255, 255);
    drawPointer(media, game.res, game.pointer, game.input, game.level.pointerOverCleanable);
    setFadeColour(media, game.fade);
    media.presentFrame();
    return true;
}

// The board's work of the frame: it sees the picture just shown, so a turn counts from the next frame.
void stepBoard(Game& game, PlayEvents& events) {
    LevelState& level = game.level;
    const CellPosition cell = level.hoverCell;
    level.pointerOverCleanable = cell.valid() && pointerOverCleanable(game.board, cell);
    addFallingLight(game.effects, game.media);
    updateConnections(game.board, game.connectors, level.virusWatch, events);
    stepFaxModems(game.board, events);
    stepComputerAnimations(game.board, game.animations, game.media);
    if (testCompletion(game.board)) {
        level.phase = LevelPhase::Completed;
        level.phaseFrames = 0;
    }
}

void handleClick(Game& game, PlayEvents& events) {
    if (!game.input.clicked()) return;  // two presses in one frame make no click
    const CellPosition cell = game.level.hoverCell;
    // The board ends above the panel (y 564 at most) and the buttons begin below y 568,
    // so a click reaches either a cell or a button, never both.
    if (cell.valid())
        leftClickCell(game.board, cell.column, cell.row, game.progress.rankPoints, events);
    else
        musicButtonClick(game.music, game.media, game.hoveredControl);
}

// Escape fades the screen and the music out; false once the screen is black. A request to
// end the program leaves at once: the rest is as Escape's.
bool stepQuit(Game& game) {
    if (game.media.quitRequested()) {
        game.level.endProgram = true;
        return false;
    }
    if (game.media.keyDown(Key::Escape)) game.level.quitRequested = true;
    if (!game.level.quitRequested) return true;
    fadeMusicOut(game.music);
    game.fade.fadeTarget = 0;
    return game.fade.brightness > 0;
}

// A crash or a kill loses at most the level in play: the progress of a completed level is
// written as leaving would write it, off the frame's path.
void saveCompletedLevel(Game& game) {
    if (game.level.completionUnsaved) saveProgressSoon(game.media, game.progress);
    game.level.completionUnsaved = false;
    noteFinishedSaves(game.media, game.progress);
}

void leavePlay(Game& game) {
    stopMusic(game.music, game.media);
    saveProgress(game.media, game.progress);
    // Escape may still be down: the menu must not take it as its own.
    game.media.flushKeys();
}

}  // namespace

bool playFrame(Game& game) {
    if (!drawFrame(game)) {
        finishLevel(game.progress, game.level.levelFrames);
        startLevel(game);
        game.level.completionUnsaved = true;
        return true;
    }
    PlayEvents events(game.effects, game.media, game.res);
    game.level.levelFrames += 1;
    stepBoard(game, events);
    handleClick(game, events);
    const bool staying = stepQuit(game);
    // The frame's bookkeeping still runs in the frame that leaves, so a rank earned
    // by a last cleaning is saved with the game.
    stepMusicVolume(game.music, game.media);
    if (stepRank(game.progress)) game.media.playSound(game.res.rankUp);
    stepHintTriggers(game.level, game.progress.levelIndex);
    // Leaving writes the same files at once.
    if (staying) saveCompletedLevel(game);
    return staying;
}

PlayEnd enterPlay(Game& game) {
    game.media.clearScreen();
    game.media.presentFrame();
    startMusic(game.music, game.media);
    game.level.quitRequested = false;
    game.level.endProgram = false;
    game.level.completionUnsaved = false;
    startLevel(game);
    while (playFrame(game)) {}
    leavePlay(game);
    return game.level.endProgram ? PlayEnd::EndProgram : PlayEnd::BackToMenu;
}
