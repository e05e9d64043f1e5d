#include "shell/run_game.h"

#include <memory>

#include "play/game.h"
#include "shell/menu.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

namespace {

// Width of a text in the small font, as the left-aligned drawing advances.
int smallTextWidth(const SpriteFont& font, const std::string& text) {
    int width = 0;
    for (unsigned char c : text) {
        if (c == ' ') width += 5;
        else if (c >= 33 && c <= 122) width += font.glyphWidths[c - 33] - 1;
    }
    return width;
}

}  // namespace

int runGame(MediaLayer& media) {
    auto game = std::make_unique<Game>(media);
    ShellState shell;
    startUp(*game, shell);
    shell.marqueeLoopPoint = -smallTextWidth(game->font, shell.welcomeLine);
    return runMenuCycles(*game, shell);
}
