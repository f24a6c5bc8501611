// The solver in play: H's hint moves, the par on the solved page (also when
// it comes after the page), G's solving and what it leaves unrecorded, and a
// resumed game's par.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "fakes/GameHarness.h"
#include "puzzle/SavedGame.h"
#include "puzzle/SmallBoards.h"
#include "puzzle/SolveRunner.h"

namespace {

using testart::To565;

// Where the par line's words and its first digit show (ParLine.cpp's place).
constexpr Point kParWords{215, 410};
constexpr Point kParFirstDigit{210 + 146 + 5, 398 + 5 + 5};
constexpr Point kMovesDash{402 + 46, 365};

// Frames, the solver's thread working beside them, until `done` (false at
// the deadline).
bool FramesUntil(GameHarness& h, const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        h.Frame();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

int32_t FirstDigit(int32_t value) {
    while (value >= 10) value /= 10;
    return value;
}

class Par : public ::testing::Test {
protected:
    void DealThree() {
        h.game.gridSize = 3;
        h.game.ChoosePicture(0);
        h.Deal();
        deal = h.game.BoardNow().value();
        par = ShortestLength(deal);
        ASSERT_GT(par, 1);
    }
    int32_t Distance() const { return ShortestLength(h.game.BoardNow().value()); }
    bool ParShown() const { return h.Shown(kParWords.x, kParWords.y) == To565(testart::kParShortest); }
    void Press(KeyPress key) {
        h.platform.Press(key);
        h.Frame();
    }

    GameHarness h;
    SlideBoard deal;
    int32_t par = 0;
};

TEST_F(Par, AHintIsAMoveOfAShortestSolutionAndTheSolvedPageShowsThePar) {
    DealThree();
    ASSERT_TRUE(FramesUntil(h, [&] {
        if (h.game.moveCount == 0 && !h.game.hintPending) h.platform.Press(KeyPress::Hint);
        return h.game.moveCount == 1;
    }));
    EXPECT_EQ(Distance(), par - 1);
    EXPECT_EQ(h.game.moveHistory.Size(), 1u);
    EXPECT_EQ(h.audio.Played(), (std::vector<std::string>{"Tile.aud"}));
    h.Frame();  // the tile seen sliding
    Press(KeyPress::Undo);
    EXPECT_EQ(h.game.BoardNow(), deal);

    // Hint after hint, with Enter on the board too, to the end: a solve like any other.
    int32_t presses = 0;
    ASSERT_TRUE(FramesUntil(h, [&] {
        if (h.game.screen == ScreenPlaying && !h.game.hintPending) {
            h.platform.Press(++presses % 2 ? KeyPress::Hint : KeyPress::Activate);
        }
        return h.game.screen == ScreenSolved;
    }));
    EXPECT_EQ(h.game.moveCount, 2 + par);
    EXPECT_EQ(h.game.fewestMoves[1], 2 + par);
    h.Frame();
    EXPECT_TRUE(ParShown());
    EXPECT_EQ(h.Shown(kParFirstDigit.x, kParFirstDigit.y), To565(testart::Digit(FirstDigit(par))));
}

TEST_F(Par, AParWorkedOutAfterTheSolveComesOntoTheShownPage) {
    h.game.Solving().Hold(true);
    DealThree();
    // Solved by hand, the solver held all the while.
    for (const Cell& move : ShortestSmall(deal)) {
        const Point at = h.CellCentre(move.row, move.col);
        h.ClickAt(at.x, at.y);
    }
    ASSERT_EQ(h.game.screen, ScreenSolved);
    h.Frames(3);
    EXPECT_FALSE(ParShown());
    EXPECT_EQ(h.game.fewestMoves[1], par);

    h.game.solver->Hold(false);
    ASSERT_TRUE(FramesUntil(h, [&] { return ParShown(); }));
    EXPECT_EQ(h.game.parMoves, par);
    EXPECT_EQ(h.Shown(kParFirstDigit.x, kParFirstDigit.y), To565(testart::Digit(FirstDigit(par))));
    EXPECT_EQ(h.game.screen, ScreenSolved);
}

TEST_F(Par, GSolvesTheBoardAtItsPaceAndRecordsNothing) {
    DealThree();
    const uint32_t begin = h.platform.now;
    Press(KeyPress::Solve);
    ASSERT_TRUE(FramesUntil(h, [&] { return h.game.screen == ScreenSolved; }));
    EXPECT_EQ(h.game.moveCount, par);
    EXPECT_GE(h.platform.now - begin, (par - 1) * kAutoSolveMs);
    EXPECT_EQ(h.game.fewestMoves[1], kNoMovesYet);
    EXPECT_EQ(h.game.runBestTime[1], INT32_MAX);
    h.Frame();
    EXPECT_TRUE(ParShown());
    EXPECT_EQ(h.Shown(kMovesDash.x, kMovesDash.y), To565(testart::kDash));
}

TEST_F(Par, AnyKeyStopsGAndMovesNothingItself) {
    DealThree();
    Press(KeyPress::Solve);
    ASSERT_TRUE(FramesUntil(h, [&] { return h.game.moveCount >= 2 || h.game.screen != ScreenPlaying; }));
    if (par <= 2) GTEST_SKIP() << "a deal two moves from home";
    const int32_t moves = h.game.moveCount;
    Press(KeyPress::Left);
    h.Frames(30);
    EXPECT_EQ(h.game.moveCount, moves);
    EXPECT_FALSE(h.game.autoSolving);
    EXPECT_EQ(h.game.screen, ScreenPlaying);
    EXPECT_EQ(Distance(), par - moves);
}

TEST_F(Par, AResumedGameHasTheParOfItsDeal) {
    DealThree();
    ASSERT_TRUE(FramesUntil(h, [&] {
        h.game.TakePar();
        return h.game.parMoves >= 0;
    }));
    EXPECT_EQ(h.game.parMoves, par);
    // Three moves made: the board as it stands is an odd number of moves
    // from the deal, so never as far from home.
    for (int32_t k = 0; k < 3; ++k) {
        const Cell blank{h.game.blankRow, h.game.blankCol};
        const std::pair<KeyPress, Cell> arrows[] = {{KeyPress::Left, {blank.row, blank.col + 1}},
                                                    {KeyPress::Right, {blank.row, blank.col - 1}},
                                                    {KeyPress::Up, {blank.row + 1, blank.col}},
                                                    {KeyPress::Down, {blank.row - 1, blank.col}}};
        for (const auto& [arrow, tile] : arrows) {
            SlideBoard next = h.game.BoardNow().value();
            if (!next.Slide(tile) || next.IsHome()) continue;
            Press(arrow);
            break;
        }
    }
    ASSERT_EQ(h.game.moveCount, 3);
    ASSERT_NE(Distance(), par);
    h.game.SaveGameAtEnd();

    FakePlatform platform;
    FakeAudio audio;
    Game next(platform, audio);
    next.LoadResources();
    next.ResumeSavedGame();
    ASSERT_EQ(next.screen, ScreenTileView);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (next.TakePar(), next.parMoves < 0 && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(next.parMoves, par);
    EXPECT_TRUE(next.parShortest);
}

}  // namespace
