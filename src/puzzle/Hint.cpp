// A hint: H, or Enter, Space or a controller's A with the focus on the board
// in play, slides the next tile of a shortest solution (the best known at 5x5
// and 6x6) from the board as it stands. It is a move like a key's: its sound
// at the tile, counted, kept for undo, the tile seen sliding. The solver has
// it at once on a board along a solution it has worked out (the deal's, or
// an earlier hint's); off them it is worked out on the solver's thread, and
// the hint is made in the frame it comes. A second press while one is on its
// way asks nothing more.
#include "app/Game.h"
#include "puzzle/SolveRunner.h"

void Game::Hint() {
    if (screen != ScreenPlaying || autoSolving) return;
    hintPending = true;
}

void Game::PlayPendingHint() {
    if (!hintPending) return;
    const std::optional<SlideBoard> now = BoardNow();
    if (!now || now->IsHome()) {
        hintPending = false;
        return;
    }
    const std::optional<Cell> move = Solving().NextMove(*now);
    if (!move) return;  // still being worked out: a later frame
    hintPending = false;
    SlideSolverMove(*move);
}

bool Game::SlideSolverMove(Cell tile) {
    if (tile.row < 0 || tile.col < 0 || tile.row >= gridSize || tile.col >= gridSize ||
        !BesideBlank(tile.row, tile.col)) {
        return false;
    }
    if (soundOn) PlaySoundEffectAt(soundTile, CellCentre(tile.row, tile.col));
    SlideTile(tile.row, tile.col);
    return true;
}
