// The grid size being played, "2 x 2" to "6 x 6", under the board at its
// left, before the clock's label; the strip right of the clock is left free.
#include "app/Game.h"

namespace {

constexpr int32_t kRowWidth = 120, kRowHeight = 34;

}  // namespace

void Game::DrawGridSize() {
    if (gridSize < 2 || gridSize > kMaxGrid) return;
    const int32_t top = (gridSize - 2) * kRowHeight;
    const Rect row{0, top, kRowWidth, top + kRowHeight};
    DrawImage(12, 558, gridSizeImage, &row, BlitMode::Keyed);
}
