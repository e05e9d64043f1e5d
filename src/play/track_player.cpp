// The music player over the "tracks" folder.

#include "play/track_player.h"

#include "media/media_layer.h"

namespace {

// Music files are told by their last letter: .ogg and .wav (exact case), not .txt or a folder "old".
bool looksLikeTrack(const std::string& name) {
    if (name == "." || name == "..") return false;
    return !name.empty() && (name.back() == 'g' || name.back() == 'v');
}

void stepTrack(TrackPlayer& player, int direction) {
    player.currentTrack += direction;
    if (player.currentTrack < 0) player.currentTrack = player.trackCount - 1;
    if (player.currentTrack >= player.trackCount) player.currentTrack = 0;
}

// Opens the current track for streaming (only its header is read here). A file that cannot
// be read is skipped for the next one in the direction of travel; 0 when none can be read.
Channel openCurrentTrack(TrackPlayer& player, MediaLayer& media, int direction, bool paused) {
    for (int tried = 0; tried < player.trackCount; ++tried) {
        const std::string path = trackPath(player, player.currentTrack);
        if (const Channel channel = media.streamTrack(path, paused)) return channel;
        media.warning("cannot play music file " + path + "; skipping it");
        stepTrack(player, direction);
    }
    return 0;
}

// Appends the folder's music files while there is room; false when it cannot be listed.
// A named pipe, a device or a folder with a track's name is left out, with a word: opening
// one could hold the game for good.
bool addTracksFrom(TrackPlayer& player, MediaLayer& media, const std::string& folder) {
    const DirectoryListing listing = media.openDirectory(folder);
    if (listing == 0) return false;
    for (std::string name = media.nextDirectoryEntry(listing); !name.empty();
         name = media.nextDirectoryEntry(listing)) {
        if (!looksLikeTrack(name) || player.trackCount >= MaxTracks) continue;
        if (!media.isRegularFile(folder + "/" + name)) {
            media.warning("music file " + folder + "/" + name + " is not a regular file; it is left out");
            continue;
        }
        player.trackFolders[player.trackCount] = folder;
        player.trackNames[player.trackCount++] = name;
    }
    media.closeDirectory(listing);
    return true;
}

// The next track is opened before the current one stops: the mixer lets a stopped track play
// on until the track that replaced it has its first samples, and an open that is slow on a
// busy machine would otherwise fall between the two and leave a gap.
void switchTrack(TrackPlayer& player, MediaLayer& media, int direction) {
    if (player.trackCount == 0) return;
    const Channel playing = player.musicChannel;
    stepTrack(player, direction);
    player.musicChannel = openCurrentTrack(player, media, direction, false);
    media.stopChannel(playing);
    player.musicTarget = 1.0f;
}

}  // namespace

void buildTrackList(TrackPlayer& player, MediaLayer& media, const std::string& playerFolder) {
    if (!addTracksFrom(player, media, GameTracksFolder)) media.fatalError("failed to read ''Tracks'' directory");
    if (playerFolder.empty() || addTracksFrom(player, media, playerFolder) || media.fileMissing()) return;
    media.warning("cannot read music folder " + playerFolder + " (" + media.fileError() + "); its music is left out");
}

std::string trackPath(const TrackPlayer& player, int index) {
    return player.trackFolders[index] + "/" + player.trackNames[index];
}

void startMusic(TrackPlayer& player, MediaLayer& media) {
    if (player.trackCount == 0) return;
    player.musicChannel = openCurrentTrack(player, media, +1, true);
    media.setChannelVolume(player.musicChannel, 0.0f);
    media.resumeChannel(player.musicChannel);
    // musicVolume stays where leaving play left it (0), so the track fades in.
    player.musicTarget = 1.0f;
}

void previousTrack(TrackPlayer& player, MediaLayer& media) { switchTrack(player, media, -1); }

void nextTrack(TrackPlayer& player, MediaLayer& media) { switchTrack(player, media, +1); }

void fadeMusicIn(TrackPlayer& player) { player.musicTarget = 1.0f; }

void fadeMusicOut(TrackPlayer& player) { player.musicTarget = 0.0f; }

// Single-precision steps in this order, so the volume settles within one step of the target.
void stepMusicVolume(TrackPlayer& player, MediaLayer& media) {
    if (!(player.musicVolume >= player.musicTarget)) player.musicVolume += 0.02f;
    if (player.musicVolume > player.musicTarget) player.musicVolume -= 0.02f;
    if (player.musicVolume > 1.0f) {
        player.musicVolume = 1.0f;
        player.musicTarget = 1.0f;
    }
    if (player.musicVolume < 0.0f) {
        player.musicVolume = 0.0f;
        player.musicTarget = 0.0f;
    }
    media.setChannelVolume(player.musicChannel, player.musicVolume);
}

void stopMusic(TrackPlayer& player, MediaLayer& media) {
    media.stopChannel(player.musicChannel);
    // Escape on an already dark screen leaves before the fade-out has run; the next
    // stay must still fade its track in from silence.
    player.musicVolume = 0.0f;
    player.musicTarget = 0.0f;
}
