#pragma once
// Where the menu's buttons stand on the screen: one layout for the drawing and for
// the pointer. Button numbers are the frames of "gfx/menubuttons.spr" and its glows.

#include "media/media_layer.h"

enum MenuButton {
    NewGameButton = 0,
    ContinueButton = 1,
    HelpButton = 2,
    CreditsButton = 3,
    ExitButton = 4,
    NextPageButton = 5,  // on the help pages
    BackButton = 6       // on the options and records screens
};
constexpr int MenuButtonCount = 5;  // the column of the main menu

// The area that takes the pointer, edges excluded. It is narrower than the picture.
struct ButtonArea {
    int left, top, right, bottom;
    constexpr bool contains(int x, int y) const { return x > left && x < right && y > top && y < bottom; }
};

// ---- The main menu's column of buttons -----------------------------------------
constexpr int MenuButtonX = 650;
constexpr int FirstMenuButtonY = 200;
constexpr int MenuButtonPitch = 57;
constexpr int menuButtonY(int button) { return FirstMenuButtonY + MenuButtonPitch * button; }
// Each button takes the pointer over one pitch, starting 28 pixels above its centre.
constexpr ButtonArea MenuColumnArea = {MenuButtonX - 120, FirstMenuButtonY - 28, MenuButtonX + 120,
                                       FirstMenuButtonY - 28 + MenuButtonPitch* MenuButtonCount};
// The button under the pointer, or -1.
constexpr int menuButtonAt(int x, int y) {
    return MenuColumnArea.contains(x, y) ? (y - MenuColumnArea.top) / MenuButtonPitch : -1;
}

// ---- Button glows: brighter by 0.2 each frame the pointer is over a button (overshooting 1
// once), then every frame dimmer by 0.05 until dark.
inline void brightenGlow(float& glow) {
    if (glow < 1) glow += 0.2f;
}
inline void dimGlow(float& glow) {
    if (glow > 0) glow -= 0.05f;
}

// ---- The text links in the bottom band ----------------------------------------------
// Not pictures of the button strip: their controls are numbered after it.
enum MenuLink { RecordsLink = 0, OptionsLink = 1 };
constexpr int MenuLinkCount = 2;
constexpr int FirstLinkControl = 7;
constexpr int linkControl(int link) { return FirstLinkControl + link; }
constexpr bool isLinkControl(int control) {
    return control >= FirstLinkControl && control < FirstLinkControl + MenuLinkCount;
}
constexpr int MenuLinkY = 575;
constexpr int menuLinkX(int link) { return 640 + 100 * link; }
// A box of 90 x 30 around the link's centre takes the pointer (left and top edges included).
constexpr ButtonArea menuLinkArea(int link) {
    return {menuLinkX(link) - 46, MenuLinkY - 16, menuLinkX(link) + 45, MenuLinkY + 15};
}
// The link under the pointer, or -1.
constexpr int menuLinkAt(int x, int y) {
    for (int link = 0; link < MenuLinkCount; ++link)
        if (menuLinkArea(link).contains(x, y)) return link;
    return -1;
}

// ---- The button at the foot of the help, options and records screens --------------
constexpr int NextPageX = ScreenCentreX;
constexpr int NextPageY = 470;
constexpr ButtonArea NextPageArea = {NextPageX - 120, NextPageY - 15, NextPageX + 120, NextPageY + 20};
