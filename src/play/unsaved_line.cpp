#include "play/unsaved_line.h"

#include "media/media_layer.h"
#include "persist/progress.h"
#include "play/screen_fade.h"
#include "play/sprite_font.h"

namespace {

// Amber: a warning, apart from the game's white and blue text.
constexpr int LineRed = 255, LineGreen = 176, LineBlue = 64;
constexpr int MenuLineY = 18;  // the middle of the top band
constexpr int MenuLineRoom = ScreenWidth - 20;
constexpr int PlayLineRight = ScreenWidth - 8, PlayLineY = 4;

}  // namespace

void drawUnsavedLineInMenu(MediaLayer& media, const SpriteFont& font, const ScreenFade& fade,
                           const ProgressFileState& files) {
    const UnsavedFile* unsaved = unsavedFileToShow(files);
    if (!unsaved) return;
    const std::string& text = textWidth(font, unsaved->line) <= MenuLineRoom ? unsaved->line : unsaved->shortLine;
    const int b = fade.brightness;
    media.setDrawColour(LineRed * b / 255, LineGreen * b / 255, LineBlue * b / 255);
    drawText(media, font, ScreenCentreX, MenuLineY, text, AlignCentre);
    setFadeColour(media, fade);
}

void drawUnsavedLineInPlay(MediaLayer& media, const SpriteFont& font, const ProgressFileState& files) {
    const UnsavedFile* unsaved = unsavedFileToShow(files);
    if (!unsaved) return;
    const Colour colour = media.getDrawColour();
    media.setDrawColour(LineRed, LineGreen, LineBlue);
    drawText(media, font, PlayLineRight, PlayLineY, unsaved->shortLine, AlignRight);
    media.setDrawColour(colour.r, colour.g, colour.b);
}
