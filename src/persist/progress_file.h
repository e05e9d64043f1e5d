#pragma once
// What the saved game and the records have in common: where they live, how their
// 32-bit little-endian values are read whole, and how they are written safely.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "media/files/file_types.h"

class MediaLayer;
struct Progress;
struct ProgressFileState;
struct UnsavedFile;

extern const char* const SavedGameFileName;  // "oldgame.cwm"
extern const char* const RecordsFileName;    // "oldgame.cws"

// The file's path in the progress folder.
std::string progressPath(const ProgressFileState& files, const std::string& name);
// What reading a progress file came to, and the bytes read (those before a read error too).
struct ValuesRead {
    FileRead result = FileRead::Missing;
    std::vector<uint8_t> bytes;
};
// Fills values from the start of the file; bytes the file does not have read as 0, so a
// missing or unreadable file gives all zeros.
ValuesRead readProgressValues(MediaLayer& media, const ProgressFileState& files, const std::string& path,
                              std::span<int32_t> values);
// Says that the file is there but cannot be read (with the reason of the last read).
void reportUnreadable(MediaLayer& media, const std::string& path);
// Now (as play is left) or off the frame's path (as a level is completed).
enum class SaveTiming { Now, Soon };
// The two saves, now or soon.
void saveGameAt(MediaLayer& media, Progress& progress, SaveTiming timing);
void saveRecordsAt(MediaLayer& media, Progress& progress, SaveTiming timing);
// Writes the values over the file, creating the progress folder first when needed.
// On failure a warning names the file and the reason, and the previous file stays.
void writeProgressValues(MediaLayer& media, ProgressFileState& files, const std::string& path,
                         std::span<const int32_t> values, SaveTiming timing);
// Says that a save of the file failed: the message on standard error, unless it was said
// since the file's last good save, and the lines on screen until a save of it works.
void reportSaveFailure(MediaLayer& media, ProgressFileState& files, const std::string& path, const std::string& message,
                       const UnsavedFile& shown);
// The same for a write of the file that failed for the reason given.
void reportFailedWrite(MediaLayer& media, ProgressFileState& files, const std::string& path, const std::string& reason);
// A save of the file worked: it is no longer shown, and its next failure is worth a word again.
void noteSaved(ProgressFileState& files, const std::string& path);

// ---- How a failed save is told (save_failure_text.cpp) -----------------------------------
// "could not save <path> (<reason>)", and "; the previous file is kept" when there is one.
std::string saveFailureMessage(const std::string& path, const std::string& reason, bool previousKept);
// The lines on screen for the same: "Progress not saved: <folder> is not writable" ...
UnsavedFile unsavedFileLines(const std::string& path, const std::string& reason, bool previousKept);
// The lines for a save that was never tried: what was not saved (the game, the best times),
// its file, and why that is left as it is.
UnsavedFile untouchedFileLines(const std::string& what, const std::string& path, const std::string& why);
