// Solutions worked out on a thread of its own, so that no frame waits for
// them: the deal's own solution (its length is the deal's par), and hints,
// the next move of a solution from the board as it stands.
//
// A hint is at once when the board stands on a solution already worked out
// (the deal's, or one from an earlier hint): the player who follows it, or
// takes moves back to it, has every next move at once. A board off them is
// solved afresh in the background (a 4x4 board can take a second or more; one
// a move away from a known solution less, as only a shorter way than that
// one has to be looked for), and its hint comes in a later frame.
//
// Everything here is called from the game's thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "puzzle/PatternDatabase.h"
#include "puzzle/SlideBoard.h"
#include "puzzle/Solver.h"

class SolveRunner {
public:
    // The 4x4 tables are kept in `cacheFolder` (the game's CacheFolder());
    // with none they are made in memory, once a run.
    explicit SolveRunner(std::string cacheFolder);
    // Abandons the work at once; the thread ends within a moment.
    ~SolveRunner();
    SolveRunner(const SolveRunner&) = delete;
    SolveRunner& operator=(const SolveRunner&) = delete;

    // A new deal: whatever was being worked out is abandoned, and this deal's
    // solution is worked out next.
    void StartDeal(const SlideBoard& deal);
    // Abandons everything: there is no deal any more.
    void Stop();
    // The deal's solution, once it is worked out.
    std::optional<Solution> DealSolution() const;
    // The next move from `now` of a shortest solution (of the best known at
    // 5x5 and 6x6); nothing while it is being worked out: ask again in a later
    // frame. Nothing, too, for a board at home or one that cannot be solved.
    std::optional<Cell> NextMove(const SlideBoard& now);
    // Working a solution out now.
    bool Busy() const;
    // Held: nothing new is begun (what is being worked out goes on) until
    // let go. The game's tests hold it to see a solution come late.
    void Hold(bool held);

private:
    // A solution and the boards along it: moves[i] is made on boards[i].
    struct Route {
        std::vector<SlideBoard> boards;
        std::vector<Cell> moves;
    };
    void Work();
    std::optional<Solution> SolveHint(const SlideBoard& board, std::optional<Solution> known, std::stop_token stop);
    // Under the lock: the move from `now` along a known route.
    std::optional<Cell> KnownMove(const SlideBoard& now) const;
    void Keep(Route route);

    const std::string cacheFolder_;
    std::unique_ptr<PatternDatabase> tables_;  // the thread's own

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool quit_ = false;
    bool held_ = false;
    std::stop_source quitting_;
    std::optional<SlideBoard> dealWaiting_;
    std::optional<SlideBoard> hintWaiting_;
    std::optional<SlideBoard> working_;  // the board being solved
    bool workingOnDeal_ = false;
    std::stop_source workStop_;  // stops the solving of `working_`
    uint64_t dealNumber_ = 0;
    std::optional<Solution> dealSolution_;
    std::vector<Route> routes_;  // the deal's first, then the newest hints'

    std::thread thread_;  // last: starts once the rest is there
};
