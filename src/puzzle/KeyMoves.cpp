// The board from the keyboard: an arrow slides the tile on the far side of
// the blank into it, so the tile moves the way the arrow points; Undo takes
// the last move back. Each is a click's move, its sound placed at the cell
// the tile leaves.
#include "app/Game.h"

void Game::PlayKeyPresses() {
    for (KeyPress press : keyPresses) {
        // A move that finished the picture ends the game: later presses are dropped.
        if (BoardSolved()) break;
        switch (press) {
            case KeyPress::Undo: UndoMove(); break;
            case KeyPress::Left:
            case KeyPress::Right:
            case KeyPress::Up:
            case KeyPress::Down: SlideToward(press); break;
            default: break;  // not a key of the board
        }
    }
}

void Game::SlideToward(KeyPress arrow) {
    int32_t row = blankRow;
    int32_t col = blankCol;
    switch (arrow) {
        case KeyPress::Left: ++col; break;
        case KeyPress::Right: --col; break;
        case KeyPress::Up: ++row; break;
        case KeyPress::Down: --row; break;
        default: return;
    }
    if (row < 0 || row >= gridSize || col < 0 || col >= gridSize) return;  // the board's edge
    if (soundOn) PlaySoundEffectAt(soundTile, CellCentre(row, col));
    SlideTile(row, col);
}

void Game::UndoMove() {
    Cell back;
    if (!moveHistory.TakeLast(back)) return;
    // The tile of that move lies where the blank was before it, beside the blank now.
    if (!BesideBlank(back.row, back.col) || back.row < 0 || back.col < 0 || back.row >= gridSize || back.col >= gridSize) {
        moveHistory.Forget();  // not this board's history: nothing to take back
        return;
    }
    if (soundOn) PlaySoundEffectAt(soundTile, CellCentre(back.row, back.col));
    SwapWithBlank(back.row, back.col);
}
