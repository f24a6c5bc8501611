// Playing a board: hit boxes, moves, the solved test and its timing, the
// clock, the tile view and the level step.
#include <gtest/gtest.h>

#include "fakes/GameHarness.h"

namespace {

using testart::To565;

class Play : public ::testing::Test {
protected:
    void SetUp() override {
        h.Deal();
        ASSERT_EQ(h.game.screen, ScreenPlaying);
    }
    void Grid(int n) {
        h.game.gridSize = n;
        h.game.ChoosePicture(h.game.pictureIndex);
        h.Deal();
    }
    GameHarness h;
};

TEST_F(Play, HitBoxesAreStrictOnEverySide) {
    // Blank at (0,1); the tile of home 3 in cell (0,0): its box is 51..297.
    h.SetBoard({3, 0, 2, 1});
    for (int x : {50, 298}) {
        h.ClickAt(x, 150);
        EXPECT_EQ(h.game.blankCol, 1) << x;
        EXPECT_TRUE(h.audio.Played().empty()) << x;
    }
    h.ClickAt(150, 50);
    EXPECT_EQ(h.game.blankCol, 1);
    h.ClickAt(150, 298);
    EXPECT_EQ(h.game.blankCol, 1);
    h.ClickAt(51, 51);
    EXPECT_EQ(h.game.blankCol, 0);
    EXPECT_EQ(h.game.boardTile[0][1], 3);
    h.SetBoard({3, 0, 2, 1});
    h.ClickAt(297, 297);
    EXPECT_EQ(h.game.blankCol, 0);
}

TEST_F(Play, OnlyFourNeighboursOfTheBlankMove) {
    Grid(3);
    // Blank in the middle.
    h.SetBoard({1, 2, 3, 4, 0, 5, 6, 7, 8});
    const auto before = h.game.boardTile[0][0];
    for (auto [r, c] : {std::pair{0, 0}, {2, 2}, {1, 1}, {0, 2}}) {
        const Point p = h.CellCentre(r, c);
        h.ClickAt(p.x, p.y);
        EXPECT_EQ(h.game.blankRow, 1);
        EXPECT_EQ(h.game.blankCol, 1);
    }
    EXPECT_EQ(h.game.boardTile[0][0], before);
    EXPECT_TRUE(h.audio.Played().empty());

    const Point up = h.CellCentre(0, 1);
    h.ClickAt(up.x, up.y);
    EXPECT_EQ(h.game.blankRow, 0);
    EXPECT_EQ(h.game.blankCol, 1);
    EXPECT_EQ(h.game.boardTile[1][1], 2);
    EXPECT_EQ(h.game.boardImage[1][1], h.game.tileImage[0][2]);
    EXPECT_EQ(h.game.boardImage[0][1], h.game.blankTile);
    EXPECT_EQ(h.audio.Played(), (std::vector<std::string>{"Tile.aud"}));
}

TEST_F(Play, AClickMovesOneTileEvenWhenThePointerHasMovedOnToAnotherNeighbour) {
    // Blank at (0,1); the click is on (0,0), made before the pointer was last
    // read on (0,1) and is read next on (1,0), beside where the blank goes.
    h.SetBoard({3, 0, 2, 1});
    h.platform.cursor = {400, 150};
    h.Frame();
    h.platform.cursor = {150, 400};
    h.platform.Click({150, 150});
    h.Frame();
    EXPECT_EQ(h.game.boardTile[0][0], 0);
    EXPECT_EQ(h.game.boardTile[1][0], 2);
    EXPECT_EQ(h.audio.Played(), (std::vector<std::string>{"Tile.aud"}));
}

TEST_F(Play, AMoveShowsFromTheNextFrameAndTheClickIsGoneAfterItsFrame) {
    h.SetBoard({3, 0, 2, 1});
    h.platform.cursor = {150, 150};
    h.Frame();
    h.platform.Click();
    h.Frame();
    // The frame of the click still shows the tile at (0,0).
    EXPECT_EQ(h.Shown(60, 60), To565(testart::PicturePixel(0, 258, 258)));
    EXPECT_FALSE(h.game.clicked);
    // From the next frame the tile slides across; a tenth of a second later
    // it is in its new cell.
    h.Frame();
    EXPECT_EQ(h.Shown(60, 60), To565(testart::kHollow));
    h.Frames(3);
    EXPECT_EQ(h.Shown(310, 60), To565(testart::PicturePixel(0, 258, 258)));
    EXPECT_EQ(h.Shown(302, 52), To565(testart::PicturePixel(0, 250, 250)));
}

// The last move made by a click or by the Right arrow; a press after it in
// the same frame comes too late and is dropped.
class LastMove : public Play, public ::testing::WithParamInterface<bool> {};

TEST_P(LastMove, SolvesInItsOwnFrameAndRecordsItsTime) {
    h.SetBoard({1, 0, 2, 3});
    h.game.startTick = h.platform.now - 5400;
    h.platform.cursor = {150, 150};
    h.Frame();
    if (GetParam()) {
        h.platform.Press(KeyPress::Right);
    } else {
        h.platform.Click();
    }
    h.platform.Press(KeyPress::Left);
    h.Frame();
    EXPECT_EQ(h.game.screen, ScreenSolved);
    EXPECT_EQ(h.game.blankCol, 0);
    EXPECT_EQ(h.game.currentTime, 5);
    EXPECT_EQ(h.audio.Played(), (std::vector<std::string>{"Tile.aud", "Success.aud"}));
    EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"),
              " 2  5 \n 3  359999 \n 4  359999 \n 5  359999 \n 6  359999 \n");
    EXPECT_EQ(h.game.bestTime[0], 5);
    // The frame of the move still showed the board with its clock.
    h.Frame();
    // The solved page overwrote the board's home indices: never solved twice.
    for (auto& row : h.game.boardTile) {
        for (int32_t cell : row) EXPECT_EQ(cell, -1);
    }
}

