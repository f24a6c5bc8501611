#include "puzzle/SolveRunner.h"

#include <utility>

#include "puzzle/ShortestFour.h"

namespace {

// The deal's route and the newest hints' ones.
constexpr size_t kRoutesKept = 4;

}  // namespace

SolveRunner::SolveRunner(std::string cacheFolder)
    : cacheFolder_(std::move(cacheFolder)), thread_(&SolveRunner::Work, this) {}

SolveRunner::~SolveRunner() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        quitting_.request_stop();
        workStop_.request_stop();
    }
    wake_.notify_all();
    thread_.join();
}

void SolveRunner::StartDeal(const SlideBoard& deal) {
    {
        std::lock_guard lock(mutex_);
        ++dealNumber_;
        dealSolution_.reset();
        routes_.clear();
        hintWaiting_.reset();
        dealWaiting_ = deal;
        workStop_.request_stop();
    }
    wake_.notify_all();
}

void SolveRunner::Hold(bool held) {
    {
        std::lock_guard lock(mutex_);
        held_ = held;
    }
    wake_.notify_all();
}

void SolveRunner::Stop() {
    std::lock_guard lock(mutex_);
    ++dealNumber_;
    dealSolution_.reset();
    routes_.clear();
    hintWaiting_.reset();
    dealWaiting_.reset();
    workStop_.request_stop();
}

std::optional<Solution> SolveRunner::DealSolution() const {
    std::lock_guard lock(mutex_);
    return dealSolution_;
}

bool SolveRunner::Busy() const {
    std::lock_guard lock(mutex_);
    return working_.has_value();
}

std::optional<Cell> SolveRunner::KnownMove(const SlideBoard& now) const {
    for (auto route = routes_.rbegin(); route != routes_.rend(); ++route) {
        for (size_t i = 0; i < route->boards.size(); ++i) {
            if (route->boards[i] == now) return route->moves[i];
        }
    }
    return std::nullopt;
}

std::optional<Cell> SolveRunner::NextMove(const SlideBoard& now) {
    if (!now.CanBeSolved() || now.IsHome()) return std::nullopt;
    {
        std::lock_guard lock(mutex_);
        if (auto move = KnownMove(now)) return move;
        if (working_ == now || dealWaiting_ == now || hintWaiting_ == now) return std::nullopt;
        hintWaiting_ = now;
        // An older hint's board is left behind; the deal's par is not.
        if (working_ && !workingOnDeal_) workStop_.request_stop();
    }
    wake_.notify_all();
    return std::nullopt;
}

void SolveRunner::Keep(Route route) {
    if (routes_.size() == kRoutesKept) routes_.erase(routes_.begin() + 1);
    routes_.push_back(std::move(route));
}

std::optional<Solution> SolveRunner::SolveHint(const SlideBoard& board, std::optional<Solution> known,
                                               std::stop_token stop) {
    if (!known || board.n <= 3) return Solve(board, tables_.get(), stop);
    if (board.n == 4) {
        // Only a way shorter than the known one is worth looking for; with
        // none, the known one is the shortest.
        const auto length = static_cast<int32_t>(known->moves.size());
        FourSearch shorter = ShortestFour(board, *tables_, stop, {.shorterThan = length});
        if (stop.stop_requested()) return std::nullopt;
        if (shorter.moves) return Solution{std::move(*shorter.moves), true};
        known->shortest = true;
        return known;
    }
    std::optional<Solution> fresh = Solve(board, tables_.get(), stop);
    if (fresh && fresh->moves.size() <= known->moves.size()) return fresh;
    return stop.stop_requested() ? std::nullopt : known;
}

void SolveRunner::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || (!held_ && (dealWaiting_ || hintWaiting_)); });
        if (quit_) return;
        const bool deal = dealWaiting_.has_value();
        const SlideBoard board = deal ? *dealWaiting_ : *hintWaiting_;
        (deal ? dealWaiting_ : hintWaiting_).reset();
        const uint64_t number = dealNumber_;
        // A hint one move away from a known route: that way is known, one
        // move longer than the route from there.
        std::optional<Solution> known;
        if (!deal) {
            if (KnownMove(board)) continue;
            SlideBoard next = board;
            for (int32_t d = 0; d < 4 && !known; ++d) {
                const Cell beside{board.blank / board.n + (d == 0) - (d == 1), board.blank % board.n + (d == 2) - (d == 3)};
                next = board;
                if (!next.Slide(beside)) continue;
                for (const Route& route : routes_) {
                    for (size_t i = 0; i < route.boards.size() && !known; ++i) {
                        if (route.boards[i] != next) continue;
                        known.emplace();
                        known->moves.push_back(beside);
                        known->moves.insert(known->moves.end(), route.moves.begin() + static_cast<ptrdiff_t>(i),
                                            route.moves.end());
                    }
                }
            }
        }
        working_ = board;
        workingOnDeal_ = deal;
        workStop_ = std::stop_source();
        const std::stop_token stop = workStop_.get_token();
        lock.unlock();

        if (board.n >= 4 && !tables_) tables_ = PatternDatabase::Open(cacheFolder_, quitting_.get_token());
        std::optional<Solution> solution;
        if (board.n <= 3 || tables_) {
            solution = deal ? Solve(board, tables_.get(), stop) : SolveHint(board, std::move(known), stop);
        }
        Route route;
        if (solution) {
            SlideBoard at = board;
            for (const Cell& move : solution->moves) {
                route.boards.push_back(at);
                at.Slide(move);
            }
            route.moves = solution->moves;
        }

        lock.lock();
        working_.reset();
        if (!solution || number != dealNumber_) continue;
        if (deal) {
            dealSolution_ = std::move(solution);
            routes_.insert(routes_.begin(), std::move(route));
        } else {
            Keep(std::move(route));
        }
    }
}
