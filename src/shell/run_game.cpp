#include "shell/run_game.h"

#include <memory>

#include "play/game.h"
#include "shell/menu.h"
#include "shell/second_copy.h"
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
    // Two copies playing from one folder would each overwrite the other's progress: the
    // second leaves the folder as it is.
    if (lockProgressFolder(media, game->progress) == LockResult::HeldElsewhere) {
        startUpWithoutProgress(*game, shell);
        return refuseSecondCopy(*game, shell);
    }
    startUp(*game, shell);
    return runMenuCycles(*game, shell);
}
