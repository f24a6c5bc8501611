// G: the game solves the board itself, one move of the solution every
// kAutoSolveMs, each a move like a hint's, so that the player sees the tiles
// go home one by one. Any key or click stops it, and is taken by that. A
// board the game has made moves of records no best time and no fewest moves.
#include "app/Game.h"
#include "puzzle/SolveRunner.h"

namespace {

bool OnBoard(Point at) { return 50 <= at.x && at.x < 550 && 50 <= at.y && at.y < 550; }

}  // namespace

void Game::StartAutoSolve() {
    if (screen != ScreenPlaying || autoSolving) return;
    const std::optional<SlideBoard> now = BoardNow();
    if (!now || now->IsHome()) return;
    autoSolving = true;
    hintPending = false;
    solvedByGame = true;
    // The first move as soon as the solver has it.
    autoSolveTick = nowTick - kAutoSolveMs;
}

void Game::StopAutoSolveOnInput() {
    if (!autoSolving) return;
    if (screen != ScreenPlaying) {
        autoSolving = false;
        return;
    }
    if (!clicked && keyPresses.empty()) return;
    autoSolving = false;
    // The press only stops the solving: it moves nothing on the board. The
    // sidebar's buttons and the keys T, S, F9 and Escape still act.
    std::erase_if(keyPresses, [](KeyPress press) {
        switch (press) {
            case KeyPress::Left:
            case KeyPress::Right:
            case KeyPress::Up:
            case KeyPress::Down:
            case KeyPress::Undo:
            case KeyPress::Redo:
            case KeyPress::Activate:
            case KeyPress::Hint:
            case KeyPress::Solve: return true;
            default: return false;
        }
    });
    if (clicked && OnBoard(cursor)) clicked = false;
}

void Game::AutoSolveFrame() {
    if (!autoSolving) return;
    if (screen != ScreenPlaying) {
        autoSolving = false;
        return;
    }
    if (nowTick - autoSolveTick < kAutoSolveMs) return;
    const std::optional<SlideBoard> now = BoardNow();
    if (!now || now->IsHome()) {
        autoSolving = false;
        return;
    }
    const std::optional<Cell> move = Solving().NextMove(*now);
    if (!move) return;  // being worked out: a later frame
    if (!SlideSolverMove(*move)) {
        autoSolving = false;
        return;
    }
    autoSolveTick = nowTick;
}
