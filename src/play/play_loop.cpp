#include "play/game.h"
#include "play/hint_overlay.h"
#include "play/level_summary.h"
#include "play/lit_network.h"
#include "play/play.h"
#include "play/play_events.h"
#include "play/scene.h"
#include "play/status_panel.h"
#include "play/unsaved_line.h"

namespace {

constexpr int CaptionFrames = 250;     // start and completion captions show for 249 frames
constexpr int CompletionFrames = 260;  // the next level starts on this frame of the caption

void drawWhiteCaption(MediaLayer& media, const SpriteFont& font, const ScreenFade& fade, int y,
                      const std::string& text) {
    media.setDrawColour(255, 255, 255);
    drawText(media, font, ScreenCentreX, y, text, AlignCentre);
    setFadeColour(media, fade);
}

// The completion caption (with the summary where the player asks for it); false on the
// frame the level ends.
bool runCompletedPhase(MediaLayer& media, const SpriteFont& font, ScreenFade& fade, const Resources& res,
                       LevelState& level, const Progress& progress, bool summary) {
    level.phaseFrames += 1;
    if (level.phaseFrames == 1) {
        media.playSound(res.complete);
        fade.fadeTarget = 0;  // the board fades to black while the captions stay white
    }
    if (level.phaseFrames < CaptionFrames) {
        if (summary) drawCaptionPlate(media, fade, 282, 362);
        drawWhiteCaption(media, font, fade, 290, "Level Completed !");
        // Compared against the running time, so it can vanish part-way through the caption.
        if (level.levelFrames < progress.bestTimes[progress.levelIndex]) {
            media.setDrawColour(200, 200, 255);
            drawText(media, font, ScreenCentreX, 310, "You have established the best time !", AlignCentre);
            setFadeColour(media, fade);
        }
        if (summary) drawLevelSummary(media, font, fade, level, progress);
    }
    return level.phaseFrames < CompletionFrames;
}

void runStartingPhase(MediaLayer& media, const SpriteFont& font, const ScreenFade& fade, LevelState& level,
                      int levelIndex) {
    level.phaseFrames += 1;
    if (level.phaseFrames < CaptionFrames)
        drawWhiteCaption(media, font, fade, 300,
                         "Zone " + std::to_string(levelIndex / 5) + "/ Level " + std::to_string(levelIndex % 5 + 1) +
                             " is started!");
    if (level.phaseFrames >= CaptionFrames) {
        level.phaseFrames = 0;
        level.phase = LevelPhase::Playing;
    }
}

// The level phase's caption or the pointer tip, drawn after the HUD; false when the level
// has just ended (the completion's fade is over and the next level is built).
bool runPhase(Game& game) {
    switch (game.level.phase) {
        case LevelPhase::Completed:
            return runCompletedPhase(game.media, game.font, game.fade, game.res, game.level, game.progress,
                                     game.settings.levelSummary);
        case LevelPhase::Starting:
            runStartingPhase(game.media, game.font, game.fade, game.level, game.progress.levelIndex);
            break;
        case LevelPhase::Playing:
            updatePointerTip(game.media, game.font, *game.res.hint, game.tip, game.scene());
            break;
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
    // Worked out afresh each frame from the board as drawn (one flood over the board), so a
    // turn lights or darkens at once, before the rules' own flood runs.
    CellFlags lit{};
    BoardMarks marks;
    if (game.settings.litNetwork) {
        lit = carriedNow(game.board, game.tables.connectors);
        marks.lit = &lit;
    }
    if (usesLocks(game.settings)) marks.locked = &game.level.tools.locked;
    drawScene(media, game.res, game.effects, game.board, game.fade, marks);
    drawHintOverlay(media, game.font, game.fade, game.level.hint);
    drawHud(media, game.res, game.font, game.scene(), game.progress, game.settings.undoRestart);
    if (game.settings.levelSummary) drawRankUpNotice(media, game.font, game.fade, game.rankUp);
    drawUnsavedLineInPlay(media, game.font, game.progress.files);
    if (!runPhase(game)) return false;
    media.setDrawColour(255, 255, 255);
    drawPointer(media, game.res, game.pointer, game.input, game.level.pointerOverCleanable);
    setFadeColour(media, game.fade);
    media.presentFrame();
    return true;
}

// The board's work of the frame: it sees the picture just shown, so a turn counts from the next frame.
void stepBoard(MediaLayer& media, const GameTables& tables, Board& board, LevelState& level, Effects& effects,
               PlayEvents& events) {
    const CellPosition cell = level.hoverCell;
    level.pointerOverCleanable = cell.valid() && pointerOverCleanable(board, cell);
    addFallingLight(effects, media);
    updateConnections(board, tables.connectors, level.virusWatch, events);
    stepFaxModems(board, events);
    stepComputerAnimations(board, tables.animations, media);
    if (testCompletion(board)) {
        level.phase = LevelPhase::Completed;
        level.phaseFrames = 0;
    }
}

void handleLeftClick(Game& game, PlayEvents& events) {
    const CellPosition cell = game.level.hoverCell;
    // The board ends above the panel (y 564 at most) and the buttons begin below it, so a
    // click reaches either a cell or a button, never both.
    if (cell.valid()) {
        if (leftClickWithTools(game.board, game.level.tools, cell, game.progress.rankPoints, events))
            game.level.cleanings += 1;
    } else if (game.hoveredControl == UndoButton || game.hoveredControl == RestartButton) {
        boardToolClick(game.board, game.level.tools, game.hoveredControl, events);
    } else {
        musicButtonClick(game.music, game.media, game.hoveredControl);
    }
}

// A left click (exactly one left press), or a lone right or middle press for the options
// that give those buttons a use. Two presses of one button in a frame make no click.
void handleClick(Game& game, PlayEvents& events) {
    const InputSample& input = game.input;
    const CellPosition cell = game.level.hoverCell;
    if (input.clicked()) handleLeftClick(game, events);
    if (input.leftHits == 0 && input.rightHits == 1)
        rightPressCell(game.board, game.level.tools, game.settings, cell, events);
    if (input.leftHits == 0 && input.middleHits == 1)
        middlePressCell(game.board, game.level.tools, game.settings, cell);
}

// Escape fades the screen and the music out; false once the screen is black. A request to
// end the program leaves at once: the rest is as Escape's.
bool stepQuit(MediaLayer& media, LevelState& level, TrackPlayer& music, ScreenFade& fade) {
    if (media.quitRequested()) {
        level.endProgram = true;
        return false;
    }
    if (media.keyDown(Key::Escape)) level.quitRequested = true;
    if (!level.quitRequested) return true;
    fadeMusicOut(music);
    fade.fadeTarget = 0;
    return fade.brightness > 0;
}

// A crash or a kill loses at most the level in play: the progress of a completed level is
// written as leaving would write it, off the frame's path.
void saveCompletedLevel(MediaLayer& media, LevelState& level, Progress& progress) {
    if (level.completionUnsaved) saveProgressSoon(media, progress);
    level.completionUnsaved = false;
    noteFinishedSaves(media, progress);
}

void leavePlay(MediaLayer& media, TrackPlayer& music, Progress& progress) {
    stopMusic(music, media);
    saveProgress(media, progress);
    // Escape may still be down: the menu must not take it as its own.
    media.flushKeys();
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
    stepBoard(game.media, game.tables, game.board, game.level, game.effects, events);
    handleClick(game, events);
    const bool staying = stepQuit(game.media, game.level, game.music, game.fade);
    // The frame's bookkeeping still runs in the frame that leaves, so a rank earned
    // by a last cleaning is saved with the game.
    stepMusicVolume(game.music, game.media);
    if (stepRank(game.progress)) {
        game.media.playSound(game.res.rankUp);
        game.rankUp = RankUpNotice{game.progress.rankIndex, RankUpNoticeFrames};
    }
    stepHintTriggers(game.level, game.progress.levelIndex);
    // Leaving writes the same files at once.
    if (staying) saveCompletedLevel(game.media, game.level, game.progress);
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
    leavePlay(game.media, game.music, game.progress);
    return game.level.endProgram ? PlayEnd::EndProgram : PlayEnd::BackToMenu;
}
