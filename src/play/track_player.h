#pragma once
// Background music during play: the player's own files from the "tracks" folder,
// played in turn on request, faded in and out.

#include <array>
#include <string>

#include "media/sound/sound.h"

class MediaLayer;

constexpr int MaxTracks = 50;

struct TrackPlayer {
    std::array<std::string, MaxTracks> trackNames{};    // plain file names, in listing order
    std::array<std::string, MaxTracks> trackFolders{};  // the folder each name was found in
    int trackCount = 0;
    int currentTrack = 0;  // carried from one stay in play to the next
    Channel musicChannel = 0;
    float musicVolume = 0.0f;  // applied to musicChannel every frame of play
    float musicTarget = 0.0f;  // 1 (music on) or 0 (music off)
};

constexpr const char* GameTracksFolder = "tracks";

// Lists "tracks", then the player's own music folder when there is one: names whose last
// character is 'g' or 'v', each folder sorted by name, at most 50 in all (later ones are
// ignored). Stops the game with "failed to read ''Tracks'' directory" when "tracks" is
// missing or not a folder; the player's folder may be missing.
void buildTrackList(TrackPlayer& player, MediaLayer& media, const std::string& playerFolder = "");
// The file of track i, to load.
std::string trackPath(const TrackPlayer& player, int index);
// Start of play: the current track from its start, silent, with the target at full volume.
// With no tracks nothing plays.
void startMusic(TrackPlayer& player, MediaLayer& media);
// Music buttons 0 and 2: the track before or after, wrapping round; it plays at once and the
// target becomes full volume. With no tracks they do nothing.
void previousTrack(TrackPlayer& player, MediaLayer& media);
void nextTrack(TrackPlayer& player, MediaLayer& media);
// Music buttons 1 and 3 (and every frame of leaving play): only the target changes, the
// track runs on, so fading back in resumes where it has got to.
void fadeMusicIn(TrackPlayer& player);
void fadeMusicOut(TrackPlayer& player);
// Moves the volume 0.02 toward the target and applies it; once per frame of play.
void stepMusicVolume(TrackPlayer& player, MediaLayer& media);
// End of play: the track stops for good; the next stay starts it again from its start.
void stopMusic(TrackPlayer& player, MediaLayer& media);
