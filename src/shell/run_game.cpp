#include "shell/run_game.h"

#include <memory>

#include "play/game.h"
#include "shell/menu.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

int runGame(MediaLayer& media) {
    auto game = std::make_unique<Game>(media);
    ShellState shell;
    startUp(*game, shell);
    return runMenuCycles(*game, shell);
}
