#include "shell/run_game.h"

#include <memory>

#include "play/game.h"
#include "shell/menu.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

int runGame(MediaLayer& media, const PlayerFolders& folders) {
    auto game = std::make_unique<Game>(media);
    game->progress.files.folder = folders.progress;
    game->progress.files.kept = folders.progressKept;
    if (folders.settingsKept)
        game->settingsFile.path =
            folders.settings.empty() ? SettingsFileName : folders.settings + "/" + SettingsFileName;
    ShellState shell;
    shell.userTracksFolder = folders.userTracks;
    startUp(*game, shell);
    return runMenuCycles(*game, shell);
}
