// The records file on arbitrary bytes, as loaded at start-up. A file cut short is kept beside
// as it is read: that copy is written without syncing the disk, which would slow the fuzzing
// a hundredfold and is the disk's business, not the loader's.

#include "fuzz_support.h"
#include "media/scripted/scripted_media.h"
#include "persist/progress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    enterScratchFolder();
    writeFile("oldgame.cws", std::span<const uint8_t>(data, size));
    static ScriptedMedia media;
    media.fileWriteCalls().sync = [](int) { return 0; };
    media.warnings.clear();  // one for each damaged file: they would pile up over millions of inputs
    Progress progress;
    loadRecords(media, progress);
    // The entries a short file lacks are unplayed, never a time of 0 that nothing beats.
    for (size_t entry = size / 4; size < 4 * RecordCount && entry < RecordCount; ++entry)
        if (progress.bestTimes[entry] != UnbeatenTime) __builtin_trap();
    return 0;
}
