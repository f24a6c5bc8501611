// A fast way home for the 5x5 and 6x6 boards, where no shortest solution can
// be found while the player waits. The blank's home is the top left, so the
// board is taken in from the other side: the bottom row's tiles are brought
// home, then the right column's, each then left alone, until only the
// top-left corner is left, a smaller board with its blank's home where it
// was. Tiles go home two at a time, by the fewest moves that bring both
// (the rest of the corner not minding): the last two of a row or a column
// cannot go one at a time, as the last cell is a dead end once its
// neighbour along the line is done.
#pragma once

#include <cstdint>
#include <stop_token>
#include <vector>

#include "puzzle/SlideBoard.h"

// Brings home every tile outside the top-left side x side corner, adding the
// moves to `moves`; false when stopped on the way.
bool ReduceToCorner(SlideBoard& board, int32_t side, std::vector<Cell>& moves, std::stop_token stop = {});

// The top-left corner of a board whose other tiles are home, as a board of its
// own: the same cells, the tiles named by their home in the corner.
SlideBoard Corner(const SlideBoard& board, int32_t side);