INSTANTIATE_TEST_SUITE_P(ByClickOrKey, LastMove, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Key" : "Click"); });

TEST_F(Play, AShuffleFileOfTheSolvedOrderDealsABoardOneMoveFromHome) {
    h.folder.WriteText("Shuffle.txt", "0 0 0 1 1 0 1 1\n");
    const std::vector<int32_t> blankRight{1, 0, 2, 3}, blankBelow{2, 1, 0, 3};
    int right = 0;
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        h.platform.now = seed * 977;
        h.Deal();
        const std::vector<int32_t> board{h.game.boardTile[0][0], h.game.boardTile[0][1], h.game.boardTile[1][0],
                                         h.game.boardTile[1][1]};
        ASSERT_TRUE(board == blankRight || board == blankBelow) << seed;
        right += board == blankRight;
        EXPECT_EQ(h.game.boardImage[h.game.blankRow][h.game.blankCol], h.game.blankTile);
        // Shown as dealt: cell (0,0) holds the tile that left its place.
        EXPECT_EQ(h.Shown(60, 60), To565(testart::PicturePixel(0, board[0] == 1 ? 258 : 8, board[0] == 1 ? 8 : 258)));
        h.Frame();
        EXPECT_EQ(h.game.screen, ScreenPlaying);
    }
    EXPECT_GT(right, 0);
    EXPECT_LT(right, 20);
    EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"), " 2  359999 \n 3  359999 \n 4  359999 \n 5  359999 \n 6  359999 \n");
    // One move brings it home.
    h.ClickAt(150, 150);
    EXPECT_EQ(h.game.screen, ScreenSolved);
}

TEST_F(Play, THeldInTheFrameOfTheFinalMoveSolvesOnce) {
    // A game that visited the tile view.
    for (int i = 0; i < 2; ++i) {
        h.platform.Hold(kKeyT);
        h.Frame();
        h.platform.Release(kKeyT);
    }
    ASSERT_EQ(h.game.screen, ScreenPlaying);
    ASSERT_TRUE(h.game.gameInProgress);
    h.SetBoard({1, 0, 2, 3});
    h.platform.cursor = {150, 150};
    h.Frame();
    h.platform.Click();
    h.platform.Hold(kKeyT);
    h.Frame();
    h.platform.Release(kKeyT);
    EXPECT_EQ(h.game.screen, ScreenTileView);
    h.Frame();
    h.platform.Hold(kKeyT);
    h.Frame();
    h.platform.Release(kKeyT);
    h.Frames(3);
    EXPECT_EQ(h.game.screen, ScreenPlaying);
    EXPECT_EQ(h.audio.Played(), (std::vector<std::string>{"Tile.aud", "Success.aud"}));
}

TEST_F(Play, ClockCountsWholeSecondsFromTheDealAndAcrossTheTickWrap) {
    h.game.startTick = 0xFFFFF000u;  // 4096 ms before the wrap
    h.platform.now = 0x00000F00u;    // 3840 ms after it
    h.Frame();
    EXPECT_EQ(h.game.elapsedSeconds, 7);
    EXPECT_EQ(h.game.currentTime, 7);
    // 00-00-07: the last glyph is digit 7.
    EXPECT_EQ(h.Shown(210 + 124 + 26 + 5, 565), To565(testart::Digit(7)));
    EXPECT_EQ(h.Shown(210 + 5, 565), To565(testart::Digit(0)));
}

