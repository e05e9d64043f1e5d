#pragma once
// The lit network: which pieces carry the connection as the board is drawn this frame.

#include "board/board.h"

// The cells that a flood from the Server would find carrying the connection on the board as
// it stands now: worked out on a copy, so no rule runs twice and nothing of the board changes.
// A frame that shows a turned piece therefore shows the part it cut off already dark.
CellFlags carriedNow(const Board& board, const ConnectorTable& connectors);
