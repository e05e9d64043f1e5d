// "settings.conf": read once at start-up, written when the player changes a value.

#include "persist/settings.h"

#include <cmath>

#include "media/media_layer.h"

namespace {

// ---- The settings one by one ------------------------------------------------------

const std::vector<const char*> VolumeWords = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
const std::vector<const char*> OnOffWords = {"off", "on"};

struct SettingEntry {
    const char* key;
    std::vector<const char*> words;
};

const std::array<SettingEntry, SettingCount>& settingEntries() {
    static const std::array<SettingEntry, SettingCount> entries = {{
        {"effects_volume", VolumeWords},
        {"music_volume", VolumeWords},
        {"start", {"fullscreen", "window"}},
        {"right_button", {"nothing", "turn_back", "lock"}},
        {"middle_button", {"nothing", "lock"}},
        {"lit_network", OnOffWords},
        {"undo_restart", OnOffWords},
        {"level_summary", OnOffWords},
    }};
    return entries;
}

const SettingEntry& entryOf(SettingId id) { return settingEntries()[static_cast<size_t>(id)]; }

// ---- Lines of text -------------------------------------------------------------------

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// A line split at its comment and its '=': empty key for a blank or comment-only line.
struct SettingLine {
    std::string key, value, comment;
    bool hasEquals = false;
};

SettingLine splitSettingLine(const std::string& line) {
    SettingLine parts;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) parts.comment = line.substr(hash);
    const std::string body = line.substr(0, hash);
    const size_t equals = body.find('=');
    parts.hasEquals = equals != std::string::npos;
    parts.key = trimmed(body.substr(0, equals));
    if (parts.hasEquals) parts.value = trimmed(body.substr(equals + 1));
    return parts;
}

int settingIndexOf(const std::string& key) {
    for (int i = 0; i < SettingCount; ++i)
        if (key == settingEntries()[static_cast<size_t>(i)].key) return i;
    return -1;
}

int wordIndexOf(const std::vector<const char*>& words, const std::string& value) {
    for (size_t i = 0; i < words.size(); ++i)
        if (value == words[i]) return static_cast<int>(i);
    return -1;
}

std::string wordList(const std::vector<const char*>& words) {
    std::string list;
    for (const char* word : words) list += (list.empty() ? "" : ", ") + std::string(word);
    return list;
}

// A damaged file could hold thousands of bad lines: a few are told, then how many more.
constexpr size_t MostLineWarnings = 8;

// A word of the file as a warning quotes it: a damaged file's bytes are not sent to the
// terminal as they are, nor a line of any length.
std::string quoted(const std::string& text) {
    constexpr size_t MostShown = 40;
    std::string shown;
    for (const char c : text.substr(0, MostShown)) shown += (c >= ' ' && c <= '~') ? c : '?';
    return "\"" + shown + (text.size() > MostShown ? "...\"" : "\"");
}

std::string lineWhere(const std::string& path, size_t lineNumber) {
    return path + " line " + std::to_string(lineNumber) + ": ";
}

}  // namespace

float volumeStepGain(int step) {
    if (step <= 0) return 0.0f;
    if (step >= LoudestVolumeStep) return 1.0f;
    return static_cast<float>(std::pow(10.0, -3.0 * (LoudestVolumeStep - step) / 20.0));
}

const char* settingKey(SettingId id) { return entryOf(id).key; }

const std::vector<const char*>& settingWords(SettingId id) { return entryOf(id).words; }

int settingChoice(const Settings& settings, SettingId id) {
    switch (id) {
        case SettingId::EffectsVolume: return settings.effectsVolume;
        case SettingId::MusicVolume: return settings.musicVolume;
        case SettingId::Start: return static_cast<int>(settings.start);
        case SettingId::RightButton: return static_cast<int>(settings.rightButton);
        case SettingId::MiddleButton: return static_cast<int>(settings.middleButton);
        case SettingId::LitNetwork: return settings.litNetwork ? 1 : 0;
        case SettingId::UndoRestart: return settings.undoRestart ? 1 : 0;
        case SettingId::LevelSummary: return settings.levelSummary ? 1 : 0;
    }
    return 0;
}

void setSettingChoice(Settings& settings, SettingId id, int choice) {
    const int last = static_cast<int>(settingWords(id).size()) - 1;
    choice = choice < 0 ? 0 : (choice > last ? last : choice);
    switch (id) {
        case SettingId::EffectsVolume: settings.effectsVolume = choice; break;
        case SettingId::MusicVolume: settings.musicVolume = choice; break;
        case SettingId::Start: settings.start = static_cast<StartMode>(choice); break;
        case SettingId::RightButton: settings.rightButton = static_cast<RightButtonUse>(choice); break;
        case SettingId::MiddleButton: settings.middleButton = static_cast<MiddleButtonUse>(choice); break;
        case SettingId::LitNetwork: settings.litNetwork = choice == 1; break;
        case SettingId::UndoRestart: settings.undoRestart = choice == 1; break;
        case SettingId::LevelSummary: settings.levelSummary = choice == 1; break;
    }
}

