// Moves in the game's digit images: the counter under the board to the
// right of the clock, and the counts of the solved and best-times pages.
// Four digits, set a little closer than the clock's so that the counter
// fits between the clock and the board's right edge.
#include "app/Game.h"

namespace {

constexpr int32_t kMoveDigits = 4;
constexpr int32_t kMovePitch = 22;
constexpr Point kCounter{455, 560};
static_assert(26 + (kMoveDigits - 1) * kMovePitch == kMovesWidth);

}  // namespace

void Game::DrawMoves(int32_t moves, int32_t x, int32_t y) { DrawNumber(moves, x, y, kMoveDigits, kMovePitch); }

void Game::DrawMoveCounter() { DrawMoves(moveCount, kCounter.x, kCounter.y); }

void Game::DrawNoneYet(int32_t x, int32_t y, int32_t width) {
    if (!dashImage) return;
    DrawImage(x + (width - dashImage->Width()) / 2, y, dashImage, nullptr, BlitMode::Keyed);
}
