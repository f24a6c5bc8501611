#include "puzzle/SmallBoards.h"

#include <cstddef>

namespace {

constexpr uint8_t kUnreached = 0xFF;

// A board of up to 9 cells packed into nibbles, for the table's queue.
uint64_t Pack(const SlideBoard& board) {
    uint64_t packed = 0;
    for (int32_t i = board.n * board.n - 1; i >= 0; --i) packed = packed << 4 | static_cast<uint64_t>(board.cell[i]);
    return packed;
}

SlideBoard Unpack(uint64_t packed, int32_t n) {
    SlideBoard board;
    board.n = n;
    for (int32_t i = 0; i < n * n; ++i, packed >>= 4) {
        board.cell[i] = static_cast<int8_t>(packed & 0xF);
        if (board.cell[i] == 0) board.blank = i;
    }
    return board;
}

// The cells beside the blank, as moves.
int32_t Neighbours(const SlideBoard& board, Cell out[4]) {
    const int32_t row = board.blank / board.n;
    const int32_t col = board.blank % board.n;
    int32_t count = 0;
    if (row > 0) out[count++] = {row - 1, col};
    if (row + 1 < board.n) out[count++] = {row + 1, col};
    if (col > 0) out[count++] = {row, col - 1};
    if (col + 1 < board.n) out[count++] = {row, col + 1};
    return count;
}

class DistanceTable {
public:
    explicit DistanceTable(int32_t n) : n_(n) {
        const int32_t tiles = n * n - 1;
        size_t orders = 1;
        for (int32_t k = 2; k <= tiles; ++k) orders *= static_cast<size_t>(k);
        // For a given blank cell only half the orders of the tiles can be
        // brought home, and an order and the same with its last two tiles
        // swapped differ in exactly that: one index serves the pair.
        perBlank_ = orders / 2;
        distance_.assign(perBlank_ * static_cast<size_t>(n * n), kUnreached);

        std::vector<uint64_t> queue;
        queue.reserve(distance_.size());
        const SlideBoard home = SlideBoard::Home(n);
        distance_[Index(home)] = 0;
        queue.push_back(Pack(home));
        for (size_t next = 0; next < queue.size(); ++next) {
            const SlideBoard board = Unpack(queue[next], n);
            const uint8_t d = distance_[Index(board)];
            Cell moves[4];
            const int32_t count = Neighbours(board, moves);
            for (int32_t m = 0; m < count; ++m) {
                SlideBoard after = board;
                after.Slide(moves[m]);
                uint8_t& seen = distance_[Index(after)];
                if (seen != kUnreached) continue;
                seen = static_cast<uint8_t>(d + 1);
                queue.push_back(Pack(after));
            }
        }
    }

    int32_t Distance(const SlideBoard& board) const { return distance_[Index(board)]; }

private:
    // The blank's cell, then the rank of the tiles' order in reading order.
    size_t Index(const SlideBoard& board) const {
        int8_t order[8];
        int32_t tiles = 0;
        for (int32_t i = 0; i < n_ * n_; ++i) {
            if (board.cell[i] != 0) order[tiles++] = board.cell[i];
        }
        size_t rank = 0;
        for (int32_t i = 0; i < tiles; ++i) {
            int32_t smallerAfter = 0;
            for (int32_t j = i + 1; j < tiles; ++j) smallerAfter += order[j] < order[i];
            rank = rank * static_cast<size_t>(tiles - i) + static_cast<size_t>(smallerAfter);
        }
        return static_cast<size_t>(board.blank) * perBlank_ + rank / 2;
    }

    int32_t n_;
    size_t perBlank_ = 0;
    std::vector<uint8_t> distance_;
};

const DistanceTable* TableFor(const SlideBoard& board) {
    if (board.n == 2) {
        static const DistanceTable two(2);
        return &two;
    }
    if (board.n == 3) {
        static const DistanceTable three(3);
        return &three;
    }
    return nullptr;
}

}  // namespace

int32_t ShortestLength(const SlideBoard& board) {
    if ((board.n != 2 && board.n != 3) || !board.CanBeSolved()) return -1;
    const int32_t d = TableFor(board)->Distance(board);
    return d == kUnreached ? -1 : d;
}

std::vector<Cell> ShortestSmall(const SlideBoard& board) {
    std::vector<Cell> path;
    int32_t d = ShortestLength(board);
    if (d <= 0) return path;
    const DistanceTable& table = *TableFor(board);
    SlideBoard at = board;
    while (d > 0) {
        Cell moves[4];
        const int32_t count = Neighbours(at, moves);
        for (int32_t m = 0; m < count; ++m) {
            SlideBoard after = at;
            after.Slide(moves[m]);
            if (table.Distance(after) == d - 1) {
                path.push_back(moves[m]);
                at = after;
                break;
            }
        }
        --d;
    }
    return path;
}
