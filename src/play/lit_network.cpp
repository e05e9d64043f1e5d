#include "play/lit_network.h"

namespace {

// The copy's floods make sounds and sparkles nobody must hear or see.
class Unheard : public BoardEvents {
public:
    void rotationGhost(int, int, int) override {}
    void sparkle(int, int, float, float) override {}
    void sound(BoardSound) override {}
};

}  // namespace

CellFlags carriedNow(const Board& board, const ConnectorTable& connectors) {
    Board copy = board;
    VirusWatch watch;
    Unheard events;
    updateConnections(copy, connectors, watch, events);
    return copy.carried;
}
