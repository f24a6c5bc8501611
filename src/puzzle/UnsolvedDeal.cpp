// A deal never shows a board that is already solved: it would be timed at
// zero seconds, a best time nothing could beat. Such a deal is dealt again,
// from the next draws; a deal that keeps coming out solved (a Shuffle.txt
// whose only record is the solved order) is taken apart by one legal move.
#include "app/Game.h"

namespace {

constexpr int kDealTries = 8;

}  // namespace

void Game::DealUnsolved(DealRandom& random) {
    for (int tries = 1;; ++tries) {
        if (gridSize == 2) {
            CannedDeal(random);
        } else {
            RandomDeal(random);
        }
        MakeSolvable();
        if (!BoardSolved()) return;
        if (tries == kDealTries) break;
        for (auto& row : cellTaken) {
            for (bool& taken : row) taken = false;
        }
    }
    // The blank is home at (0,0): the tile right of it, or the one below it,
    // slides into it.
    const int32_t row = random.Next() % 2;
    const int32_t col = 1 - row;
    PlaceTile(0, 0, row, col);
    PlaceTile(row, col, 0, 0);
}
