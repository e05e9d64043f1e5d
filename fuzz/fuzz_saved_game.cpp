// The saved game on arbitrary bytes: probe and load. (Saving writes only what was
// read into memory, and syncs the disk, which would slow the fuzzing a hundredfold.)

#include "fuzz_support.h"
#include "media/scripted/scripted_media.h"
#include "persist/progress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    enterScratchFolder();
    writeFile("oldgame.cwm", std::span<const uint8_t>(data, size));
    static ScriptedMedia media;
    Progress progress;
    if (!probeSavedGame(media, progress)) __builtin_trap();
    loadGame(media, progress);
    // Whatever was read, the game must be left on a real level and rank.
    if (progress.levelIndex < 0 || progress.levelIndex >= 78 || progress.rankIndex < 0 || progress.rankIndex > 9)
        __builtin_trap();
    return 0;
}
