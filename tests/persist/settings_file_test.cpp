// "settings.conf": what each line gives, what a bad line or a bad file costs, and what a
// rewrite keeps of the player's own lines.

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <filesystem>

#include "media/files/safe_replace.h"
#include "media/scripted/scripted_media.h"
#include "persist/settings.h"
#include "support/test_support.h"

namespace {

struct SettingsFileTest : ::testing::Test {
    ScratchFolder folder{"settings"};
    WorkingFolder inFolder{folder.path()};
    ScriptedMedia media;
    SettingsFile file{SettingsFileName, false, {}};

    void writeText(const std::string& text) { writeBytes(SettingsFileName, {text.begin(), text.end()}); }
    std::string readText() {
        const std::vector<uint8_t> bytes = readBytes(SettingsFileName);
        return {bytes.begin(), bytes.end()};
    }
};

Settings parsed(const std::string& text) { return parseSettings(splitLines(text), "settings.conf").settings; }

}  // namespace

TEST(SettingsValues, EveryKeyTakesEachOfItsWords) {
    // The words are the file's format: a player's file written by another version reads the same.
    const std::vector<std::vector<std::string>> words = {{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"},
                                                         {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"},
                                                         {"fullscreen", "window"},
                                                         {"nothing", "turn_back", "lock"},
                                                         {"nothing", "lock"},
                                                         {"off", "on"},
                                                         {"off", "on"},
                                                         {"off", "on"}};
    ASSERT_EQ(words.size(), static_cast<size_t>(SettingCount));
    for (int i = 0; i < SettingCount; ++i)
        EXPECT_EQ(std::vector<std::string>(settingWords(static_cast<SettingId>(i)).begin(),
                                           settingWords(static_cast<SettingId>(i)).end()),
                  words[static_cast<size_t>(i)])
            << settingKey(static_cast<SettingId>(i));
    const Settings defaults;
    EXPECT_EQ(parsed(""), defaults);
    for (int i = 0; i < SettingCount; ++i) {
        const SettingId id = static_cast<SettingId>(i);
        const std::vector<const char*>& words = settingWords(id);
        for (size_t choice = 0; choice < words.size(); ++choice) {
            const Settings settings = parsed(std::string(settingKey(id)) + " = " + words[choice] + "\n");
            EXPECT_EQ(settingChoice(settings, id), static_cast<int>(choice)) << settingKey(id) << " " << words[choice];
            // Nothing else moves.
            Settings expected = defaults;
            setSettingChoice(expected, id, static_cast<int>(choice));
            EXPECT_EQ(settings, expected) << settingKey(id);
        }
    }
    const Settings all = parsed(
        "effects_volume = 3\nmusic_volume=0\n  start =window  \nright_button = turn_back\nmiddle_button = lock\n"
        "lit_network = on\nundo_restart = on\nlevel_summary = on\n");
    EXPECT_EQ(all.effectsVolume, 3);
    EXPECT_EQ(all.musicVolume, 0);
    EXPECT_EQ(all.start, StartMode::Window);
    EXPECT_EQ(all.rightButton, RightButtonUse::TurnBack);
    EXPECT_EQ(all.middleButton, MiddleButtonUse::Lock);
    EXPECT_TRUE(all.litNetwork && all.undoRestart && all.levelSummary);
}

TEST(SettingsValues, AWrongValueGivesThatKeysDefaultAndOneWarningNamingFileLineAndKey) {
    const ParsedSettings result = parseSettings(splitLines("# mine\nmusic_volume = 4\neffects_volume = 11\n"
                                                           "start = Window\nlit_network = yes\nright_button=\n"),
                                                "conf/settings.conf");
    EXPECT_EQ(result.settings.musicVolume, 4) << "a good line is taken whatever is wrong elsewhere";
    EXPECT_EQ(result.settings.effectsVolume, 10);
    EXPECT_EQ(result.settings.start, StartMode::FullScreen) << "words are taken as they are spelt, case included";
    EXPECT_FALSE(result.settings.litNetwork);
    EXPECT_EQ(result.settings.rightButton, RightButtonUse::Nothing);
    ASSERT_EQ(result.warnings.size(), 4u);
    EXPECT_EQ(result.warnings[0].rfind("conf/settings.conf line 3: effects_volume cannot be \"11\"", 0), 0u)
        << result.warnings[0];
    EXPECT_NE(result.warnings[1].find("line 4: start"), std::string::npos) << result.warnings[1];
    EXPECT_NE(result.warnings[2].find("line 5: lit_network"), std::string::npos) << result.warnings[2];
    EXPECT_NE(result.warnings[3].find("line 6: right_button cannot be \"\""), std::string::npos) << result.warnings[3];
    // A later good line still counts: the last word for a key is the one taken.
    EXPECT_EQ(parsed("effects_volume = 2\neffects_volume = 7\n").effectsVolume, 7);
    EXPECT_EQ(parsed("effects_volume = 2\neffects_volume = 70\n").effectsVolume, 10);
}

TEST(SettingsValues, AGarbledFileTellsAFewLinesAndHowManyMore) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "\x01\x02 garbage line\n";
    const ParsedSettings result = parseSettings(splitLines(text), "settings.conf");
    EXPECT_EQ(result.settings, Settings{});
    ASSERT_EQ(result.warnings.size(), 9u);
    EXPECT_EQ(result.warnings.back(), "settings.conf: 32 more lines it could not take");
    EXPECT_EQ(result.warnings[0],
              "settings.conf line 1: \"?? garbage line\" is not a key = value line; it is kept as it is")
        << "a damaged file's bytes are not sent to the terminal";
    // Exactly as many bad lines as are told: each is told, and nothing "more".
    const ParsedSettings eight = parseSettings(std::vector<std::string>(8, "garbage"), "settings.conf");
    ASSERT_EQ(eight.warnings.size(), 8u);
    EXPECT_NE(eight.warnings.back().find("line 8:"), std::string::npos) << eight.warnings.back();
}

TEST(SettingsValues, EachVolumeStepIsThreeDecibelsAndZeroIsSilence) {
    EXPECT_EQ(volumeStepGain(10), 1.0f);
    EXPECT_EQ(volumeStepGain(0), 0.0f);
    for (int step = 1; step < 10; ++step)
        EXPECT_NEAR(20.0 * std::log10(volumeStepGain(step + 1) / volumeStepGain(step)), 3.0, 1e-4) << step;
    EXPECT_NEAR(volumeStepGain(5), 0.177828f, 1e-6);
}

TEST(SettingsValues, ARewriteKeepsCommentsAndUnknownKeysAndAddsTheMissingKeys) {
    Settings settings;
    settings.effectsVolume = 4;
    const std::vector<std::string> previous = {"# my own note", "effects_volume = 9   # too loud", "",
                                               "future_key = something", "music_volume = 2"};
    const std::vector<std::string> lines = settingsLines(previous, settings);
    ASSERT_GE(lines.size(), previous.size() + SettingCount - 2);
    EXPECT_EQ(lines[0], "# my own note");
    EXPECT_EQ(lines[1], "effects_volume = 4  # too loud");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "future_key = something");
    EXPECT_EQ(lines[4], "music_volume = 10") << "the value in force, not the one read";
    EXPECT_EQ(lines[5], "start = fullscreen");
    EXPECT_EQ(lines.back(), "level_summary = off");
    // What was written reads back as the settings that wrote it.
    Settings every;
    every.start = StartMode::Window;
    every.rightButton = RightButtonUse::Lock;
    every.undoRestart = true;
    EXPECT_EQ(parseSettings(settingsLines({}, every), "s").settings, every);
    EXPECT_TRUE(parseSettings(settingsLines({}, every), "s").warnings.empty());
}

