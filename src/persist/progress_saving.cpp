// Saving both files at once: as play is left, and off the frame's path as a level is
// completed; what became of those, and what a killed save left behind.
// The best times go first: a crash between the two writes then leaves the completed level
// to be played again with its best time kept, never the next level with the time lost.

#include "media/media_layer.h"
#include "persist/progress.h"
#include "persist/progress_file.h"

void saveProgress(MediaLayer& media, Progress& progress) {
    // A request to end the program that comes meanwhile waits for both files.
    media.beginSave();
    // What the earlier saves came to is told first: these are newer.
    media.waitForWrites();
    noteFinishedSaves(media, progress);
    saveRecordsAt(media, progress, SaveTiming::Now);
    saveGameAt(media, progress, SaveTiming::Now);
    media.endSave();
}

void saveProgressSoon(MediaLayer& media, Progress& progress) {
    saveRecordsAt(media, progress, SaveTiming::Soon);
    saveGameAt(media, progress, SaveTiming::Soon);
}

void noteFinishedSaves(MediaLayer& media, Progress& progress) {
    for (const WriteOutcome& outcome : media.finishedWrites()) {
        if (outcome.failure.empty())
            noteSaved(progress.files, outcome.path);
        else
            reportFailedWrite(media, progress.files, outcome.path, outcome.failure);
    }
}

LockResult lockProgressFolder(MediaLayer& media, const Progress& progress) {
    if (!progress.files.kept) return LockResult::Taken;  // no folder: nothing to share
    const std::string path = progressPath(progress.files, "cablewright.lock");
    // The folder must be there to hold the lock; it is made as the player's data folder is.
    if (!progress.files.folder.empty()) media.createFolder(progress.files.folder);
    const LockResult result = media.lockFile(path);
    if (result == LockResult::Failed)
        media.warning("cannot lock " + path + " (" + media.fileError() +
                      "); a second copy of the game started for this player would not be stopped");
    return result;
}

void removeUnfinishedSaves(MediaLayer& media, const Progress& progress) {
    if (!progress.files.kept) return;
    for (const char* name : {SavedGameFileName, RecordsFileName})
        media.removeUnfinishedWrite(progressPath(progress.files, name));
}
