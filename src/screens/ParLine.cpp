// The solved page's par line, under the player's time and moves: "shortest"
// and the length of a shortest solution of the deal, or "best known" and the
// length of the best solution found at 5x5 and 6x6, where no shorter one is
// ruled out. It comes once the solver has finished: the page shows the
// player's moves alone until then, and the par line from the frame it comes.
#include "app/Game.h"

namespace {

// Each of the par image's two rows is a slot: its words at the left, room
// for the digits at the right.
constexpr int32_t kParWidth = 240, kParHeight = 40;
constexpr Point kParAt{210, 398};
constexpr int32_t kParDigitsX = 146, kParDigitsY = 5;
constexpr int32_t kParPitch = 22;

int32_t DigitsOf(int32_t value) {
    int32_t digits = 1;
    for (; value >= 10 && digits < 4; value /= 10) ++digits;
    return digits;
}

}  // namespace

void Game::DrawParLine() {
    TakePar();
    if (parMoves < 0) return;
    const int32_t top = parShortest ? 0 : kParHeight;
    const Rect row{0, top, kParWidth, top + kParHeight};
    DrawImage(kParAt.x, kParAt.y, parImage, &row, BlitMode::Keyed);
    DrawNumber(parMoves, kParAt.x + kParDigitsX, kParAt.y + kParDigitsY, DigitsOf(parMoves), kParPitch);
}
