// The records file on arbitrary bytes, as loaded at start-up.

#include "fuzz_support.h"
#include "media/scripted/scripted_media.h"
#include "persist/progress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    enterScratchFolder();
    writeFile("oldgame.cws", std::span<const uint8_t>(data, size));
    static ScriptedMedia media;
    Progress progress;
    loadRecords(media, progress);
    return 0;
}
