#include "puzzle/SlideBoard.h"

#include "puzzle/Solvable.h"

SlideBoard SlideBoard::Home(int32_t n) {
    SlideBoard board;
    board.n = n;
    for (int32_t i = 0; i < n * n; ++i) board.cell[i] = static_cast<int8_t>(i);
    return board;
}

std::optional<SlideBoard> SlideBoard::FromBoard(const int32_t board[6][6], int32_t n) {
    if (n < 2 || !IsSolvable(board, n)) return std::nullopt;
    SlideBoard b;
    b.n = n;
    for (int32_t row = 0; row < n; ++row) {
        for (int32_t col = 0; col < n; ++col) {
            const int32_t i = row * n + col;
            b.cell[i] = static_cast<int8_t>(board[row][col]);
            if (board[row][col] == 0) b.blank = i;
        }
    }
    return b;
}

bool SlideBoard::CanBeSolved() const {
    if (n < 2 || n > 6 || blank < 0 || blank >= n * n || cell[blank] != 0) return false;
    int32_t board[6][6] = {};
    for (int32_t i = 0; i < n * n; ++i) board[i / n][i % n] = cell[i];
    return IsSolvable(board, n);
}

bool SlideBoard::IsHome() const {
    for (int32_t i = 0; i < n * n; ++i) {
        if (cell[i] != i) return false;
    }
    return true;
}

bool SlideBoard::BesideBlank(Cell at) const {
    if (at.row < 0 || at.col < 0 || at.row >= n || at.col >= n) return false;
    const int32_t dr = at.row - blank / n;
    const int32_t dc = at.col - blank % n;
    return dr * dr + dc * dc == 1;
}

bool SlideBoard::Slide(Cell from) {
    if (!BesideBlank(from)) return false;
    const int32_t to = from.row * n + from.col;
    cell[blank] = cell[to];
    cell[to] = 0;
    blank = to;
    return true;
}

bool Replay(SlideBoard& board, const std::vector<Cell>& moves) {
    for (const Cell& move : moves) {
        if (!board.Slide(move)) return false;
    }
    return true;
}
