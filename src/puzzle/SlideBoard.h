// A board as the solver sees it, apart from the game's pictures: the home
// index of the tile in every cell, 0 being the blank, whose home is the top
// left. A move names the cell whose tile slides into the blank, the cell the
// blank then moves to: the game replays it with SlideTile(row, col).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "puzzle/MoveHistory.h"

struct SlideBoard {
    int32_t n = 0;
    // Home indices in reading order; cells beyond n x n hold 0.
    std::array<int8_t, 36> cell{};
    // The blank's cell in reading order.
    int32_t blank = 0;

    bool operator==(const SlideBoard&) const = default;

    // Every tile at home.
    static SlideBoard Home(int32_t n);
    // The board in play (the game's boardTile); nothing when it is not an
    // n x n board that moves can bring home (a board ended with -1, say).
    static std::optional<SlideBoard> FromBoard(const int32_t board[6][6], int32_t n);

    // n from 2 to 6, each home index once, the blank where it says, and
    // moves can bring it home.
    bool CanBeSolved() const;
    bool IsHome() const;
    bool BesideBlank(Cell at) const;
    // The tile at `from` slides into the blank; false, with nothing moved,
    // when `from` is not beside the blank.
    bool Slide(Cell from);
};

// Slides the moves in turn; false, stopping there, at one that cannot be made.
bool Replay(SlideBoard& board, const std::vector<Cell>& moves);
