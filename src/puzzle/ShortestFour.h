// Shortest solutions of the 4x4 board: iterative deepening, each pass a
// depth-first search cut off where the moves made plus the pattern tables'
// bound exceed the pass's limit.
#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <vector>

#include "puzzle/PatternDatabase.h"
#include "puzzle/SlideBoard.h"

struct FourSearch {
    // The moves, when found: none is shorter (unless the bound was weighed, below).
    std::optional<std::vector<Cell>> moves;
    // Positions looked at.
    uint64_t nodes = 0;
};

struct FourLimits {
    // Gives up after looking at about this many positions.
    uint64_t nodes = UINT64_MAX;
    // Gives up when no solution is shorter than this (one of that length is known).
    int32_t shorterThan = INT32_MAX;
    // The tables' bound counted (8 + haste) / 8 times: with haste a
    // solution is found much sooner, but it may be longer than the shortest.
    int32_t haste = 0;
};

// A 4x4 board; no moves when stopped, past the limits or not a 4x4 board
// that can be brought home.
FourSearch ShortestFour(const SlideBoard& board, const PatternDatabase& tables, std::stop_token stop = {},
                        FourLimits limits = {});
