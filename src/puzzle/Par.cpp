// The deal's par: the length of a shortest solution (the best known at 5x5
// and 6x6), worked out on the solver's own thread from the deal on, so that
// no frame waits for it. The solved page shows it once it has come.
#include "app/Game.h"
#include "platform/Paths.h"
#include "puzzle/SolveRunner.h"

SolveRunner& Game::Solving() {
    if (!solver) solver = std::make_unique<SolveRunner>(CacheFolder());
    return *solver;
}

void Game::StartPar(const std::optional<SlideBoard>& deal) {
    parMoves = -1;
    parShortest = false;
    hintPending = false;
    autoSolving = false;
    solvedByGame = false;
    parWanted = deal && deal->CanBeSolved();
    if (parWanted) {
        Solving().StartDeal(*deal);
    } else if (solver) {
        solver->Stop();
    }
}

void Game::TakePar() {
    if (!parWanted || parMoves >= 0 || !solver) return;
    const std::optional<Solution> solution = solver->DealSolution();
    if (!solution) return;
    parMoves = static_cast<int32_t>(solution->moves.size());
    parShortest = solution->shortest;
}

void Game::EndSolving() {
    // Joined here, before the process ends: the thread reads tables that
    // the end of the process takes down.
    solver.reset();
    hintPending = false;
    autoSolving = false;
}

std::optional<SlideBoard> Game::BoardNow() const { return SlideBoard::FromBoard(boardTile, gridSize); }
