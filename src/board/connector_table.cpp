// The open sides of every cable kind, and how a tile code maps to a kind.

#include "board/board.h"

ConnectorTable buildConnectorTable()
{
    ConnectorTable table;
    //                 N  E  S  W
    table.open[StraightNS] = {1, 0, 1, 0};
    table.open[StraightEW] = {0, 1, 0, 1};
    table.open[CornerNW] = {1, 0, 0, 1};
    table.open[CornerNE] = {1, 1, 0, 0};
    table.open[CornerES] = {0, 1, 1, 0};
    table.open[CornerSW] = {0, 0, 1, 1};
    table.open[TeeNEW] = {1, 1, 0, 1};
    table.open[TeeNES] = {1, 1, 1, 0};
    table.open[TeeESW] = {0, 1, 1, 1};
    table.open[TeeNSW] = {1, 0, 1, 1};
    table.open[Cross] = {1, 1, 1, 1};
    table.open[EndW] = {0, 0, 0, 1};
    table.open[EndN] = {1, 0, 0, 0};
    table.open[EndE] = {0, 1, 0, 0};
    table.open[EndS] = {0, 0, 1, 0};
    table.open[NoConnector] = {0, 0, 0, 0};
    return table;
}
