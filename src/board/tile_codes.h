#pragma once
// The numbers that the map data, the board, the tile sheet "gfx/complete.spr" and the
// asset generator share. A cell's tile code is also the frame the board draws for it,
// and a device code is the frame of the device's first picture.

// ---- The tile sheet: 120 frames of 56 x 56 ------------------------------------
enum TileFrame {
    // Computers: 40 screen pictures per state, not connected first, then connected;
    // an infected computer has a single picture.
    NotConnectedComputerFrame = 0,
    ConnectedComputerFrame = 40,
    InfectedComputerFrame = 80,
    // Cable pieces: tile 81 + ElementKind, 81..95.
    FirstCableTile = 81,
    LastCableTile = 95,
    // The two Server halves, and the FaxModem with its lights off and on. A Server
    // half without an output holds its own picture as its tile.
    ServerTopTile = 96,
    ServerBottomTile = 97,
    FaxModemTile = 98,
    FaxModemLitTile = 99,
    // Floor pictures: cells of the active area without cable, up to the sheet's end.
    FirstFloorTile = 100,
    TileSheetFrames = 120
};
// A plain number, so that adding an ElementKind to it gives a plain number.
constexpr int CableTileBase = FirstCableTile;
constexpr int ComputerFramesPerState = ConnectedComputerFrame - NotConnectedComputerFrame;
constexpr int CableTileCount = LastCableTile - CableTileBase + 1;
constexpr int FloorTileCount = TileSheetFrames - FirstFloorTile;

// ---- The screens a computer shows: ten pictures each, inside a state's forty ---
enum ComputerScreens {
    BootScreens = 0,       // the logo lights up, a bar fills, the prompt appears
    RadarScreens = 10,     // a radar sweep turning once
    MeterScreens = 20,     // bar meters rising and falling
    TerminalScreens = 30,  // text scrolling up (30..35), then a blinking prompt (36..39)
    PromptScreens = 36
};

// ---- Cable kinds: tile - 81 for the fifteen cable pieces ----------------------
enum ElementKind {
    StraightNS = 0,
    StraightEW,
    CornerNW,
    CornerNE,
    CornerES,
    CornerSW,
    TeeNEW,
    TeeNES,
    TeeESW,
    TeeNSW,
    Cross,
    EndW,
    EndN,
    EndE,
    EndS,
    NoConnector
};
static_assert(NoConnector == CableTileCount, "one kind per cable tile");

// Tile code of a cable kind.
constexpr int cableTile(int kind)
{
    return CableTileBase + kind;
}

// Kind of a tile code: tile - 81 for 81..95, NoConnector otherwise. Pictures below the
// cable range never connect, exactly like those above it. Inline: the flood asks for
// it several times per cell in every frame.
constexpr int kindOfTile(int tile)
{
    const int kind = tile - CableTileBase;
    return (kind >= 0 && kind < NoConnector) ? kind : NoConnector;
}

// ---- Device codes of the map data: each is its device's first frame ----------
enum DeviceCode {
    DeviceComputer = NotConnectedComputerFrame,
    DeviceComputerAlt = ConnectedComputerFrame,
    DeviceVirusComputer = InfectedComputerFrame,
    DeviceServerTop = ServerTopTile,
    DeviceServerBottom = ServerBottomTile,
    DeviceFaxModem = FaxModemTile,
    NoDevice = 255  // any code not listed above means no device; this is the one the game writes
};
