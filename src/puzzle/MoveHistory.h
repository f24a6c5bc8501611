// The moves made on the board in play since its deal, for taking them back,
// and the moves taken back, for making them again until a new move is made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Cell {
    int32_t row = 0;
    int32_t col = 0;
    bool operator==(const Cell&) const = default;
};

class MoveHistory {
public:
    // A tile slid into the blank at `blank`: that is where it goes back to.
    // A new move: what was taken back can no longer be made again.
    void Record(Cell blank);
    // The newest move's cell, taken off the history; false when there is none.
    bool TakeLast(Cell& blank);
    // A move was taken back, its tile now lying in `tile`: making the move
    // again slides it from there into the blank.
    void Undone(Cell tile);
    // The newest move taken back: the cell whose tile slides into the blank
    // to make it again, off the list; false when there is none. The caller
    // records the move again with Redone.
    bool TakeUndone(Cell& tile);
    // A move made again: kept for undo, what else was taken back stays.
    void Redone(Cell blank);
    // A new deal: no move to take back or make again.
    void Forget();
    std::size_t Size() const { return moves_.size(); }
    std::size_t UndoneSize() const { return undone_.size(); }
    // Every move's way back, oldest first (for keeping the game between runs).
    const std::vector<Cell>& Moves() const { return moves_; }

private:
    std::vector<Cell> moves_;
    std::vector<Cell> undone_;
};
