// Saving both files at once: as play is left, and off the frame's path as a level is
// completed; what became of those, and what a killed save left behind.
// The best times go first: a crash between the two writes then leaves the completed level
// to be played again with its best time kept, never the next level with the time lost.

#include "media/media_layer.h"
#include "persist/progress.h"
#include "persist/progress_file.h"

void saveProgress(MediaLayer& media, Progress& progress) {
    // What the earlier saves came to is told first: these are newer.
    media.waitForWrites();
    noteFinishedSaves(media, progress);
    saveRecordsAt(media, progress, SaveTiming::Now);
    saveGameAt(media, progress, SaveTiming::Now);
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
            reportSaveFailure(media, progress.files, outcome.path, saveFailureMessage(outcome.path, outcome.failure));
    }
}

void removeUnfinishedSaves(MediaLayer& media, const Progress& progress) {
    if (!progress.files.kept) return;
    for (const char* name : {SavedGameFileName, RecordsFileName})
        media.removeUnfinishedWrite(progressPath(progress.files, name));
}
