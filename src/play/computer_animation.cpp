#include "board/board.h"
#include "media/media_layer.h"
#include "play/effects.h"

namespace {

enum AnimationRow { StartRow = 0, ConnectedRow = 6 };

// Rows as written: a run up, a pause on the last picture, the same run back down.
std::array<int, 65> upHoldDown(int first) {
    std::array<int, 65> row{};
    int at = 0;
    for (int i = 0; i < 10; ++i) row[at++] = first + i;
    for (int i = 0; i < 11; ++i) row[at++] = first + 9;
    for (int i = 8; i >= 0; --i) row[at++] = first + i;
    return row;
}

template <std::size_t N>
std::array<int, 65> listed(const int (&entries)[N]) {
    std::array<int, 65> row{};
    for (std::size_t i = 0; i < N; ++i) row[i] = entries[i];
    return row;
}

// A disconnected computer now and then plays one of the idle rows.
void maybeStartIdle(Computer& computer, MediaLayer& media) {
    switch (media.randomInt(0, 6)) {
        case 0: startAnimation(computer, 1, 100); break;
        case 1: startAnimation(computer, 2, 100); break;
        case 2: startAnimation(computer, 3, 80); break;
        case 3:
            if (media.randomInt(0, 2) == 1) startAnimation(computer, 4, 80);
            break;
        case 5:
            if (media.randomInt(0, 5) == 3) startAnimation(computer, 5, 100);
            break;
        default: break;
    }
}

void playRunningAnimation(Computer& computer, const AnimationTable& table) {
    if (computer.animTicksLeft <= 0) return;
    const int row = computer.animId >= 0 && computer.animId < 10 ? computer.animId : 0;
    const int position = static_cast<int>(computer.animPos);
    computer.animFrame = position >= 0 && position < 65 ? table[row][position] : 0;
    computer.animPos += 0.3f;
    computer.animTicksLeft -= 1;
}

}  // namespace

AnimationTable buildAnimationTable() {
    AnimationTable table{};
    table[0] = listed({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    table[1] = upHoldDown(BootScreens);
    table[2] = upHoldDown(RadarScreens);
    table[3] =
        listed({30, 31, 32, 33, 34, 35, 36, 36, 36, 36, 36, 36, 36, 36, 36, 36, 36, 36, 36, 35, 34, 33, 32, 31, 30});
    table[4] = listed({38, 37, 36, 37, 38, 39, 38, 37, 36, 37, 38, 39, 38, 37, 36, 37, 38, 39, 38, 37, 36, 37, 38});
    table[5] = upHoldDown(MeterScreens);
    table[6] = listed({22, 23, 24, 25, 26, 27, 28, 29, 29, 28, 27, 26, 25, 24, 23, 24, 25, 26, 27, 28,
                       29, 29, 28, 27, 26, 25, 24, 23, 22, 0,  32, 33, 34, 35, 36, 37, 38, 39, 39, 38,
                       37, 36, 35, 34, 33, 34, 35, 36, 37, 38, 39, 39, 38, 37, 36, 35, 34, 33, 32});
    return table;
}

void stepComputerAnimations(Board& board, const AnimationTable& table, MediaLayer& media) {
    for (Computer& computer : board.computers) {
        playRunningAnimation(computer, table);
        // The draw happens for every computer every frame, so the random sequence does not
        // depend on which computers are busy.
        const bool idleChance = media.randomInt(0, 100) == 26;
        if (idleChance && computer.animTicksLeft == 0 && computer.state == NotConnected)
            maybeStartIdle(computer, media);
        if (computer.animTicksLeft == 0 && computer.state == Connected) startAnimation(computer, ConnectedRow, 200);
    }
}
