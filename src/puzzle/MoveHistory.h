// The moves made on the board in play since its deal, for taking them back.
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
    void Record(Cell blank);
    // The newest move's cell, taken off the history; false when there is none.
    bool TakeLast(Cell& blank);
    // A new deal: no move to take back.
    void Forget();
    std::size_t Size() const { return moves_.size(); }

private:
    std::vector<Cell> moves_;
};
