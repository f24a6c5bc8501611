// Moves: the counter under the board (undo and redo count too), the moves
// on the solved page, and the fewest-moves file with its damaged records.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <array>
#include <csignal>
#include <filesystem>

#include "fakes/GameHarness.h"

namespace {

using testart::Digit;
using testart::To565;

// The counter's digit d (0 to 3) as shown, at (455 + 22d, 560).
uint16_t CounterDigit(const GameHarness& h, int d) { return h.Shown(455 + 22 * d + 5, 565); }

TEST(MoveCounter, CountsEveryTileMovedUndoAndRedoIncludedAndANewMoveEndsRedo) {
    GameHarness h;
    h.game.gridSize = 3;
    h.game.ChoosePicture(0);
    h.Deal();
    h.SetBoard({8, 7, 6, 5, 0, 4, 3, 2, 1});
    EXPECT_EQ(h.game.moveCount, 0);
    const Point left = h.CellCentre(1, 0);
    h.ClickAt(left.x, left.y);  // 1: blank to (1,0)
    h.platform.cursor = {700, 580};
    struct Step {
        KeyPress key;
        int count;
        int blank;  // row * 3 + col afterwards
    };
    const Step steps[] = {
        {KeyPress::Up, 2, 6},     {KeyPress::Undo, 3, 3},   {KeyPress::Undo, 4, 4}, {KeyPress::Redo, 5, 3},
        {KeyPress::Redo, 6, 6},   {KeyPress::Redo, 6, 6},   // nothing left to make again
        {KeyPress::Undo, 7, 3},   {KeyPress::Left, 8, 4},   // a new move: what undo took back is gone
        {KeyPress::Redo, 8, 4},
    };
    for (const Step& step : steps) {
        h.platform.Press(step.key);
        h.Frame();
        EXPECT_EQ(h.game.moveCount, step.count) << step.count;
        EXPECT_EQ(h.game.blankRow * 3 + h.game.blankCol, step.blank) << step.count;
    }
    h.Frame();
    EXPECT_EQ(CounterDigit(h, 0), To565(Digit(0)));
    EXPECT_EQ(CounterDigit(h, 3), To565(Digit(8)));
    // The clock keeps its place beside it: 00-00-00.
    EXPECT_EQ(h.Shown(210 + 124 + 26 + 5, 565), To565(Digit(0)));
    // A new deal starts again from none.
    h.Deal();
    h.Frame();
    EXPECT_EQ(h.game.moveCount, 0);
    EXPECT_EQ(CounterDigit(h, 3), To565(Digit(0)));
}

class FewestMoves : public ::testing::Test {
protected:
    // A 2 x 2 board one move from home: its solving move is move number `moves`.
    void SolveIn(int moves) {
        h.game.gridSize = 2;
        h.game.ChoosePicture(0);
        h.Deal();
        h.SetBoard({1, 0, 2, 3});
        h.game.moveCount = moves - 1;
        h.platform.Press(KeyPress::Right);
        h.Frame();
        ASSERT_EQ(h.game.screen, ScreenSolved);
    }
    GameHarness h;
};

TEST_F(FewestMoves, ASolveInFewerMovesIsKeptAndTheSolvedPageShowsTheMoves) {
    SolveIn(12);
    EXPECT_EQ(h.folder.ReadText("FewestMoves.txt"), " 2  12 \n");
    h.Frame();
    // 0012 at (402, 350), beside the time.
    EXPECT_EQ(h.Shown(402 + 2 * 22 + 5, 355), To565(Digit(1)));
    EXPECT_EQ(h.Shown(402 + 3 * 22 + 5, 355), To565(Digit(2)));
    SolveIn(15);
    EXPECT_EQ(h.folder.ReadText("FewestMoves.txt"), " 2  12 \n");
    SolveIn(7);
    EXPECT_EQ(h.folder.ReadText("FewestMoves.txt"), " 2  7 \n");
    // The best-times file keeps its own records as they were.
    EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"), " 2  0 \n 3  359999 \n 4  359999 \n 5  359999 \n 6  359999 \n");
}

struct DamagedMoves {
    const char* name;
    const char* text;
    std::array<int32_t, 5> read;
};

void PrintTo(const DamagedMoves& file, std::ostream* out) { *out << file.name; }

class DamagedMovesFile : public FewestMoves, public ::testing::WithParamInterface<DamagedMoves> {};

constexpr int32_t N = kNoMovesYet;

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedMovesFile,
    ::testing::Values(DamagedMoves{"Empty", "", {N, N, N, N, N}},
                      DamagedMoves{"Junk", "\x7f" "ELF\x02\x01\n\xff\n", {N, N, N, N, N}},
                      DamagedMoves{"HalfWritten", " 3  40 \n 4  31", {N, 40, 31, N, N}},
                      DamagedMoves{"CutInAWord", " 3  40 \n 4  3x", {N, 40, N, N, N}},
                      DamagedMoves{"NoneAndBelowOne", " 3  0 \n 4  -7 \n 5  9 \n", {N, N, N, 9, N}},
                      DamagedMoves{"SizesOutOfRange", " 1  5 \n 7  5 \n 99999999999  5 \n 6  80 \n", {N, N, N, N, 80}},
                      DamagedMoves{"HugeCount", " 3  99999999999 \n 5  9 9 \n", {N, N, N, N, N}},
                      DamagedMoves{"TwiceTheFewerCounts", " 4  30 \n\r\n\t4\t20\r\n", {N, N, 20, N, N}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(DamagedMovesFile, CountsAsNoneYetAndTheNextSolveWritesGoodRecords) {
    h.folder.WriteText("FewestMoves.txt", GetParam().text);
    h.game.ReadFewestMoves();
    std::array<int32_t, 5> want = GetParam().read;
    EXPECT_EQ(std::vector<int32_t>(h.game.fewestMoves, h.game.fewestMoves + 5),
              std::vector<int32_t>(want.begin(), want.end()));
    SolveIn(5);
    want[0] = 5;
    std::string records;
    for (int k = 0; k < 5; ++k) {
        if (want[k] != N) records += " " + std::to_string(2 + k) + "  " + std::to_string(want[k]) + " \n";
    }
    EXPECT_EQ(h.folder.ReadText("FewestMoves.txt"), records);
}

TEST_F(FewestMoves, AWriteThatFailsLeavesTheOldFileWholeAndTheCountForTheRun) {
    h.folder.WriteText("FewestMoves.txt", " 2  30 \n 3  41 \n");
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 8;  // no rewrite fits
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    SolveIn(9);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(h.folder.ReadText("FewestMoves.txt"), " 2  30 \n 3  41 \n");
    for (const auto& entry : std::filesystem::directory_iterator(h.folder.Path())) {
        EXPECT_EQ(entry.path().filename().string().rfind("FewestMoves.txt.", 0), std::string::npos) << entry.path();
    }
    h.game.ReadFewestMoves();
    EXPECT_EQ(h.game.fewestMoves[0], 9);
    EXPECT_EQ(h.game.fewestMoves[1], 41);
}

}  // namespace
