#include <array>
#include <string>

#include "play/level_state.h"

const std::array<std::string, RankCount> RankNames = {"Child",          "Looser",      "User",        "Gamer",
                                                      "Advanced Gamer", "Webdesigner", "Cablewright", "Programmer",
                                                      "Developer",      "Hacker"};

const std::string& rankName(int rankIndex) {
    if (rankIndex < 0) rankIndex = 0;
    if (rankIndex >= RankCount) rankIndex = RankCount - 1;
    return RankNames[rankIndex];
}