TEST_F(Play, ClockKeepsRunningOnTheTileViewDuringAGame) {
    const uint32_t dealt = h.game.startTick;
    h.platform.Hold(kKeyT);
    h.Frame();
    h.platform.Release(kKeyT);
    ASSERT_EQ(h.game.screen, ScreenTileView);
    EXPECT_TRUE(h.game.gameInProgress);
    h.platform.now = dealt + 61000;
    h.Frame();
    EXPECT_EQ(h.game.currentTime, 61);
    // 00-01-01
    EXPECT_EQ(h.Shown(210 + 62 + 26 + 5, 565), To565(testart::Digit(1)));
    EXPECT_EQ(h.game.startTick, dealt);
}

TEST_F(Play, TileViewShowsEveryTileAtHomeAndMovesNothing) {
    h.SetBoard({3, 2, 1, 0});
    h.game.screen = ScreenTileView;
    h.ClickAt(150, 150);
    EXPECT_EQ(h.Shown(60, 60), To565(testart::kHollow));
    EXPECT_EQ(h.Shown(302, 302), To565(testart::PicturePixel(0, 250, 250)));
    EXPECT_EQ(h.game.boardTile[0][0], 3);
    EXPECT_EQ(h.game.blankRow, 1);
}

TEST_F(Play, LevelStepGrowsTheGridOrMovesToTheNextPicture) {
    struct Case {
        int grid, picture, choice;
        int wantGrid, wantPicture, wantTile;
    };
    const Case cases[] = {
        {2, 0, 7, 3, 0, 166}, {5, 1, 7, 6, 1, 83}, {6, 2, 7, 6, 0, 83},
        {3, 1, 6, 3, 2, 166}, {6, 2, 6, 6, 0, 83}, {4, 0, 0, 4, 0, 125},
    };
    for (const Case& c : cases) {
        h.game.gridSize = c.grid;
        h.game.ChoosePicture(c.picture);
        h.game.screen = ScreenSolved;
        h.game.levelChoice = c.choice;
        h.game.ApplyLevelChoice();
        EXPECT_EQ(h.game.gridSize, c.wantGrid);
        EXPECT_EQ(h.game.pictureIndex, c.wantPicture);
        EXPECT_EQ(h.game.tileSize, c.wantTile);
        EXPECT_EQ(h.game.levelChoice, 0);
        EXPECT_EQ(h.game.screen, c.choice ? ScreenPreview : ScreenSolved);
        EXPECT_EQ(h.game.currentPicture, h.game.pictureFull[c.wantPicture]);
        EXPECT_EQ(h.game.tileImage[0][0]->Width(), c.wantTile - 2);
    }
}

TEST_F(Play, NextLevelClickedOnTheSolvedPageShowsTheBiggerGrid) {
    h.game.screen = ScreenSolved;
    h.ClickAt(400, 520);  // Next Level: 330 < x < 503, 500 < y < 541
    EXPECT_EQ(h.game.gridSize, 3);
    EXPECT_EQ(h.game.screen, ScreenPreview);
    h.Deal();
    EXPECT_EQ(h.game.tileSize, 166);
    EXPECT_EQ(h.Shown(52 + 166 * 2 + 10, 52 + 166 * 2 + 10) != 0, true);
}

TEST_F(Play, TilesOfAnEarlierCutStayAliveWhileTheBoardShowsThem) {
    const SurfacePtr shown = h.game.boardImage[0][0];
    std::weak_ptr<Surface> watch = shown;
    h.game.ChoosePicture(1);
    ASSERT_FALSE(watch.expired());
    // Back to the old board without a deal (Escape on the options page).
    h.game.screen = ScreenOptions;
    h.platform.Hold(kKeyEscape);
    h.Frame();
    h.platform.Release(kKeyEscape);
    ASSERT_EQ(h.game.screen, ScreenPlaying);
    h.Frame();
    EXPECT_EQ(h.Shown(60, 60), shown->Pixel(8, 8));
}

TEST(PlayBeforeADeal, AnUndealtBoardDrawsNothingIsNeverSolvedAndTheClockShowsZero) {
    GameHarness h;
    h.platform.now = 987654;
    h.game.screen = ScreenOptions;
    h.platform.Hold(kKeyEscape);
    h.Frame();
    h.platform.Release(kKeyEscape);
    ASSERT_EQ(h.game.screen, ScreenPlaying);
    h.Frames(3);
    EXPECT_EQ(h.game.screen, ScreenPlaying);
    EXPECT_EQ(h.game.currentTime, 0);
    EXPECT_EQ(h.Shown(100, 100), To565(testart::kBorder));
    for (int x : {210 + 5, 210 + 26 + 5, 210 + 62 + 5, 210 + 124 + 26 + 5}) {
        EXPECT_EQ(h.Shown(x, 565), To565(testart::Digit(0))) << x;
    }
    // A deal from here is a real one.
    h.Deal();
    EXPECT_NE(h.Shown(100, 100), To565(testart::kBorder));
}

}  // namespace
