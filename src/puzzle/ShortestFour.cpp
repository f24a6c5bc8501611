#include "puzzle/ShortestFour.h"

#include <algorithm>
#include <array>
#include <climits>


namespace {

constexpr int32_t kCells = 16;
// The longest shortest solution is 80 moves; one found in haste may be longer.
constexpr int32_t kMostMoves = 160;

// The board mirrored in its diagonal from the top left: cell (row, col) goes
// to (col, row), and so does the tile of that home. The blank's home stays,
// so the mirrored board is as far from home as the board itself, and the
// tables' bound for it, where the groups fall differently, is a bound too.
constexpr int32_t Mirror(int32_t i) { return (i % 4) * 4 + i / 4; }

struct Layout {
    // The group of each tile and the shift of its cell in that group's index.
    std::array<int8_t, kCells> group{};
    std::array<int8_t, kCells> shift{};
    std::array<std::array<int8_t, 4>, kCells> beside{};
    std::array<int8_t, kCells> besideCount{};

    Layout() {
        for (int32_t g = 0; g < PatternDatabase::kGroups; ++g) {
            for (int32_t k = 0; k < PatternDatabase::kGroupSize; ++k) {
                group[PatternDatabase::kGroupTiles[g][k]] = static_cast<int8_t>(g);
                shift[PatternDatabase::kGroupTiles[g][k]] = static_cast<int8_t>(4 * k);
            }
        }
        for (int32_t i = 0; i < kCells; ++i) {
            const int32_t row = i / 4;
            const int32_t col = i % 4;
            int8_t count = 0;
            if (row > 0) beside[i][count++] = static_cast<int8_t>(i - 4);
            if (row < 3) beside[i][count++] = static_cast<int8_t>(i + 4);
            if (col > 0) beside[i][count++] = static_cast<int8_t>(i - 1);
            if (col < 3) beside[i][count++] = static_cast<int8_t>(i + 1);
            besideCount[i] = count;
        }
    }
};

const Layout& TheLayout() {
    static const Layout layout;
    return layout;
}

class Search {
public:
    Search(const SlideBoard& board, const PatternDatabase& tables, const std::stop_token& stop, const FourLimits& limits)
        : layout_(TheLayout()), tables_(tables), stop_(stop), nodeLimit_(limits.nodes), haste_(limits.haste) {
        blank_ = board.blank;
        for (int32_t i = 0; i < kCells; ++i) {
            cell_[i] = board.cell[i];
            const int32_t tile = cell_[i];
            if (tile == 0) continue;
            at_.direct[layout_.group[tile]] += static_cast<uint32_t>(i) << layout_.shift[tile];
            const int32_t mirrored = Mirror(tile);
            at_.mirror[layout_.group[mirrored]] += static_cast<uint32_t>(Mirror(i)) << layout_.shift[mirrored];
        }
        for (int32_t g = 0; g < PatternDatabase::kGroups; ++g) {
            at_.directMoves[g] = tables_.Moves(g, at_.direct[g]);
            at_.mirrorMoves[g] = tables_.Moves(g, at_.mirror[g]);
            at_.directSum += at_.directMoves[g];
            at_.mirrorSum += at_.mirrorMoves[g];
        }
    }

    int32_t Bound() const { return Weighed(std::max(at_.directSum, at_.mirrorSum)); }

    // One pass: true when a solution within `limit` is found.
    bool Pass(int32_t limit) {
        limit_ = limit;
        over_ = INT_MAX;
        return Deeper(0, -1);
    }

    bool gaveUp = false;
    int32_t Over() const { return over_; }
    uint64_t Nodes() const { return nodes_; }
    std::vector<Cell> Moves() const {
        std::vector<Cell> moves;
        for (int32_t i = 0; i < length_; ++i) moves.push_back({path_[i] / 4, path_[i] % 4});
        return moves;
    }

private:
    int32_t Weighed(int32_t bound) const { return bound + bound * haste_ / 8; }

    bool AtHome() const {
        for (int32_t i = 0; i < kCells; ++i) {
            if (cell_[i] != i) return false;
        }
        return true;
    }

