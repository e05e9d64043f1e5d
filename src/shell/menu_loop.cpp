#include "play/effects.h"
#include "play/game.h"
#include "play/play.h"
#include "shell/credits.h"
#include "shell/help_pages.h"
#include "shell/menu.h"
#include "shell/menu_layout.h"
#include "shell/options_screen.h"
#include "shell/records_screen.h"
#include "shell/shell_state.h"

namespace {

enum class EntryEnd { Play, Credits, ExitProgram };

// Frame shape shared by the menu states: sample, clear, draw, pointer, present, fade.
void runMenuFrame(Game& game, ShellState& shell) {
    MediaLayer& media = game.media;
    game.hoveredControl = NoControl;
    sampleInput(media, game.input);
    media.clearScreen();
    setFadeColour(media, game.fade);
    drawMenuFrame(game, shell);
    media.setDrawColour(255, 255, 255);
    drawPointer(media, game.res, game.pointer, game.input, false);
    setFadeColour(media, game.fade);
    media.presentFrame();
    stepFade(game.fade);
}

// The screens drawn over the menu, which Escape closes at once.
bool overMenu(ScreenState state) {
    return state == ScreenState::Help || state == ScreenState::Options || state == ScreenState::Records;
}

void reactToLink(Game& game, ShellState& shell, int control) {
    if (control == linkControl(OptionsLink)) {
        shell.screenState = ScreenState::Options;
    } else if (control == linkControl(RecordsLink)) {
        openRecordsScreen(game, shell);
        shell.screenState = ScreenState::Records;
    }
}

void reactToClick(Game& game, ShellState& shell) {
    const InputSample& input = game.input;
    const int control = game.hoveredControl;
    if (!input.clicked()) return;
    if (shell.screenState == ScreenState::Options) return clickOptionsScreen(game, shell);
    if (shell.screenState == ScreenState::Records) {
        if (control == BackButton) shell.screenState = ScreenState::Menu;
        return;
    }
    if (shell.screenState == ScreenState::Menu) {
        static const ScreenState targets[MenuButtonCount] = {
            ScreenState::NewGame, ScreenState::Continue, ScreenState::Help, ScreenState::Credits, ScreenState::Quit};
        if (isLinkControl(control)) return reactToLink(game, shell, control);
        if (control < 0 || control >= MenuButtonCount) return;
        if (control == ContinueButton && !shell.savedGamePresent) return;  // nothing to continue
        shell.screenState = targets[control];
    } else if (shell.screenState == ScreenState::Help && control == NextPageButton) {
        if (++shell.helpPage == HelpPageCount) {
            shell.helpPage = 0;
            shell.screenState = ScreenState::Menu;
        }
    }
}

// A game pad's Start in the menu is a click on Continue, or on New Game when there is no saved
// game: the way into play without aiming.
void reactToStart(bool start, ShellState& shell) {
    if (!start || shell.screenState != ScreenState::Menu) return;
    shell.screenState = shell.savedGamePresent ? ScreenState::Continue : ScreenState::NewGame;
}

bool fadedOut(ScreenFade& fade) {
    fade.fadeTarget = 0;
    return fade.brightness <= 0;
}

// One menu entry: runs frames until the menu is left for play, the credits or the end.
EntryEnd runMenuEntry(Game& game, ShellState& shell) {
    MediaLayer& media = game.media;
    shell.screenState = ScreenState::Menu;
    game.fade.fadeTarget = 255;
    setFadeColour(media, game.fade);
    media.keyHits(Key::PadStart);  // pressed in the credits: not meant for the menu
    for (;;) {
        runMenuFrame(game, shell);
        // A request to end the program ends it as Escape in the menu does, from any state.
        if (media.quitRequested()) return EntryEnd::ExitProgram;
        const bool escape = media.keyHits(Key::Escape) > 0;
        const bool start = media.keyHits(Key::PadStart) > 0;  // read in every state, so none waits
        if (shell.screenState == ScreenState::Menu && escape && game.fade.brightness > 240)
            return EntryEnd::ExitProgram;
        if (overMenu(shell.screenState) && escape) shell.screenState = ScreenState::Menu;
        if (shell.screenState == ScreenState::Menu || overMenu(shell.screenState)) addMenuParticle(game.effects, media);
        reactToClick(game, shell);
        reactToStart(start, shell);
        switch (shell.screenState) {
            case ScreenState::NewGame:
                if (fadedOut(game.fade)) {
                    game.progress.levelIndex = 0;
                    game.progress.rankIndex = 0;
                    return EntryEnd::Play;
                }
                break;
            case ScreenState::Continue:
                if (fadedOut(game.fade)) {
                    loadGame(media, game.progress);
                    return EntryEnd::Play;
                }
                break;
            case ScreenState::Credits:
                if (fadedOut(game.fade)) return EntryEnd::Credits;
                break;
            case ScreenState::Quit:
                if (fadedOut(game.fade)) return EntryEnd::ExitProgram;
                break;
            default: break;
        }
    }
}

}  // namespace

int runMenuCycles(Game& game, ShellState& shell) {
    MediaLayer& media = game.media;
    for (;;) {
        shell.savedGamePresent = probeSavedGame(media, game.progress);
        media.clearScreen();
        media.presentFrame();
        shell.menuMusicChannel = media.playSound(game.res.menuTheme, SoundGroup::Music);
        EntryEnd end = runMenuEntry(game, shell);
        while (end == EntryEnd::Credits) {
            if (runCredits(media, game.font, *game.res.logo, game.fade) == CreditsEnd::EndProgram) {
                end = EntryEnd::ExitProgram;
                break;
            }
            media.movePointer(ScreenCentreX, ScreenCentreY);
            end = runMenuEntry(game, shell);
        }
        media.stopChannel(shell.menuMusicChannel);
        if (end == EntryEnd::ExitProgram) return 0;
        if (enterPlay(game) == PlayEnd::EndProgram) return 0;
    }
}
