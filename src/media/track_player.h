#pragma once
// Background music during play: the player's own files from the "tracks" folder,
// played in turn on request, faded in and out.

#include <array>
#include <string>

#include "media/mixer.h"

class MediaLayer;

constexpr int MaxTracks = 50;

struct TrackPlayer {
    std::array<std::string, MaxTracks> trackNames{};
    int trackCount = 0;
    int currentTrack = 0;
    Channel musicChannel = 0;
    float musicVolume = 0.0f;
    float musicTarget = 0.0f;
};

// Lists "tracks": names whose last character is 'g' or 'v', at most 50, in listing order.
// Stops the game with "failed to read ''Tracks'' directory" when the folder cannot be read.
void buildTrackList(TrackPlayer& player, MediaLayer& media);
// Starts the current track silent and sets the target to full volume.
void startMusic(TrackPlayer& player, MediaLayer& media);
void previousTrack(TrackPlayer& player, MediaLayer& media);
void nextTrack(TrackPlayer& player, MediaLayer& media);
void fadeMusicIn(TrackPlayer& player);
void fadeMusicOut(TrackPlayer& player);
// Moves the volume 0.02 toward the target and applies it; once per frame of play.
void stepMusicVolume(TrackPlayer& player, MediaLayer& media);
void stopMusic(TrackPlayer& player, MediaLayer& media);
