#include "media/media_layer.h"
#include "persist/progress.h"

namespace {
const char* const RecordsPath = "oldgame.cws";
}

void loadRecords(MediaLayer& media, Progress& progress) {
    const Stream stream = media.openForRead(RecordsPath);
    if (stream == 0) {
        // The records ship with the game; if they were deleted, start from the
        // shipped times so best times can still be set (the file is written
        // again when play is left).
        progress.bestTimes.fill(UnbeatenTime);
        return;
    }
    // A short file leaves its missing entries at 0.
    for (int& best : progress.bestTimes) best = media.readI32(stream);
    media.closeStream(stream);
}

void saveRecords(MediaLayer& media, const Progress& progress) {
    const Stream stream = media.openForWrite(RecordsPath);
    for (int best : progress.bestTimes) media.writeI32(stream, best);
    media.closeStream(stream);
}