TEST_F(SettingsFileTest, NoFileGivesTheDefaultsSilentlyAndNothingIsWrittenUntilAChange) {
    EXPECT_EQ(loadSettings(media, file), Settings{});
    EXPECT_TRUE(media.warnings.empty());
    EXPECT_FALSE(std::filesystem::exists(SettingsFileName));
    Settings changed;
    changed.musicVolume = 6;
    std::string failure;
    ASSERT_TRUE(saveSettings(media, file, changed, failure));
    EXPECT_EQ(failure, "");
    SettingsFile again{SettingsFileName, false, {}};
    EXPECT_EQ(loadSettings(media, again), changed);
}

TEST_F(SettingsFileTest, AFolderInItsPlaceOrAnOversizedFileGivesDefaultsAndIsNeverOverwritten) {
    std::filesystem::create_directory(SettingsFileName);
    EXPECT_EQ(loadSettings(media, file), Settings{});
    ASSERT_EQ(media.warnings.size(), 1u);
    EXPECT_NE(media.warnings[0].find("cannot read settings.conf"), std::string::npos) << media.warnings[0];
    std::string failure;
    EXPECT_FALSE(saveSettings(media, file, Settings{.effectsVolume = 2}, failure));
    EXPECT_NE(failure, "");
    EXPECT_TRUE(std::filesystem::is_directory(SettingsFileName));

    std::filesystem::remove(SettingsFileName);
    writeText(std::string(MaxSettingsFileBytes, '#') + "\neffects_volume = 1\n");
    SettingsFile large{SettingsFileName, false, {}};
    EXPECT_EQ(loadSettings(media, large), Settings{});
    EXPECT_NE(media.warnings.back().find("larger than 64 KiB"), std::string::npos) << media.warnings.back();
    EXPECT_FALSE(saveSettings(media, large, Settings{.effectsVolume = 2}, failure));
    EXPECT_EQ(std::filesystem::file_size(SettingsFileName), MaxSettingsFileBytes + 20);
}

