#include "shell/options_screen.h"

#include <string>

#include "play/game.h"
#include "shell/menu_overlay.h"
#include "shell/shell_state.h"

namespace {

// ---- Layout ----------------------------------------------------------------------------

constexpr int TitleY = 100;
constexpr int FirstRowY = 140, RowPitch = 34;
constexpr int LabelX = 180, ChoicesX = 330;
constexpr int VolumeBoxWidth = 24, VolumeBoxPitch = 27;
constexpr int ChoicePadding = 8, ChoiceGap = 10;
// A choice's box reaches this far above and below its text (13 high).
constexpr int BoxAbove = 6, BoxBelow = 19;
constexpr int NoteY = 414, FailureY = 432;

struct OptionRow {
    SettingId id;
    const char* label;
    std::vector<const char*> shown;  // the choices as the screen writes them
    const char* note;                // shown while the pointer is on the row
};

const std::vector<const char*> VolumeSteps = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};

const std::vector<OptionRow>& rowTable() {
    static const std::vector<OptionRow> rows = {
        {SettingId::EffectsVolume, "Effects volume", VolumeSteps,
         "How loud the clicks and the other sounds of play are; 0 is silent."},
        {SettingId::MusicVolume, "Music volume", VolumeSteps,
         "How loud the menu theme and the music of play are; 0 is silent."},
        {SettingId::Start,
         "Start in",
         {"full screen", "a window"},
         "How the game opens at its next start; Alt+Enter switches at any time."},
        {SettingId::RightButton,
         "Right button",
         {"nothing", "turn back", "lock"},
         "A right click on a piece turns it back, or locks it against every turn."},
        {SettingId::MiddleButton,
         "Middle button",
         {"nothing", "lock"},
         "A middle click on a piece locks it; on the Server, it clears every lock."},
        {SettingId::LitNetwork, "Lit network", {"off", "on"}, "The pieces that carry the connection light up."},
        {SettingId::UndoRestart,
         "Undo, restart",
         {"off", "on"},
         "Two more buttons beside the music: undo a turn, restart the board."},
        {SettingId::LevelSummary,
         "Level summary",
         {"off", "on"},
         "Time, best time, points and rank under the completion caption."},
    };
    return rows;
}

int rowY(size_t row) { return FirstRowY + RowPitch * static_cast<int>(row); }

bool isVolume(SettingId id) { return id == SettingId::EffectsVolume || id == SettingId::MusicVolume; }

// The boxes of one row's choices, left to right.
std::vector<ButtonArea> choiceAreas(const SpriteFont& font, const OptionRow& row, int y) {
    std::vector<ButtonArea> areas;
    int left = ChoicesX;
    for (const char* text : row.shown) {
        const int width = isVolume(row.id) ? VolumeBoxWidth : textWidth(font, text) + 2 * ChoicePadding;
        // ButtonArea leaves its edges out: one pixel outside the box on each side.
        areas.push_back({left - 1, y - BoxAbove - 1, left + width, y + BoxBelow});
        left += isVolume(row.id) ? VolumeBoxPitch : width + ChoiceGap;
    }
    return areas;
}

// ---- Drawing -----------------------------------------------------------------------------

void fillArea(MediaLayer& media, const ButtonArea& area) {
    media.drawRect(static_cast<float>(area.left + 1), static_cast<float>(area.top + 1),
                   static_cast<float>(area.right - area.left - 1), static_cast<float>(area.bottom - area.top - 1));
}