// ---- Reading -----------------------------------------------------------------------

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

ParsedSettings parseSettings(const std::vector<std::string>& lines, const std::string& path) {
    ParsedSettings parsed;
    std::vector<std::string> warnings;
    for (size_t number = 1; number <= lines.size(); ++number) {
        const SettingLine line = splitSettingLine(lines[number - 1]);
        if (line.key.empty() && !line.hasEquals) continue;  // blank, or a comment
        const int index = settingIndexOf(line.key);
        if (!line.hasEquals) {
            warnings.push_back(lineWhere(path, number) + quoted(line.key) +
                               " is not a key = value line; it is kept as it is");
            continue;
        }
        if (index < 0) {
            warnings.push_back(lineWhere(path, number) + "unknown key " + quoted(line.key) + "; it is kept as it is");
            continue;
        }
        const SettingId id = static_cast<SettingId>(index);
        const int choice = wordIndexOf(settingWords(id), line.value);
        if (choice < 0) {
            const Settings defaults;
            warnings.push_back(lineWhere(path, number) + line.key + " cannot be " + quoted(line.value) +
                               " (it is one of " + wordList(settingWords(id)) + "); the default " +
                               settingWords(id)[static_cast<size_t>(settingChoice(defaults, id))] + " is used");
            setSettingChoice(parsed.settings, id, settingChoice(defaults, id));
            continue;
        }
        setSettingChoice(parsed.settings, id, choice);
    }
    for (size_t i = 0; i < warnings.size() && i < MostLineWarnings; ++i) parsed.warnings.push_back(warnings[i]);
    if (warnings.size() > MostLineWarnings)
        parsed.warnings.push_back(path + ": " + std::to_string(warnings.size() - MostLineWarnings) +
                                  " more lines it could not take");
    return parsed;
}

Settings loadSettings(MediaLayer& media, SettingsFile& file) {
    file.lines.clear();
    if (file.path.empty()) return Settings{};
    std::vector<uint8_t> bytes;
    const FileRead read = media.readFileStart(file.path, MaxSettingsFileBytes + 1, bytes);
    if (read == FileRead::Missing) return Settings{};
    if (read == FileRead::Unreadable || bytes.size() > MaxSettingsFileBytes) {
        file.unreadable = true;
        const std::string reason = read == FileRead::Unreadable
                                       ? media.fileError()
                                       : "larger than " + std::to_string(MaxSettingsFileBytes / 1024) + " KiB";
        media.warning("cannot read " + file.path + " (" + reason +
                      "); the default settings are used and the file is left untouched");
        return Settings{};
    }
    file.lines = splitLines(std::string(bytes.begin(), bytes.end()));
    ParsedSettings parsed = parseSettings(file.lines, file.path);
    for (const std::string& warning : parsed.warnings) media.warning(warning);
    return parsed.settings;
}

// ---- Writing -------------------------------------------------------------------------

std::vector<std::string> settingsLines(const std::vector<std::string>& previous, const Settings& settings) {
    std::vector<std::string> lines;
    std::array<bool, SettingCount> written{};
    const auto lineOf = [&settings](SettingId id) {
        return std::string(settingKey(id)) + " = " + settingWords(id)[static_cast<size_t>(settingChoice(settings, id))];
    };
    if (previous.empty()) lines.push_back("# Cablewright's settings: key = value; from a # on, a line is a comment.");
    for (const std::string& text : previous) {
        const SettingLine line = splitSettingLine(text);
        const int index = line.hasEquals ? settingIndexOf(line.key) : -1;
        if (index < 0) {
            lines.push_back(text);
            continue;
        }
        written[static_cast<size_t>(index)] = true;
        lines.push_back(lineOf(static_cast<SettingId>(index)) + (line.comment.empty() ? "" : "  " + line.comment));
    }
    for (int i = 0; i < SettingCount; ++i)
        if (!written[static_cast<size_t>(i)]) lines.push_back(lineOf(static_cast<SettingId>(i)));
    return lines;
}

bool saveSettings(MediaLayer& media, SettingsFile& file, const Settings& settings, std::string& failure) {
    failure.clear();
    if (file.path.empty()) {
        failure = "no folder of the player's to keep them in";
        media.warning(
            "settings not saved: the game is installed and there is no folder of the player's to keep "
            "them in (no home folder)");
        return false;
    }
    if (file.unreadable) {
        failure = std::string(SettingsFileName) + " could not be read";
        media.warning("settings not saved: " + file.path + " could not be read, so it is left untouched");
        return false;
    }
    const std::vector<std::string> lines = settingsLines(file.lines, settings);
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    const bool hadFile = media.isRegularFile(file.path);
    if (!media.replaceFile(file.path, std::vector<uint8_t>(text.begin(), text.end()))) {
        failure = media.fileError();
        media.warning("could not save " + file.path + " (" + failure + ")" +
                      (hadFile ? "; the previous file is kept" : ""));
        return false;
    }
    file.lines = lines;
    return true;
}