    bool Deeper(int32_t depth, int32_t cameFrom) {
        const int32_t blank = blank_;
        for (int32_t b = 0; b < layout_.besideCount[blank]; ++b) {
            const int32_t from = layout_.beside[blank][b];
            if (from == cameFrom) continue;
            // The tile at `from` slides into the blank.
            const int32_t tile = cell_[from];
            const int32_t g = layout_.group[tile];
            const uint32_t direct = at_.direct[g] + (static_cast<uint32_t>(blank) << layout_.shift[tile]) -
                                    (static_cast<uint32_t>(from) << layout_.shift[tile]);
            const int32_t mirrored = Mirror(tile);
            const int32_t m = layout_.group[mirrored];
            const uint32_t mirror = at_.mirror[m] + (static_cast<uint32_t>(Mirror(blank)) << layout_.shift[mirrored]) -
                                    (static_cast<uint32_t>(Mirror(from)) << layout_.shift[mirrored]);
            const int32_t directMoves = tables_.Moves(g, direct);
            const int32_t mirrorMoves = tables_.Moves(m, mirror);
            const int32_t directSum = at_.directSum - at_.directMoves[g] + directMoves;
            const int32_t mirrorSum = at_.mirrorSum - at_.mirrorMoves[m] + mirrorMoves;
            const int32_t cost = depth + 1 + Weighed(std::max(directSum, mirrorSum));
            if (cost > limit_) {
                over_ = std::min(over_, cost);
                continue;
            }
            if ((++nodes_ & 4095u) == 0 && (nodes_ > nodeLimit_ || stop_.stop_requested())) {
                gaveUp = true;
                return false;
            }
            path_[depth] = static_cast<int8_t>(from);
            const Lookups before = at_;
            at_.direct[g] = direct;
            at_.mirror[m] = mirror;
            at_.directMoves[g] = directMoves;
            at_.mirrorMoves[m] = mirrorMoves;
            at_.directSum = directSum;
            at_.mirrorSum = mirrorSum;
            cell_[blank] = static_cast<int8_t>(tile);
            cell_[from] = 0;
            blank_ = from;
            // Every group home is the board home; looked at all the same, so
            // that tables made by hand cannot end the search early.
            if (directSum == 0 && AtHome()) {
                length_ = depth + 1;
                return true;
            }
            if (Deeper(depth + 1, blank)) return true;
            cell_[from] = static_cast<int8_t>(tile);
            cell_[blank] = 0;
            blank_ = blank;
            at_ = before;
            if (gaveUp) return false;
        }
        return false;
    }

    const Layout& layout_;
    const PatternDatabase& tables_;
    const std::stop_token& stop_;
    uint64_t nodeLimit_;
    int32_t haste_;
    uint64_t nodes_ = 0;
    std::array<int8_t, kCells> cell_{};
    int32_t blank_ = 0;
    // The tables' indices of the board and of its mirror image, group by
    // group, what the tables say there, and the sums.
    struct Lookups {
        std::array<uint32_t, PatternDatabase::kGroups> direct{}, mirror{};
        std::array<int32_t, PatternDatabase::kGroups> directMoves{}, mirrorMoves{};
        int32_t directSum = 0;
        int32_t mirrorSum = 0;
    } at_;
    int32_t limit_ = 0;
    int32_t over_ = INT_MAX;
    int32_t length_ = 0;
    std::array<int8_t, kMostMoves> path_{};
};

}  // namespace

FourSearch ShortestFour(const SlideBoard& board, const PatternDatabase& tables, std::stop_token stop,
                        FourLimits limits) {
    FourSearch result;
    if (board.n != 4 || !board.CanBeSolved()) return result;
    if (board.IsHome()) {
        result.moves.emplace();
        return result;
    }
    Search search(board, tables, stop, limits);
    // Every move takes the blank one step nearer home or one further, so the
    // length of any solution has the parity of the blank's steps from home.
    const int32_t parity = (board.blank / 4 + board.blank % 4) % 2;
    auto withParity = [parity](int32_t length) { return length + ((length - parity) & 1); };
    for (int32_t limit = withParity(search.Bound()); limit < limits.shorterThan && limit < kMostMoves;) {
        const bool found = search.Pass(limit);
        result.nodes = search.Nodes();
        if (found) {
            result.moves = search.Moves();
            return result;
        }
        if (search.gaveUp || search.Over() == INT_MAX) break;
        limit = withParity(search.Over());
    }
    return result;
}
