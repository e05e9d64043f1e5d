#pragma once
// Program-wide state of the menu screens.

#include <array>
#include <string>

#include "media/sound/sound.h"
#include "persist/progress.h"

// What the menu loop is doing.
enum class ScreenState {
    Menu = 0,
    NewGame = 1,
    Quit = 2,
    Credits = 3,
    Continue = 4,
    Help = 5,
    Options = 6,
    Records = 7
};

struct ShellState {
    ScreenState screenState = ScreenState::Menu;
    int helpPage = 0;
    bool savedGamePresent = false;
    Channel menuMusicChannel = 0;
    int marqueeX = 400;                 // the scrolling welcome line: from the middle on the first visit, never reset
    int marqueeLoopPoint = -3250;       // start-up sets minus the built line's width: it re-enters once it has left
    std::array<float, 7> glowLevels{};  // menu button glows
    std::array<float, 2> linkGlows{};   // the Records and Options links' glows
    std::string settingsFailure;        // why the last change of a setting could not be kept; "" when it was
    SavedPlace recordsPlace;            // the game in play, as the records screen shows it
    std::string welcomeLine;
    std::string userTracksFolder;  // the player's own music, besides the game's "tracks"
};

// Builds the welcome line that scrolls along the bottom of the menu.
std::string buildWelcomeLine();
