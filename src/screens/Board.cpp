// The board in play as the player sees it: each cell's tile, the tile of the
// last move on its way into its cell, the tiles' numbers when they are asked
// for; and a screen capture that never holds a tile half way.
#include <cmath>

#include "app/Game.h"
#include "capture/Capture.h"

void Game::DrawBoard() {
    const int32_t t = tileSize;
    std::optional<double> along = slide.Progress(nowTick);
    const Cell from = slide.From();
    const Cell to = slide.To();
    // Only the board's newest move slides: its tile left the blank's cell
    // and lies beside it.
    const bool onBoard = to.row >= 0 && to.col >= 0 && to.row < gridSize && to.col < gridSize;
    if (along && !(from == Cell{blankRow, blankCol} && onBoard && BesideBlank(to.row, to.col))) along.reset();

    for (int32_t row = 0; row < gridSize; ++row) {
        for (int32_t col = 0; col < gridSize; ++col) {
            const int32_t x = 52 + col * t;
            const int32_t y = 52 + row * t;
            if (along && Cell{row, col} == to) {
                // The tile's new cell lies open until the tile is in.
                DrawImage(x, y, boardImage[from.row][from.col], nullptr, BlitMode::Opaque);
                continue;
            }
            DrawImage(x, y, boardImage[row][col], nullptr, BlitMode::Opaque);
            DrawTileNumber(boardTile[row][col], x, y);
        }
    }
    slideShown = along.has_value();
    if (!along) return;
    const int32_t x = 52 + from.col * t + static_cast<int32_t>(std::lround((to.col - from.col) * t * *along));
    const int32_t y = 52 + from.row * t + static_cast<int32_t>(std::lround((to.row - from.row) * t * *along));
    DrawImage(x, y, boardImage[to.row][to.col], nullptr, BlitMode::Opaque);
    DrawTileNumber(boardTile[to.row][to.col], x, y);
}

void Game::CaptureShownFrame() {
    if (!primarySurface) return;
    if (slideShown && backSurface) {
        // The tile is put in its cell over the frame on show: the picture
        // frame covers all of the board, the board is drawn again whole, and
        // the pointer goes back over it as it was shown.
        slide.Stop();
        backSurface->Reopen();
        DrawImage(45, 45, borderImage, nullptr, BlitMode::Opaque);
        DrawBoard();
        DrawPointerFrame(pointerSprite, cursor.x, cursor.y);
        Flip();
    }
    CaptureScreen(*primarySurface);
}
