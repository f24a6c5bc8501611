// Playing a dealt board: drawing it, moving tiles, the solved test, the
// clock, the tile view and the level step after a solve.
#include "app/Game.h"

void Game::PlayFrame() {
    DrawBoard();
    if (clicked) MoveTileAtCursor();
    clicked = false;
    PlayKeyPresses();
    PlayPendingHint();
    AutoSolveFrame();
    ReadCursor();
    DrawPointer(pointerSprite, cursor.x, cursor.y);
    Flip();
}

void Game::MoveTileAtCursor() {
    const int32_t n = gridSize;
    const int32_t t = tileSize;
    for (int32_t row = 0; row < n; ++row) {
        for (int32_t col = 0; col < n; ++col) {
            const bool hit = 50 + col * t < cursor.x && cursor.x < 48 + (col + 1) * t &&
                             50 + row * t < cursor.y && cursor.y < 48 + (row + 1) * t;
            if (!hit) continue;
            if (!BesideBlank(row, col)) continue;
            if (soundOn) PlaySoundEffect(soundTile);
            SlideTile(row, col);
            // One click moves one tile at most. The scan ends here: the sound
            // has read the pointer afresh, and where it is now could be a
            // cell beside the new blank in a later row.
            return;
        }
    }
}

bool Game::BesideBlank(int32_t row, int32_t col) const {
    return (row == blankRow && (col == blankCol - 1 || col == blankCol + 1)) ||
           (col == blankCol && (row == blankRow - 1 || row == blankRow + 1));
}

void Game::SlideTile(int32_t row, int32_t col) {
    moveHistory.Record({blankRow, blankCol});
    SwapWithBlank(row, col);
}

void Game::SwapWithBlank(int32_t row, int32_t col) {
    slide.Start({row, col}, {blankRow, blankCol}, nowTick);
    if (moveCount < INT32_MAX) ++moveCount;
    std::swap(boardImage[row][col], boardImage[blankRow][blankCol]);
    std::swap(boardTile[row][col], boardTile[blankRow][blankCol]);
    blankRow = row;
    blankCol = col;
}

bool Game::BoardSolved() const {
    for (int32_t row = 0; row < gridSize; ++row) {
        for (int32_t col = 0; col < gridSize; ++col) {
            if (boardTile[row][col] != row * gridSize + col) return false;
        }
    }
    return true;
}

void Game::EndBoard() {
    for (auto& row : boardTile) {
        for (int32_t& cell : row) cell = -1;
    }
}

void Game::CheckSolved() {
    if (!BoardSolved()) return;
    if (soundOn) PlaySoundEffect(soundSuccess);
    screen = ScreenSolved;
    // Solved once: a key that leaves the solved page before it is drawn
    // (T in the frame of the final move) cannot bring the board back solved.
    EndBoard();
    DropSavedGame();
    hintPending = false;
    autoSolving = false;
    // The game's moves are not the player's: nothing to record.
    if (solvedByGame) return;
    RecordBestTime();
    RecordFewestMoves();
}

void Game::UpdateClock() {
    nowTick = platform.Ticks();
    HoldClockForResume();
    // Before the first deal there is no game to time: the clock stands at zero.
    elapsedSeconds = boardDealt ? static_cast<int32_t>((nowTick - startTick) / 1000u) : 0;
    if (screen == ScreenPlaying || (screen == ScreenTileView && gameInProgress)) {
        DrawTime(elapsedSeconds, 210, 560);
        currentTime = elapsedSeconds;
        DrawMoveCounter();
    }
}

void Game::DrawTileView() {
    for (int32_t row = 0; row < gridSize; ++row) {
        for (int32_t col = 0; col < gridSize; ++col) {
            const SurfacePtr& image = (row == 0 && col == 0) ? blankTile : tileImage[row][col];
            DrawImage(52 + col * tileSize, 52 + row * tileSize, image, nullptr, BlitMode::Opaque);
            DrawTileNumber(row * gridSize + col, 52 + col * tileSize, 52 + row * tileSize);
        }
    }
    ReadCursor();
    DrawPointer(pointerSprite, cursor.x, cursor.y);
    Flip();
}

Point Game::CellCentre(int32_t row, int32_t col) const {
    return {50 + col * tileSize + tileSize / 2, 50 + row * tileSize + tileSize / 2};
}

void Game::ApplyLevelChoice() {
    if (levelChoice == 6 || levelChoice == 7) {
        if (levelChoice == 7 && gridSize < 6) {
            ++gridSize;
        } else {
            // Through every picture, the player's own included, then Tiger again.
            pictureIndex = (pictureIndex + 1) % PictureCount();
        }
        screen = ScreenPreview;
        ChoosePicture(pictureIndex);
        DropSavedGame();
        // No board and no par any more: the solver stops what it is at.
        StartPar(std::nullopt);
    }
    levelChoice = 0;
}