void drawChoice(Game& game, const ButtonArea& area, const char* text, bool chosen, bool hovered) {
    MediaLayer& media = game.media;
    if (chosen) {
        setFadedColour(media, game.fade, 30, 120, 150);
        media.setDrawAlpha(0.85f);
        fillArea(media, area);
        media.setDrawAlpha(1.0f);
    }
    if (hovered) {
        setFadedColour(media, game.fade, 40, 160, 200);
        media.setBlendMode(BlendMode::Light);
        media.setDrawAlpha(0.35f);
        fillArea(media, area);
        media.setBlendMode(BlendMode::Alpha);
        media.setDrawAlpha(1.0f);
    }
    if (chosen)
        setFadeColour(media, game.fade);
    else
        setFadedColour(media, game.fade, 150, 175, 185);
    const int centreX = (area.left + 1 + area.right) / 2;
    drawText(media, game.font, centreX, area.top + 1 + BoxAbove, text, AlignCentre);
    setFadeColour(media, game.fade);
}

}  // namespace

std::vector<SettingId> optionRows() {
    std::vector<SettingId> ids;
    for (const OptionRow& row : rowTable()) ids.push_back(row.id);
    return ids;
}

std::vector<OptionChoiceBox> optionChoiceBoxes(const SpriteFont& font) {
    std::vector<OptionChoiceBox> boxes;
    for (size_t row = 0; row < rowTable().size(); ++row) {
        const std::vector<ButtonArea> areas = choiceAreas(font, rowTable()[row], rowY(row));
        for (size_t choice = 0; choice < areas.size(); ++choice)
            boxes.push_back({rowTable()[row].id, static_cast<int>(choice), areas[choice]});
    }
    return boxes;
}

void drawOptionsScreen(Game& game, ShellState& shell) {
    MediaLayer& media = game.media;
    drawOverlayPlate(media, *game.res.canvas[2], game.fade);
    drawText(media, game.font, ScreenCentreX, TitleY, "Options", AlignCentre);
    const char* note = nullptr;
    const std::vector<OptionChoiceBox> boxes = optionChoiceBoxes(game.font);
    for (size_t row = 0; row < rowTable().size(); ++row) {
        const OptionRow& option = rowTable()[row];
        drawText(media, game.font, LabelX, rowY(row), option.label, AlignLeft);
        for (const OptionChoiceBox& box : boxes) {
            if (box.row != option.id) continue;
            const bool hovered = box.area.contains(game.input.x, game.input.y);
            if (hovered) note = option.note;
            drawChoice(game, box.area, option.shown[static_cast<size_t>(box.choice)],
                       settingChoice(game.settings, option.id) == box.choice, hovered);
        }
    }
    if (note) drawText(media, game.font, ScreenCentreX, NoteY, note, AlignCentre);
    if (!shell.settingsFailure.empty()) {
        setFadedColour(media, game.fade, 255, 160, 140);
        drawText(media, game.font, ScreenCentreX, FailureY, "Not kept for the next start: " + shell.settingsFailure,
                 AlignCentre);
        setFadeColour(media, game.fade);
    }
    runOverlayButton(game, BackButton, shell.glowLevels[BackButton]);
}

void clickOptionsScreen(Game& game, ShellState& shell) {
    if (game.hoveredControl == BackButton) {
        shell.screenState = ScreenState::Menu;
        return;
    }
    for (const OptionChoiceBox& box : optionChoiceBoxes(game.font)) {
        if (!box.area.contains(game.input.x, game.input.y)) continue;
        const bool changed = settingChoice(game.settings, box.row) != box.choice;
        setSettingChoice(game.settings, box.row, box.choice);
        applySoundVolumes(game.media, game.settings);
        // The effects volume is heard at once, also again on the step already chosen.
        if (box.row == SettingId::EffectsVolume) game.media.playSound(game.res.click);
        if (!changed) return;
        std::string failure;
        saveSettings(game.media, game.settingsFile, game.settings, failure);
        shell.settingsFailure = failure;
        return;
    }
}

void applySoundVolumes(MediaLayer& media, const Settings& settings) {
    media.setSoundGroupVolume(SoundGroup::Effects, volumeStepGain(settings.effectsVolume));
    media.setSoundGroupVolume(SoundGroup::Music, volumeStepGain(settings.musicVolume));
}
