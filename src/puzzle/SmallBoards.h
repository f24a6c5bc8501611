// Shortest solutions of the 2x2 and 3x3 boards, read off a table that holds
// every position's distance from home (all 181,440 positions of the 3x3
// board that can be brought home, a byte each), made in memory at first use.
#pragma once

#include <cstdint>
#include <vector>

#include "puzzle/SlideBoard.h"

// The fewest moves that bring a 2x2 or 3x3 board home; -1 for any other board.
int32_t ShortestLength(const SlideBoard& board);
// Those moves (empty for any other board).
std::vector<Cell> ShortestSmall(const SlideBoard& board);
