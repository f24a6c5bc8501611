// The pages over the picture (preview, solved, best times, help), and
// numbers and times in the game's digit images.
#include "app/Game.h"

void Game::DrawPage(int32_t x, int32_t y, const SurfacePtr& image) {
    DrawImage(x, y, image, nullptr, BlitMode::Opaque);

    if (screen == ScreenSolved) {
        DrawImage(130, 120, wonImage, nullptr, BlitMode::Keyed);
        // A board the game solved has no time or moves of the player's: a
        // dash for each, and the par line.
        if (solvedByGame) {
            DrawNoneYet(200, 350, kTimeWidth);
            DrawNoneYet(402, 350, kMovesWidth);
        } else {
            DrawTime(currentTime, 200, 350);
            DrawMoves(moveCount, 402, 350);
        }
        DrawParLine();
        SidebarButton(ButtonShuffleAgain);
        SidebarButton(ButtonNextLevel);
    }
    if (screen == ScreenHighScores) {
        DrawImage(0, 0, backgroundOptionsImage, nullptr, BlitMode::Opaque);
        DrawImage(145, 36, highScoreImage, nullptr, BlitMode::Keyed);
        ReadBestTimes();
        ReadFewestMoves();
        // Beside each time, to its left, the fewest moves; a dash for none yet.
        for (int32_t k = 0; k < 5; ++k) {
            const int32_t y = 110 + 70 * k;
            if (bestTime[k] >= kNoTimeYet) {
                DrawNoneYet(400, y, kTimeWidth);
            } else {
                DrawTime(bestTime[k], 400, y);
            }
            if (fewestMoves[k] == kNoMovesYet) {
                DrawNoneYet(289, y, kMovesWidth);
            } else {
                DrawMoves(fewestMoves[k], 289, y);
            }
        }
        OptionControl(OptionBack);
    }
    if (screen == ScreenHelp) DrawHelpPage();

    ReadCursor();
    DrawPointer(pointerSprite, cursor.x, cursor.y);
    Flip();

    // The preview and the solved page end any board in play: it can no longer
    // be found solved. A look at the best times or the help leaves it alone.
    if (screen == ScreenPreview || screen == ScreenSolved) EndBoard();
}

void Game::DrawNumber(int32_t value, int32_t x, int32_t y, int32_t digits, int32_t pitch) {
    if (digits <= 0) return;
    if (digits > 9) digits = 9;
    int32_t max = 1;
    for (int32_t i = 0; i < digits; ++i) max *= 10;
    int32_t divisor = max / 10;
    max -= 1;
    // Only a hand-edited best-times file holds a negative time: show it as zero.
    int32_t v = value < 0 ? 0 : value;
    if (v >= max) v = max;
    while (divisor != 0) {
        const int32_t d = v / divisor;
        v %= divisor;
        const Rect glyph{26 * d, 0, 26 * d + 26, 30};
        DrawImage(x, y, digitImage, &glyph, BlitMode::Keyed);
        divisor /= 10;
        x += pitch;
    }
}

void Game::DrawTime(int32_t seconds, int32_t x, int32_t y) {
    if (seconds < 0) seconds = 0;
    DrawNumber(seconds / 3600, x, y, 2);
    DrawImage(x + 52, y + 4, hyphenImage, nullptr, BlitMode::Keyed);
    DrawNumber((seconds / 60) % 60, x + 62, y, 2);
    DrawImage(x + 114, y + 4, hyphenImage, nullptr, BlitMode::Keyed);
    DrawNumber(seconds % 60, x + 124, y, 2);
}
