// The track list over the game's own "tracks" and the player's own music folder.

#include <gtest/gtest.h>

#include <filesystem>

#include "media/scripted/scripted_media.h"
#include "play/track_player.h"
#include "support/test_support.h"

namespace {

struct PlayerTracks : ::testing::Test {
    ScratchFolder folder{"player-tracks"};
    WorkingFolder here{folder.path()};
    ScriptedMedia media;
    TrackPlayer player;
    std::string mine = folder.file("home/.local/share/cablewright/tracks");
};

}  // namespace

TEST_F(PlayerTracks, TheGamesOwnComeFirstThenThePlayersEachSortedByName) {
    writeBytes("tracks/theme.ogg", {1});
    writeBytes("tracks/beat.wav", {1});
    writeBytes(mine + "/zebra.ogg", {1});
    writeBytes(mine + "/alpha.wav", {1});
    writeBytes(mine + "/notes.txt", {1});
    buildTrackList(player, media, mine);
    ASSERT_EQ(player.trackCount, 4);
    EXPECT_EQ(trackPath(player, 0), "tracks/beat.wav");
    EXPECT_EQ(trackPath(player, 1), "tracks/theme.ogg");
    EXPECT_EQ(trackPath(player, 2), mine + "/alpha.wav");
    EXPECT_EQ(trackPath(player, 3), mine + "/zebra.ogg");
    EXPECT_TRUE(media.warnings.empty());
}

TEST_F(PlayerTracks, FiftyInAllWithTheGamesOwnKept) {
    for (int i = 0; i < 45; ++i) writeBytes("tracks/own" + std::to_string(100 + i) + ".ogg", {1});
    for (int i = 0; i < 10; ++i) writeBytes(mine + "/mine" + std::to_string(i) + ".ogg", {1});
    buildTrackList(player, media, mine);
    EXPECT_EQ(player.trackCount, 50);
    EXPECT_EQ(trackPath(player, 44), "tracks/own144.ogg");
    EXPECT_EQ(trackPath(player, 45), mine + "/mine0.ogg");
    EXPECT_EQ(trackPath(player, 49), mine + "/mine4.ogg");
}

TEST_F(PlayerTracks, NoPlayerFolderIsNoProblemButAnUnreadableOneIsNamed) {
    writeBytes("tracks/theme.ogg", {1});
    buildTrackList(player, media, mine);
    EXPECT_EQ(player.trackCount, 1);
    EXPECT_TRUE(media.warnings.empty());

    TrackPlayer again;
    writeBytes(mine, {1});  // a file where the folder should be
    buildTrackList(again, media, mine);
    EXPECT_EQ(again.trackCount, 1);
    ASSERT_EQ(media.warnings.size(), 1u);
    EXPECT_NE(media.warnings[0].find(mine), std::string::npos) << media.warnings[0];
}

TEST_F(PlayerTracks, ThePlayersMusicPlaysFromItsOwnFolder) {
    std::filesystem::create_directories("tracks");
    // Not a sound: loading it fails, and the warning names the file it tried.
    writeBytes(mine + "/song.ogg", {1, 2, 3});
    buildTrackList(player, media, mine);
    ASSERT_EQ(player.trackCount, 1);
    startMusic(player, media);
    ASSERT_FALSE(media.warnings.empty());
    EXPECT_NE(media.warnings[0].find(mine + "/song.ogg"), std::string::npos) << media.warnings[0];
}

TEST_F(PlayerTracks, WithoutTheGamesOwnFolderTheGameStillStops) {
    writeBytes(mine + "/song.ogg", {1});
    EXPECT_THROW(buildTrackList(player, media, mine), FatalError);
}
