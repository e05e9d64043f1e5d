// Cablewright: connect every computer to the Server.

#include <unistd.h>

#include <filesystem>

#include "media/sdl_media.h"
#include "shell/run_game.h"

namespace {

// The game runs from its installation folder whichever folder it is started from.
void enterProgramFolder(const char* argv0) {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) program = std::filesystem::absolute(argv0, error);
    if (!error && program.has_parent_path()) std::filesystem::current_path(program.parent_path(), error);
}

}  // namespace

int main(int, char** argv) {
    enterProgramFolder(argv[0]);
    SdlMedia media;
    return runGame(media);
}
