#pragma once
// What the saved game and the records have in common: where they live, how their
// 32-bit little-endian values are read whole, and how they are written safely.

#include <cstdint>
#include <span>
#include <string>

#include "media/files/file_types.h"

class MediaLayer;
struct Progress;
struct ProgressFileState;

extern const char* const SavedGameFileName;  // "oldgame.cwm"
extern const char* const RecordsFileName;    // "oldgame.cws"

// The file's path in the progress folder.
std::string progressPath(const ProgressFileState& files, const std::string& name);
// Fills values from the start of the file; bytes the file does not have read as 0, so a
// missing or unreadable file gives all zeros.
FileRead readProgressValues(MediaLayer& media, const ProgressFileState& files, const std::string& path,
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
// Says that a save of the file failed and why, unless that was said since its last good save.
void reportSaveFailure(MediaLayer& media, ProgressFileState& files, const std::string& path,
                       const std::string& message);
// A save of the file worked: its next failure is worth a word again.
void noteSaved(ProgressFileState& files, const std::string& path);
// "could not save <path> (<reason>); the previous file is kept"
std::string saveFailureMessage(const std::string& path, const std::string& reason);
