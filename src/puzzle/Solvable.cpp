#include "puzzle/Solvable.h"

#include <cstddef>
#include <vector>

bool IsSolvable(const int32_t board[6][6], int n) {
    if (n < 1 || n > 6) return false;
    const int cells = n * n;
    std::vector<int> order;
    std::vector<bool> seen(cells, false);
    int blankRow = -1;
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            const int32_t h = board[row][col];
            if (h < 0 || h >= cells || seen[h]) return false;
            seen[h] = true;
            if (h == 0) {
                blankRow = row;
            } else {
                order.push_back(h);
            }
        }
    }
    int inversions = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        for (std::size_t j = i + 1; j < order.size(); ++j) {
            if (order[i] > order[j]) ++inversions;
        }
    }
    // Every move keeps this parity; the solved board has none and the blank
    // on row 0. On odd widths a vertical move shifts a tile past an even
    // number of others; on even widths past an odd number, changing the
    // blank's row by one as it does.
    if (n % 2 == 1) return inversions % 2 == 0;
    return (inversions + blankRow) % 2 == 0;
}
