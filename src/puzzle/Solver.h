// The solver: the moves that bring a board home. Shortest for the 2x2, 3x3
// and 4x4 boards; for 5x5 and 6x6 the best known, found fast: the outer rows
// and columns first (Reduction.h), then the 4x4 corner the shortest way, or,
// when that is slow to find (about half the time), a way a few moves longer
// found in haste.
#pragma once

#include <optional>
#include <stop_token>
#include <vector>

#include "puzzle/PatternDatabase.h"
#include "puzzle/SlideBoard.h"

struct Solution {
    // In order, each the cell whose tile slides into the blank.
    std::vector<Cell> moves;
    // True: no solution is shorter. False: the best known.
    bool shortest = false;
};

// How long each search for a big board's 4x4 corner may go on (several
// milliseconds): the shortest way first, then one in haste, last the 3x3
// corner left after two more lines.
constexpr uint64_t kCornerSearchNodes = 200000;
constexpr int32_t kCornerHaste = 4;

// Nothing when stopped, or for a board that cannot be brought home. The 4x4
// and larger boards need the tables.
std::optional<Solution> Solve(const SlideBoard& board, const PatternDatabase* tables, std::stop_token stop = {});
