#include "play/status_panel.h"

#include <array>
#include <string>

#include "play/board_tools.h"
#include "play/game.h"

namespace {

constexpr int HighlightFrameOffset = 4;
constexpr int TipShowsAfter = 50;  // still frames before a tip appears
constexpr int TipLifetime = 400;
constexpr int TipFadeInUntil = 376;  // the first 24 frames of a tip fade in
constexpr int BubblePiece = 13;

struct TipSubject {
    const char* text;
    int segments;
};

constexpr std::array<TipSubject, MusicButtonCount> ButtonTips = {
    TipSubject{"Previous Track", 6}, {"Play Track", 5}, {"Next Track", 5}, {"Stop", 3}};
constexpr std::array<TipSubject, 2> ToolButtonTips = {TipSubject{"Undo turn", 4}, {"Restart board", 6}};
constexpr std::array<TipSubject, 3> ComputerTips = {
    TipSubject{"Not connected", 7}, {"Connected", 6}, {"Virus Detected", 8}};

void showTip(PointerTip& tip, const TipSubject& subject, int x, int y) {
    tip.text = subject.text;
    tip.segments = subject.segments;
    tip.x = x;
    tip.y = y;
    tip.alpha = 0.0f;
    tip.timer = TipLifetime;
}

// Later matches overwrite earlier ones: the computer of the cell, then the Server or a FaxModem.
void chooseDeviceTip(PointerTip& tip, const Board& board, CellPosition cell, const InputSample& input) {
    if (!cell.valid()) return;
    const int x = input.x, y = input.y + 28;  // below the pointer
    const int device = board.device[cell.column][cell.row];
    if (device == DeviceComputer) {
        const Computer* computer = computerAt(board, cell.column, cell.row);
        if (computer && computer->state >= 0 && computer->state <= 2) showTip(tip, ComputerTips[computer->state], x, y);
    }
    if (device == DeviceServerTop || device == DeviceServerBottom) showTip(tip, {"Server", 3}, x, y);
    if (device == DeviceFaxModem) showTip(tip, {"FaxModem", 6}, x, y);
}

void chooseTipSubject(PointerTip& tip, SceneView scene) {
    chooseDeviceTip(tip, scene.board, scene.level.hoverCell, scene.input);
    const int control = scene.hoveredControl;
    if (control >= 0 && control < MusicButtonCount)
        showTip(tip, ButtonTips[control], scene.input.x, scene.input.y - 18);  // above the pointer
    if (control == UndoButton || control == RestartButton)
        showTip(tip, ToolButtonTips[control - UndoButton], scene.input.x, scene.input.y - 18);
}

void drawTip(MediaLayer& media, const SpriteFont& font, const Image& bubble, const PointerTip& tip) {
    media.setDrawAlpha(tip.alpha);
    media.drawImage(bubble, tip.x, tip.y, 0);
    for (int i = 1; i <= tip.segments; ++i) media.drawImage(bubble, tip.x + BubblePiece * i, tip.y, 1);
    media.drawImage(bubble, tip.x + BubblePiece * tip.segments + BubblePiece, tip.y, 2);
    drawText(media, font, tip.x + BubblePiece * tip.segments / 2 + BubblePiece, tip.y, tip.text, AlignCentre);
    media.setDrawAlpha(1.0f);
}

}  // namespace

void drawMusicButtons(MediaLayer& media, const Image& buttons, const InputSample& input, int& hoveredControl) {
    for (int k = 0; k < MusicButtonCount; ++k)
        media.drawImage(buttons, FirstMusicButtonX + MusicButtonPitch * k, MusicButtonY, k);
    const int button = musicButtonAt(input.x, input.y);
    if (button >= 0) {
        hoveredControl = button;
        media.setDrawScale(1.2f, 1.2f);
        media.drawImage(buttons, FirstMusicButtonX + MusicButtonPitch * button, MusicButtonY,
                        button + HighlightFrameOffset);
        media.setDrawScale(1.0f, 1.0f);
    }
}

void drawBoardToolButtons(MediaLayer& media, const Image& buttons, const InputSample& input, int& hoveredControl) {
    constexpr int LitFrameOffset = 2;
    media.drawImage(buttons, UndoButtonX, ToolButtonY, 0);
    media.drawImage(buttons, RestartButtonX, ToolButtonY, 1);
    const int button = boardToolButtonAt(input.x, input.y);
    if (button < 0) return;
    hoveredControl = button;
    const int index = button - UndoButton;
    media.setDrawScale(1.2f, 1.2f);
    media.drawImage(buttons, index == 0 ? UndoButtonX : RestartButtonX, ToolButtonY, index + LitFrameOffset);
    media.setDrawScale(1.0f, 1.0f);
}

void musicButtonClick(TrackPlayer& music, MediaLayer& media, int control) {
    switch (control) {
        case PreviousTrackButton: previousTrack(music, media); break;
        case PlayButton: fadeMusicIn(music); break;
        case NextTrackButton: nextTrack(music, media); break;
        case StopButton: fadeMusicOut(music); break;
        default: break;
    }
}

void updatePointerTip(MediaLayer& media, const SpriteFont& font, const Image& bubble, PointerTip& tip,
                      SceneView scene) {
    if (scene.input.inputChanged) {
        tip.idleFrames = 0;
        tip.timer = 0;
    } else {
        tip.idleFrames += 1;
    }
    if (tip.idleFrames <= TipShowsAfter) return;
    if (tip.idleFrames == TipShowsAfter + 1) chooseTipSubject(tip, scene);
    if (tip.timer > 0) drawTip(media, font, bubble, tip);
    if (tip.timer > TipFadeInUntil) tip.alpha += 0.03f;
    if (tip.timer > 0) tip.timer -= 1;
}
