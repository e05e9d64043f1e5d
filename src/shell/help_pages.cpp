#include "shell/help_pages.h"

#include <array>
#include <vector>

#include "play/game.h"
#include "shell/menu_layout.h"
#include "shell/menu_overlay.h"
#include "shell/shell_state.h"
#include "shell/studio_lines.h"

namespace {

struct HelpLine {
    int x, y;
    TextAlign align;
    const char* text;
};

struct HelpPicture {
    int x, y;
    int frame;
};

struct HelpPage {
    std::vector<HelpLine> lines;
    std::vector<HelpPicture> pictures;  // tile-sheet frames, drawn in order
};

const std::array<HelpPage, HelpPageCount>& helpPages() {
    static const std::array<HelpPage, HelpPageCount> pages = {{
        {{{400, 100, AlignCentre, "How to play?"},
          {180, 130, AlignLeft, "      Game process:"},
          {180, 145, AlignLeft, "      The basic task in game, is to connect all computers to Server."},
          {180, 160, AlignLeft, "The connection of computers with Server occurs by means rotation"},
          {180, 175, AlignLeft, "of elements network cable. For rotation of elements cable,"},
          {180, 190, AlignLeft, "use the Left button of the mouse. Turn of an element after one "},
          {180, 205, AlignLeft, "click - 90 degrees. Making elements of cable in a chain, you create "},
          {180, 220, AlignLeft, "connections. Each of devices in game has outputs for connection cable."},
          {180, 235, AlignLeft, "The outputs of devices too can be rotated.For it move the mouse"},
          {180, 250, AlignLeft, "on the device and click the left button."},
          {180, 265, AlignLeft, "Server can have from one up to two outputs. The amount of outputs"},
          {180, 280, AlignLeft, "depends on a level of game."},
          {270, 310, AlignLeft, "Computer."},
          {270, 325, AlignLeft, "The computers can have three condition:"},
          {270, 340, AlignLeft, "With the dark blue screen - is not connect to network."},
          {270, 355, AlignLeft, "With the green screen - the computer is included in a network."},
          {270, 370, AlignLeft, "With the red screen - the computer is infected by a virus."},
          {270, 400, AlignLeft, "There are some more condition of computers, but about them"},
          {270, 415, AlignLeft, "you learn during game."}},
         {{230, 340, NotConnectedComputerFrame}, {230, 395, cableTile(EndE)}, {230, 395, ConnectedComputerFrame}}},
        {{{400, 100, AlignCentre, "Additional devices."},
          {180, 130, AlignLeft, "      In game, except computers and servers, there is some"},
          {180, 145, AlignLeft, "more devices."},
          {180, 160, AlignLeft, "      Application of devices of a type ''FaxModem''"},
          {180, 175, AlignLeft, "Such devices at a level cannot be less than two. With connection"},
          {180, 190, AlignLeft, "network cable to such device, the device begins to transfer"},
          {180, 205, AlignLeft, "connection to other device type ''FaxModem''."},
          {180, 220, AlignLeft, "All connected to second of ''FaxModem'', are considered"},
          {180, 235, AlignLeft, "connected To server."},
          {180, 280, AlignLeft, "     In game except devices of a type ''Faxmodem'', there are"},
          {180, 295, AlignLeft, "still some devices. Their application you will understand on a "},
          {180, 310, AlignLeft, "course of game."},
          {270, 385, AlignLeft, "FaxModem."},
          {530, 385, AlignRight, "Server"}},
         {{230, 395, FaxModemTile}, {570, 373, ServerTopTile}, {570, 421, ServerBottomTile}}},
        {{{400, 100, AlignCentre, "About cleaning computers from viruses."},
          {180, 130, AlignLeft, "      The computer, infected by a virus, by anything does not give"},
          {180, 145, AlignLeft, "out, is not connected yet to Server."},
          {180, 160, AlignLeft, "      As soon as the connection occurs, the virus reveals itself,"},
          {180, 175, AlignLeft, "and infects all computers connected with Server."},
          {180, 190, AlignLeft, "To clear the computer of a virus, it is possible only then,"},
          {180, 205, AlignLeft, "when this computer is connected to Server."},
          {180, 220, AlignLeft, "To clear the computer of a virus is useless, when to Server"},
          {180, 235, AlignLeft, "is connected of two or more infected computers."},
          {180, 250, AlignLeft, "To clear the computer of a virus it is possible when it is"},
          {180, 265, AlignLeft, "connected to Server."},
          {180, 280, AlignLeft, "Be more circumspect!"},
          {400, 310, AlignCentre, "Additional Information."},
          {180, 340, AlignLeft, "    * For change of background music, use ''The Sound control panel''"},
          {180, 355, AlignLeft, "in the left-bottom corner of the screen."},
          {180, 370, AlignLeft, "    * For addition of the music, copy files, necessary For you, of music"},
          {180, 385, AlignLeft, "(format .WAV of .OGG) in a folder ''Tracks'' which is taking place"},
          {180, 400, AlignLeft, "in a folder ,where the game is installed."},
          {400, 430, AlignCentre, GameHomeLine}},
         {}},
    }};
    return pages;
}

void drawPage(MediaLayer& media, const SpriteFont& font, const Image& tiles, const HelpPage& page) {
    for (const HelpLine& line : page.lines) drawText(media, font, line.x, line.y, line.text, line.align);
    for (const HelpPicture& picture : page.pictures)
        media.drawImage(tiles, static_cast<float>(picture.x), static_cast<float>(picture.y), picture.frame);
}

}  // namespace

void drawHelpOverlay(Game& game, ShellState& shell) {
    drawOverlayPlate(game.media, *game.res.canvas[2], game.fade);
    drawPage(game.media, game.font, *game.res.tiles, helpPages()[static_cast<size_t>(shell.helpPage % HelpPageCount)]);
    runOverlayButton(game, NextPageButton, shell.glowLevels[NextPageButton]);
}
