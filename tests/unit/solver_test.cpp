// The solver: the known shortest lengths of boards from the literature,
// solutions that bring the dealer's boards home at every size, the 4x4
// tables read back and made again when damaged, and the runner on its thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>
#include <thread>

#include "fakes/DealtBoards.h"
#include "fakes/TestFolder.h"
#include "puzzle/PatternDatabase.h"
#include "puzzle/SmallBoards.h"
#include "puzzle/SolveRunner.h"
#include "puzzle/Solver.h"

namespace {

// Made once in the build's test folder for all the tests that need them.
const PatternDatabase& Tables() {
    static const auto tables = PatternDatabase::Open(VESK_TEST_CACHE);
    return *tables;
}

SlideBoard Board(int32_t n, const std::string& cells) {
    SlideBoard board;
    board.n = n;
    std::istringstream in(cells);
    for (int32_t i = 0; i < n * n; ++i) {
        int32_t home = 0;
        in >> home;
        board.cell[i] = static_cast<int8_t>(home);
        if (home == 0) board.blank = i;
    }
    return board;
}

bool BringsHome(SlideBoard board, const std::vector<Cell>& moves) { return Replay(board, moves) && board.IsHome(); }

// Waits for the runner's thread, at most a deadline.
template <typename Condition>
bool WaitFor(Condition done, std::chrono::seconds deadline = std::chrono::seconds(60)) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// 80 moves from home, the most any 4x4 board needs (one of the 17 such
// boards found by Brüngger, Marzetta, Fukuda and Nievergelt, turned half a
// turn so that the blank's home is the top left): minutes to solve.
const SlideBoard kEighty = Board(4, "15 10 8 12 11 14 9 13 2 6 5 1 3 7 4 0");

}  // namespace

TEST(Solver, TheFarthestSmallBoardsAreAsFarAsTheLiteratureSays) {
    // 2x2: the twelve boards lie on one ring, one of them six moves round.
    // 3x3: two boards are 31 moves from home, none farther.
    const struct {
        int32_t n;
        int32_t farthest;
        size_t boards;
    } sizes[] = {{2, 6, 1}, {3, 31, 2}};
    for (const auto& size : sizes) {
        std::vector<int8_t> order(static_cast<size_t>(size.n * size.n));
        std::iota(order.begin(), order.end(), int8_t{0});
        int32_t farthest = -1;
        std::vector<SlideBoard> far;
        do {
            SlideBoard board;
            board.n = size.n;
            std::copy(order.begin(), order.end(), board.cell.begin());
            board.blank = static_cast<int32_t>(std::find(order.begin(), order.end(), 0) - order.begin());
            if (!board.CanBeSolved()) {
                EXPECT_EQ(ShortestLength(board), -1);
                continue;
            }
            const int32_t d = ShortestLength(board);
            if (d > farthest) far.clear();
            if (d >= farthest) {
                farthest = d;
                far.push_back(board);
            }
        } while (std::next_permutation(order.begin(), order.end()));
        EXPECT_EQ(farthest, size.farthest) << size.n;
        EXPECT_EQ(far.size(), size.boards) << size.n;
        for (const SlideBoard& board : far) {
            const auto solution = Solve(board, nullptr);
            ASSERT_TRUE(solution);
            EXPECT_EQ(solution->moves.size(), static_cast<size_t>(size.farthest));
            EXPECT_TRUE(solution->shortest);
            EXPECT_TRUE(BringsHome(board, solution->moves));
        }
    }
}

TEST(Solver, KorfsFourByFourBoardsTakeTheirPublishedShortestLengths) {
    // From Korf's hundred random boards (1985), whose goal is this game's:
    // the blank at the top left. The numbers 2, 4, 6, 8 and 9, quick ones.
    const struct {
        const char* cells;
        size_t length;
    } known[] = {
        {"13 5 4 10 9 12 8 14 2 3 7 1 0 15 11 6", 55}, {"5 12 10 7 15 11 14 0 8 2 1 13 3 4 9 6", 56},
        {"14 7 1 9 12 3 6 15 8 11 2 5 10 0 4 13", 52}, {"12 11 15 3 8 0 4 2 6 13 9 5 14 1 10 7", 50},
        {"3 14 9 11 5 4 8 2 13 12 6 7 10 1 15 0", 46},
    };
    for (const auto& k : known) {
        const SlideBoard board = Board(4, k.cells);
        const auto solution = Solve(board, &Tables());
        ASSERT_TRUE(solution) << k.cells;
        EXPECT_EQ(solution->moves.size(), k.length) << k.cells;
        EXPECT_TRUE(solution->shortest);
        EXPECT_TRUE(BringsHome(board, solution->moves)) << k.cells;
    }
}

TEST(Solver, BoardsThatCannotBeBroughtHomeHaveNoSolution) {
    // Two tiles swapped, a board ended with -1, a tile twice.
    int32_t swapped[6][6] = {{0, 2, 1}, {3, 4, 5}, {6, 7, 8}};
    int32_t ended[6][6] = {{-1, -1}, {-1, -1}};
    EXPECT_FALSE(SlideBoard::FromBoard(swapped, 3));
    EXPECT_FALSE(SlideBoard::FromBoard(ended, 2));
    EXPECT_FALSE(Solve(Board(3, "0 2 1 3 4 5 6 7 8"), nullptr));
    EXPECT_FALSE(Solve(Board(4, "0 1 1 3 4 5 6 7 8 9 10 11 12 13 14 15"), &Tables()));
    EXPECT_EQ(ShortestLength(Board(3, "0 2 1 3 4 5 6 7 8")), -1);
}