TEST_F(SettingsFileTest, APlantedLinkAtItsNameIsReplacedNeverFollowed) {
    writeBytes("elsewhere", {'k', 'e', 'e', 'p'});
    std::filesystem::create_symlink("elsewhere", SettingsFileName);
    loadSettings(media, file);
    std::string failure;
    ASSERT_TRUE(saveSettings(media, file, Settings{.musicVolume = 3}, failure)) << failure;
    EXPECT_EQ(readBytes("elsewhere"), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
    EXPECT_FALSE(std::filesystem::is_symlink(SettingsFileName));
    EXPECT_NE(readText().find("music_volume = 3"), std::string::npos);
}

TEST_F(SettingsFileTest, AFullDiskKeepsThePreviousFileAndSaysSo) {
    writeText("effects_volume = 5\n");
    loadSettings(media, file);
    media.fileWriteCalls().write = [](const void*, size_t, size_t, std::FILE*) -> size_t {
        errno = ENOSPC;
        return 0;
    };
    std::string failure;
    EXPECT_FALSE(saveSettings(media, file, Settings{.effectsVolume = 1}, failure));
    EXPECT_EQ(failure, "No space left on device");
    EXPECT_EQ(readText(), "effects_volume = 5\n");
    // A later save that works says nothing failed, whatever the last one said.
    media.fileWriteCalls() = WriteCalls{};
    EXPECT_TRUE(saveSettings(media, file, Settings{.effectsVolume = 1}, failure));
    EXPECT_EQ(failure, "");
    media.fileWriteCalls().write = [](const void*, size_t, size_t, std::FILE*) -> size_t {
        errno = ENOSPC;
        return 0;
    };
    ASSERT_FALSE(media.warnings.empty());
    EXPECT_NE(media.warnings.back().find("the previous file is kept"), std::string::npos) << media.warnings.back();
    // Nothing there before: no previous file to speak of.
    std::filesystem::remove(SettingsFileName);
    EXPECT_FALSE(saveSettings(media, file, Settings{.effectsVolume = 1}, failure));
    EXPECT_EQ(media.warnings.back().find("previous"), std::string::npos) << media.warnings.back();
}

TEST_F(SettingsFileTest, SavingAgainKeepsThePlayersFileLineForLine) {
    const std::string text = "# mine\n\neffects_volume = 5  # quiet\nfuture_key = x\n";
    EXPECT_EQ(splitLines(text),
              (std::vector<std::string>{"# mine", "", "effects_volume = 5  # quiet", "future_key = x"}));
    EXPECT_EQ(splitLines("no newline at the end"), (std::vector<std::string>{"no newline at the end"}));
    writeText(text);
    const Settings settings = loadSettings(media, file);
    std::string failure;
    ASSERT_TRUE(saveSettings(media, file, settings, failure)) << failure;
    const std::string once = readText();
    EXPECT_EQ(once.rfind(text, 0), 0u) << once;
    SettingsFile again{SettingsFileName, false, {}};
    ASSERT_TRUE(saveSettings(media, again, loadSettings(media, again), failure)) << failure;
    EXPECT_EQ(readText(), once) << "no line is added by reading and writing it again";
}

TEST_F(SettingsFileTest, AnInstalledGameWithNoFolderOfThePlayersKeepsNothing) {
    SettingsFile nowhere{"", false, {}};
    EXPECT_EQ(loadSettings(media, nowhere), Settings{});
    std::string failure;
    EXPECT_FALSE(saveSettings(media, nowhere, Settings{.effectsVolume = 1}, failure));
    EXPECT_NE(failure, "");
    EXPECT_FALSE(std::filesystem::exists(SettingsFileName));
}
