#include "play/hint_overlay.h"

#include <array>
#include <vector>

#include "media/media_layer.h"
#include "play/level_state.h"
#include "play/screen_fade.h"
#include "play/sprite_font.h"

namespace {

constexpr int BoxLeft = 10, BoxTop = 10;
constexpr int TitleY = 15;
constexpr int LineX = 15, FirstLineY = 45, LineStep = 15;
constexpr float FadeStep = 0.05f;  // 20 frames to full

struct HintPage {
    int width, height;
    int titleX;
    const char* title;
    std::vector<const char*> lines;
};

const std::array<HintPage, 5>& hintPages() {
    static const std::array<HintPage, 5> pages = {{
        {400,
         130,
         210,
         "Network Construction Hint",
         {"The basic task in game, is to connect all computers to Server.",
          "The connection of computers with Server occurs by means rotation",
          "of elements network cable. For rotation of elements cable,",
          "use the Left button of the mouse. Turn of an element after one", "click - 90 degrees.", ""}},
        {420,
         115,
         220,
         "Connect Computers to Server",
         {"The outputs of devices too can be rotated.For it move the mouse", "on the device and click the left button.",
          "Server can have from one up to two outputs. The amount of outputs", "depends on a level of game."}},
        {420,
         115,
         220,
         "About cleaning Computers from viruses.",
         {"The computer, infected by a virus, by anything does not give", "out, is not connected to Server.",
          "As soon as the connection occurs, the virus reveals itself,",
          "and infects all computers connected with Server."}},
        {420,
         130,
         220,
         "About cleaning Computers from viruses.",
         {"To clear the computer of a virus is useless, when to Server",
          "is connected of two or more infected computers.", "Be more circumspect! Do not connect many computers!",
          "To clear the computer of a virus it is possible when it", "is connected to Server."}},
        {420,
         130,
         220,
         "Application of devices of a type ''FaxModem''",
         {"Such devices at a level cannot be less than two. With connection",
          "network cable to such device, the device begins to transfer",
          "connection to other device type ''FaxModem''.", "All connected to second of ''FaxModem'', are considered",
          "connected to server."}},
    }};
    return pages;
}

void stepHintFade(HintOverlay& hint) {
    if (hint.direction > 0 && hint.alpha < 1.0f) hint.alpha += FadeStep;
    if (hint.direction < 0 && hint.alpha > 0.0f) hint.alpha -= FadeStep;
    // Also a hint told to fade before it ever showed goes away instead of lingering unseen.
    if (hint.direction < 0 && hint.alpha <= 0.0f) hint.visible = false;
}

void drawHintPage(MediaLayer& media, const SpriteFont& font, const ScreenFade& fade, const HintPage& page,
                  float alpha) {
    // The box is a third as opaque as the text, so the board shows through.
    media.setDrawAlpha(alpha / 3.0f);
    media.setDrawColour(0, 0, 0);
    media.drawRect(BoxLeft, BoxTop, page.width, page.height);
    setFadeColour(media, fade);
    media.setDrawAlpha(alpha);
    drawText(media, font, page.titleX, TitleY, page.title, AlignCentre);
    int y = FirstLineY;
    for (const char* line : page.lines) {
        drawText(media, font, LineX, y, line, AlignLeft);
        y += LineStep;
    }
    media.setDrawAlpha(1.0f);
}

void fadeOutHint(HintOverlay& hint) { hint.direction = -1; }

}  // namespace

void showHint(HintOverlay& hint, int page) {
    hint.visible = true;
    hint.alpha = 0.0f;
    hint.direction = 1;
    hint.page = page;
}

void drawHintOverlay(MediaLayer& media, const SpriteFont& font, const ScreenFade& fade, HintOverlay& hint) {
    if (!hint.visible) return;
    stepHintFade(hint);
    if (!hint.visible || hint.page < 0 || hint.page >= static_cast<int>(hintPages().size())) return;
    drawHintPage(media, font, fade, hintPages()[hint.page], hint.alpha);
}

void stepHintTriggers(LevelState& level, int levelIndex) {
    HintOverlay& hint = level.hint;
    const int index = levelIndex;
    const int frames = level.levelFrames;
    if (index == 0 && frames == 200) showHint(hint, 0);
    if (index == 0 && frames == 1300) showHint(hint, 1);
    if (index == 0 && frames == 2400) fadeOutHint(hint);
    if (level.virusWatch.virusRevealed) level.virusWatch.virusHintClock += 1;
    const int clock = level.virusWatch.virusHintClock;
    if (index == 4 && clock == 200) showHint(hint, 2);
    if (index == 4 && clock == 1250) showHint(hint, 3);
    if (index == 4 && clock == 2500) fadeOutHint(hint);
    if (index == 5 && frames == 200) showHint(hint, 4);
    if (index == 5 && frames == 1400) fadeOutHint(hint);
}
