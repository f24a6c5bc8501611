// Each tile's number, small in its top-left corner, when the player asks for
// them (N, or the options page's row): a help where picture tiles look
// alike. Tiles are numbered by their home cell in reading order, the blank's
// home being 0. The choice is kept in the player's settings.
#include <algorithm>

#include "app/Game.h"
#include "screens/OptionsLayout.h"

namespace {

// Tex\Numbers.Tex: the badges of 1 to 35 side by side.
constexpr int32_t kBadgeWidth = 26;
constexpr int32_t kBadgeHeight = 18;
constexpr int32_t kBadgeInset = 3;

// The options page's row, as the music and sound rows: its caption, 125 x 32
// a frame, its tick, and the box that answers the pointer (strict on all
// sides), over both.
constexpr Point kNumbersCaption{197, 200};
constexpr int32_t kCaptionWidth = 125;
constexpr int32_t kCaptionHeight = 32;
constexpr Point kNumbersTick{kOptionTickX, 205};
constexpr Rect kNumbersHover{197, 200, 353, 232};

}  // namespace

void Game::DrawTileNumber(int32_t home, int32_t x, int32_t y) {
    if (!showNumbers || home <= 0) return;
    const Rect badge{(home - 1) * kBadgeWidth, 0, home * kBadgeWidth, kBadgeHeight};
    DrawImage(x + kBadgeInset, y + kBadgeInset, numberImage, &badge, BlitMode::Keyed);
}

void Game::DrawTileNumbers() {
    for (int32_t row = 0; row < gridSize; ++row) {
        for (int32_t col = 0; col < gridSize; ++col) {
            DrawTileNumber(boardTile[row][col], 52 + col * tileSize, 52 + row * tileSize);
        }
    }
}

void Game::TakeNumbersPresses() {
    const auto presses = std::erase(keyPresses, KeyPress::Numbers);
    if (presses % 2 == 0) return;
    showNumbers = !showNumbers;
    WriteSettings();
}

void Game::NumbersOption() {
    const Rect& box = kNumbersHover;
    const bool inside = box.left < cursor.x && cursor.x < box.right && box.top < cursor.y && cursor.y < box.bottom;
    const bool hovered = LooksHovered(Control::Numbers, inside);
    const Rect frame{hovered ? kCaptionWidth : 0, 0, (hovered ? 2 : 1) * kCaptionWidth, kCaptionHeight};
    DrawImage(kNumbersCaption.x, kNumbersCaption.y, menuNumbers, &frame, BlitMode::Keyed);
    const Rect tick{showNumbers ? 0 : 25, 0, showNumbers ? 25 : 50, 29};
    DrawImage(kNumbersTick.x, kNumbersTick.y, menuButton, &tick, BlitMode::Keyed);
    if (!ControlPressed(Control::Numbers, inside, box)) return;
    showNumbers = !showNumbers;
    WriteSettings();
}
