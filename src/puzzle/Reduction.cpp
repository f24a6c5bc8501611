#include "puzzle/Reduction.h"

namespace {

constexpr uint8_t kStart = 0xFF;

// The fewest moves that bring tile a (and tile b, when b >= 0) to its home,
// the blank moving only through `open` cells; they are made on the board and
// added to `moves`. The tiles' homes are open, the tiles lie in open cells.
bool PlaceTiles(SlideBoard& board, uint64_t open, int32_t a, int32_t b, std::vector<Cell>& moves) {
    const int32_t n = board.n;
    const int32_t cells = n * n;
    int32_t atA = 0;
    int32_t atB = 0;
    for (int32_t i = 0; i < cells; ++i) {
        if (board.cell[i] == a) atA = i;
        if (b >= 0 && board.cell[i] == b) atB = i;
    }
    const int32_t homeB = b >= 0 ? b : 0;
    auto state = [cells](int32_t pa, int32_t pb, int32_t blank) { return (pa * cells + pb) * cells + blank; };
    // How each state was reached: the direction the blank came, or kStart.
    std::vector<uint8_t> came(static_cast<size_t>(cells) * cells * cells, 0);
    std::vector<int32_t> queue;
    const int32_t step[4] = {-n, n, -1, 1};
    const int32_t start = state(atA, atB, board.blank);
    came[start] = kStart;
    queue.push_back(start);
    for (size_t next = 0; next < queue.size(); ++next) {
        const int32_t s = queue[next];
        const int32_t blank = s % cells;
        const int32_t pb = s / cells % cells;
        const int32_t pa = s / cells / cells;
        if (pa == a && pb == homeB) {
            std::vector<Cell> found;
            for (int32_t at = s; came[at] != kStart;) {
                const int32_t to = at % cells;
                const int32_t back = to - step[came[at] - 1];
                int32_t qa = at / cells / cells;
                int32_t qb = at / cells % cells;
                // The tile that slid into the old blank came from `to`.
                if (qa == back) qa = to;
                if (b >= 0 && qb == back) qb = to;
                found.push_back({to / n, to % n});
                at = state(qa, qb, back);
            }
            for (auto move = found.rbegin(); move != found.rend(); ++move) {
                board.Slide(*move);
                moves.push_back(*move);
            }
            return true;
        }
        const int32_t row = blank / n;
        const int32_t col = blank % n;
        const bool inside[4] = {row > 0, row + 1 < n, col > 0, col + 1 < n};
        for (int32_t d = 0; d < 4; ++d) {
            if (!inside[d]) continue;
            const int32_t to = blank + step[d];
            if (!(open >> to & 1u)) continue;
            const int32_t qa = pa == to ? blank : pa;
            const int32_t qb = b >= 0 && pb == to ? blank : pb;
            const int32_t after = state(qa, qb, to);
            if (came[after] != 0) continue;
            came[after] = static_cast<uint8_t>(d + 1);
            queue.push_back(after);
        }
    }
    return false;
}

// The line's cells in order, a tile a cell: an odd one out goes first, alone,
// so that the line ends with a pair.
bool PlaceLine(SlideBoard& board, uint64_t& open, const std::vector<int32_t>& line, std::vector<Cell>& moves,
               const std::stop_token& stop) {
    size_t at = 0;
    while (at < line.size()) {
        if (stop.stop_requested()) return false;
        const bool pair = (line.size() - at) % 2 == 0;
        const int32_t a = line[at];
        const int32_t b = pair ? line[at + 1] : -1;
        if (!PlaceTiles(board, open, a, b, moves)) return false;
        open &= ~(uint64_t{1} << a);
        if (pair) open &= ~(uint64_t{1} << b);
        at += pair ? 2 : 1;
    }
    return true;
}

}  // namespace

bool ReduceToCorner(SlideBoard& board, int32_t side, std::vector<Cell>& moves, std::stop_token stop) {
    const int32_t n = board.n;
    for (int32_t m = n; m > side; --m) {
        // Open: the m x m corner still to be done. A tile's home index is its
        // home cell in reading order.
        uint64_t open = 0;
        for (int32_t row = 0; row < m; ++row) {
            for (int32_t col = 0; col < m; ++col) open |= uint64_t{1} << (row * n + col);
        }
        std::vector<int32_t> bottom;
        for (int32_t col = 0; col < m; ++col) bottom.push_back((m - 1) * n + col);
        std::vector<int32_t> right;
        for (int32_t row = m - 2; row >= 0; --row) right.push_back(row * n + m - 1);
        if (!PlaceLine(board, open, bottom, moves, stop) || !PlaceLine(board, open, right, moves, stop)) return false;
    }
    return true;
}

SlideBoard Corner(const SlideBoard& board, int32_t side) {
    SlideBoard corner;
    corner.n = side;
    for (int32_t row = 0; row < side; ++row) {
        for (int32_t col = 0; col < side; ++col) {
            const int32_t home = board.cell[row * board.n + col];
            const int32_t i = row * side + col;
            corner.cell[i] = static_cast<int8_t>(home / board.n * side + home % board.n);
            if (home == 0) corner.blank = i;
        }
    }
    return corner;
}
