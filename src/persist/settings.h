#pragma once
// The player's own settings and "settings.conf", the text file that keeps them: lines of
// `key = value`, a `#` starting a comment. Every setting's default is the game as it has
// always played, so a player who never opens Options never gets the file.

#include <array>
#include <string>
#include <vector>

class MediaLayer;

enum class StartMode { FullScreen, Window };
enum class RightButtonUse { Nothing, TurnBack, Lock };
enum class MiddleButtonUse { Nothing, Lock };

constexpr int LoudestVolumeStep = 10;  // volume steps run 0 (silent) to 10 (as loud as the sound itself)

struct Settings {
    int effectsVolume = LoudestVolumeStep;
    int musicVolume = LoudestVolumeStep;
    StartMode start = StartMode::FullScreen;
    RightButtonUse rightButton = RightButtonUse::Nothing;
    MiddleButtonUse middleButton = MiddleButtonUse::Nothing;
    bool litNetwork = false;
    bool undoRestart = false;
    bool levelSummary = false;

    bool operator==(const Settings&) const = default;
};

// The gain of a volume step: 0 is silence, and each step above it is 3 dB louder than the
// one below, up to 1 at step 10.
float volumeStepGain(int step);

// ---- The settings one by one, as the file names them ------------------------------
enum class SettingId {
    EffectsVolume,
    MusicVolume,
    Start,
    RightButton,
    MiddleButton,
    LitNetwork,
    UndoRestart,
    LevelSummary
};
constexpr int SettingCount = 8;

// The key of a setting in the file ("effects_volume").
const char* settingKey(SettingId id);
// The words its value may take, in order ("0" .. "10"; "off", "on").
const std::vector<const char*>& settingWords(SettingId id);
// Which of its words the setting holds now, and the setting made to hold another.
int settingChoice(const Settings& settings, SettingId id);
void setSettingChoice(Settings& settings, SettingId id, int choice);

// ---- The file ---------------------------------------------------------------------
constexpr const char* SettingsFileName = "settings.conf";
// Larger than any settings file a person writes: a larger one is refused unread.
constexpr size_t MaxSettingsFileBytes = 64 * 1024;

struct SettingsFile {
    std::string path;                // where it is read and written; "" = nowhere
    bool unreadable = false;         // there but not readable: never overwritten in this run
    std::vector<std::string> lines;  // as last read or written, comments and unknown keys kept
};

// What a text holds: the settings it gives (defaults where a key is missing or wrong) and
// a warning for each line it could not take, naming the file, the line and the key.
struct ParsedSettings {
    Settings settings;
    std::vector<std::string> warnings;
};
ParsedSettings parseSettings(const std::vector<std::string>& lines, const std::string& path);
// The lines to write: each known key's line given the setting's word (its comment kept),
// every other line as it was, and the keys the file lacks added after them.
std::vector<std::string> settingsLines(const std::vector<std::string>& previous, const Settings& settings);
std::vector<std::string> splitLines(const std::string& text);

// Reads the file once, at start-up. Missing: every default, silently. Unreadable, too large
// or a folder in its place: every default, one warning, and the file is left alone.
Settings loadSettings(MediaLayer& media, SettingsFile& file);
// Writes the settings over the file by safe replace. False, with a warning and the previous
// file kept, when it cannot; failure then says why ("" when it was written).
bool saveSettings(MediaLayer& media, SettingsFile& file, const Settings& settings, std::string& failure);
