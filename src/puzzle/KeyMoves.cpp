// The board from the keyboard: an arrow slides the tile on the far side of
// the blank into it, so the tile moves the way the arrow points; Undo takes
// the last move back, Redo makes again what Undo took back. Each is a
// click's move, its sound placed at the cell the tile leaves.
#include "app/Game.h"

void Game::PlayKeyPresses() {
    for (KeyPress press : keyPresses) {
        // A move that finished the picture ends the game: later presses are dropped.
        if (BoardSolved()) break;
        switch (press) {
            case KeyPress::Undo: UndoMove(); break;
            case KeyPress::Redo: RedoMove(); break;
            case KeyPress::Left:
            case KeyPress::Right:
            case KeyPress::Up:
            case KeyPress::Down: SlideToward(press); break;
            case KeyPress::Hint: Hint(); break;
            case KeyPress::Solve: StartAutoSolve(); break;
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
    // The tile of that move lies where the blank was before it, beside the blank now.
    if (!moveHistory.TakeLast(back) || !HistoryTileMoves(back)) return;
    moveHistory.Undone({blankRow, blankCol});
    SwapWithBlank(back.row, back.col);
}

void Game::RedoMove() {
    Cell tile;
    // The tile that undo took back lies where the blank was before it.
    if (!moveHistory.TakeUndone(tile) || !HistoryTileMoves(tile)) return;
    moveHistory.Redone({blankRow, blankCol});
    SwapWithBlank(tile.row, tile.col);
}

bool Game::HistoryTileMoves(Cell tile) {
    if (tile.row < 0 || tile.col < 0 || tile.row >= gridSize || tile.col >= gridSize ||
        !BesideBlank(tile.row, tile.col)) {
        moveHistory.Forget();  // not this board's history: nothing to take back or make again
        return false;
    }
    if (soundOn) PlaySoundEffectAt(soundTile, CellCentre(tile.row, tile.col));
    return true;
}