class SolverSizes : public testing::TestWithParam<int32_t> {};

TEST_P(SolverSizes, EverySolutionBringsTheDealtBoardHome) {
    const int32_t n = GetParam();
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        const SlideBoard board = DealtBoard(n, seed);
        const auto solution = Solve(board, &Tables());
        ASSERT_TRUE(solution) << seed;
        EXPECT_TRUE(BringsHome(board, solution->moves)) << seed;
        // Shortest up to 4x4; the best known beyond.
        EXPECT_EQ(solution->shortest, n <= 4);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, SolverSizes, testing::Range(2, 7), [](const testing::TestParamInfo<int32_t>& info) {
    return std::to_string(info.param) + "x" + std::to_string(info.param);
});

TEST(PatternDatabase, AFileThatIsNotWholeIsMadeAgain) {
    Tables();
    ScratchFolder folder;
    const std::string path = folder.File(PatternDatabase::kFileName);
    std::filesystem::copy_file(std::string(VESK_TEST_CACHE) + "/" + PatternDatabase::kFileName, path);
    auto bytes = [&path] {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    auto write = [&path](const std::string& text) { std::ofstream(path, std::ios::binary) << text; };
    const std::string whole = bytes();
    bool built = true;
    ASSERT_TRUE(PatternDatabase::Open(folder.Path(), {}, &built));
    EXPECT_FALSE(built);

    // One entry changed: the checksum finds it, and the tables are made again.
    std::string damaged = whole;
    damaged[damaged.size() / 2] ^= 1;
    write(damaged);
    ASSERT_TRUE(PatternDatabase::Open(folder.Path(), {}, &built));
    EXPECT_TRUE(built);
    EXPECT_TRUE(bytes() == whole);

    // Short, longer, of other groups: not taken (the making, stopped at
    // once, then gives nothing).
    std::stop_source stopped;
    stopped.request_stop();
    std::string otherGroups = whole;
    std::swap(otherGroups[20], otherGroups[21]);
    for (const std::string& text : {whole.substr(0, whole.size() - 1), whole + '\0', otherGroups}) {
        write(text);
        EXPECT_FALSE(PatternDatabase::Open(folder.Path(), stopped.get_token()));
    }
}

TEST(SolveRunner, HintsFollowTheDealsSolutionAndAreWorkedOutAfreshOffIt) {
    SolveRunner runner(VESK_TEST_CACHE);
    const SlideBoard deal = Board(4, "3 14 9 11 5 4 8 2 13 12 6 7 10 1 15 0");
    runner.StartDeal(deal);
    ASSERT_TRUE(WaitFor([&] { return runner.DealSolution().has_value(); }));
    const Solution solution = *runner.DealSolution();
    EXPECT_EQ(solution.moves.size(), 46u);
    EXPECT_TRUE(solution.shortest);

    // Off the way by one move: its hint comes later; each after it at once.
    SlideBoard at = deal;
    at.Slide(solution.moves[0] == Cell{3, 2} ? Cell{2, 3} : Cell{3, 2});
    const SlideBoard off = at;
    EXPECT_FALSE(runner.NextMove(off));
    ASSERT_TRUE(WaitFor([&] { return runner.NextMove(off).has_value(); }));
    size_t moves = 0;
    while (auto move = runner.NextMove(at)) {
        ASSERT_TRUE(at.Slide(*move));
        ++moves;
    }
    EXPECT_TRUE(at.IsHome());
    EXPECT_EQ(moves, Solve(off, &Tables())->moves.size());
}

TEST(SolveRunner, ANewDealStopOrTheEndAbandonsTheWork) {
    Tables();
    auto runner = std::make_unique<SolveRunner>(VESK_TEST_CACHE);
    // The long solve is abandoned for the next deal, whose solution comes.
    runner->StartDeal(kEighty);
    ASSERT_TRUE(WaitFor([&] { return runner->Busy(); }));
    const SlideBoard quick = DealtBoard(3, 1);
    runner->StartDeal(quick);
    ASSERT_TRUE(WaitFor([&] { return runner->DealSolution().has_value(); }));
    EXPECT_EQ(runner->DealSolution()->moves.size(), static_cast<size_t>(ShortestLength(quick)));

    runner->StartDeal(kEighty);
    ASSERT_TRUE(WaitFor([&] { return runner->Busy(); }));
    runner->Stop();
    ASSERT_TRUE(WaitFor([&] { return !runner->Busy(); }));
    EXPECT_FALSE(runner->DealSolution());

    // The end: the thread is gone within moments, not minutes.
    runner->StartDeal(kEighty);
    ASSERT_TRUE(WaitFor([&] { return runner->Busy(); }));
    const auto begin = std::chrono::steady_clock::now();
    runner.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(10));
}
