#include <array>
#include <string>

#include "play/level_state.h"

const std::string& rankName(int rankIndex) {
    static const std::array<std::string, RankCount> names = {
        "Child", "Looser", "User", "Gamer", "Advanced Gamer", "Webdesigner", "Cablewright", "Programmer",
        "Developer", "Hacker"};
    if (rankIndex < 0) rankIndex = 0;
    if (rankIndex >= RankCount) rankIndex = RankCount - 1;
    return names[rankIndex];
}
