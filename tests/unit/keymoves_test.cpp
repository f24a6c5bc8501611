// The board from the keyboard: the arrows wherever the blank lies, one move
// a press, undo back to the deal and no further, a deal forgetting the
// moves, and presses on other screens dropped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/GameHarness.h"

namespace {

// The board as it stands: the home index and the image of every cell.
struct BoardState {
    std::vector<int32_t> homes;
    std::vector<const Surface*> images;
    bool operator==(const BoardState&) const = default;
};

BoardState StateOf(const Game& game) {
    BoardState s;
    for (int row = 0; row < game.gridSize; ++row) {
        for (int col = 0; col < game.gridSize; ++col) {
            s.homes.push_back(game.boardTile[row][col]);
            s.images.push_back(game.boardImage[row][col].get());
        }
    }
    return s;
}

class KeyMoves : public ::testing::Test {
protected:
    void SetUp() override {
        h.game.gridSize = 3;
        h.game.ChoosePicture(0);
        h.Deal();
        ASSERT_EQ(h.game.screen, ScreenPlaying);
        h.platform.cursor = {700, 560};  // on the sidebar, away from every cell
        h.Frame();
    }
    // A 3 x 3 board with the blank in (row, col) and tiles 8..1 in reading
    // order around it: never solved.
    void BlankAt(int row, int col) {
        std::vector<int32_t> homes;
        for (int k = 8; k > 0; --k) homes.push_back(k);
        homes.insert(homes.begin() + row * 3 + col, 0);
        h.SetBoard(homes);
    }
    void Press(KeyPress key) {
        h.platform.Press(key);
        h.Frame();
    }
    GameHarness h;
};

// Every arrow with the blank in each corner, on each edge and in the middle.
class ArrowsAroundTheBlank : public KeyMoves, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(ArrowsAroundTheBlank, MoveTheTileOnTheFarSideTheWayTheArrowPoints) {
    const auto [row, col] = GetParam();
    struct Arrow {
        KeyPress key;
        int fromRow, fromCol;  // where the tile that moves lies, seen from the blank
        const char* name;
    };
    const Arrow arrows[] = {{KeyPress::Left, 0, 1, "Left"},
                            {KeyPress::Right, 0, -1, "Right"},
                            {KeyPress::Up, 1, 0, "Up"},
                            {KeyPress::Down, -1, 0, "Down"}};
    for (const Arrow& a : arrows) {
        BlankAt(row, col);
        const BoardState before = StateOf(h.game);
        h.audio.plays.clear();
        Press(a.key);
        const int r = row + a.fromRow;
        const int c = col + a.fromCol;
        if (r < 0 || r > 2 || c < 0 || c > 2) {
            // The board's edge: nothing moves, nothing sounds.
            EXPECT_EQ(StateOf(h.game), before) << a.name;
            EXPECT_EQ(h.game.blankRow * 3 + h.game.blankCol, row * 3 + col) << a.name;
            EXPECT_TRUE(h.audio.plays.empty()) << a.name;
            continue;
        }
        EXPECT_EQ(h.game.blankRow, r) << a.name;
        EXPECT_EQ(h.game.blankCol, c) << a.name;
        EXPECT_EQ(h.game.boardTile[row][col], before.homes[r * 3 + c]) << a.name;
        EXPECT_EQ(h.game.boardImage[row][col].get(), before.images[r * 3 + c]) << a.name;
        EXPECT_EQ(h.game.boardImage[r][c], h.game.blankTile) << a.name;
        // The tile sound, from where the tile was, not from the pointer.
        ASSERT_EQ(h.audio.Played(), (std::vector<std::string>{"Tile.aud"})) << a.name;
        EXPECT_NEAR(h.audio.plays[0].x, (50 + c * 166 + 83 - 400) / 800.0, 0.005) << a.name;
        EXPECT_NEAR(h.audio.plays[0].y, (50 + r * 166 + 83 - 300) / 600.0, 0.005) << a.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    BlankCells, ArrowsAroundTheBlank,
    ::testing::Values(std::pair{0, 0}, std::pair{0, 1}, std::pair{0, 2}, std::pair{1, 0}, std::pair{1, 1},
                      std::pair{1, 2}, std::pair{2, 0}, std::pair{2, 1}, std::pair{2, 2}),
    [](const auto& info) {
        return "Row" + std::to_string(info.param.first) + "Col" + std::to_string(info.param.second);
    });

TEST_F(KeyMoves, APressMovesOneTileHoweverManyFramesFollow) {
    BlankAt(1, 1);
    Press(KeyPress::Left);
    h.Frames(3);
    EXPECT_EQ(h.game.blankCol, 2);
    EXPECT_EQ(h.audio.Played(), (std::vector<std::string>{"Tile.aud"}));
    // Presses made within one frame each move a tile, in order.
    h.platform.Press(KeyPress::Right);
    h.platform.Press(KeyPress::Up);
    h.Frame();
    EXPECT_EQ(h.game.blankRow, 2);
    EXPECT_EQ(h.game.blankCol, 1);
    EXPECT_EQ(h.audio.Played().size(), 3u);
}

TEST_F(KeyMoves, UndoTakesEveryMoveBackToTheDealAndNoFurtherWithTheClockRunning) {
    BlankAt(1, 1);
    const BoardState dealt = StateOf(h.game);
    const uint32_t dealTick = h.game.startTick;
    const Point left = h.CellCentre(1, 0);
    h.ClickAt(left.x, left.y);
    Press(KeyPress::Up);
    Press(KeyPress::Left);
    ASSERT_EQ(h.game.blankRow * 3 + h.game.blankCol, 2 * 3 + 1);
    h.platform.cursor = {700, 560};
    h.audio.plays.clear();

    h.platform.now = dealTick + 4000;
    h.platform.Press(KeyPress::Undo);
    h.platform.Press(KeyPress::Undo);
    h.Frame();
    Press(KeyPress::Undo);
    EXPECT_EQ(StateOf(h.game), dealt);
    EXPECT_EQ(h.game.blankRow * 3 + h.game.blankCol, 1 * 3 + 1);
    EXPECT_EQ(h.audio.Played(), (std::vector<std::string>{"Tile.aud", "Tile.aud", "Tile.aud"}));
    // The last undo slid the clicked tile back out of the middle cell: its sound is from there.
    EXPECT_NEAR(h.audio.plays[2].x, (50 + 166 + 83 - 400) / 800.0, 0.005);
    EXPECT_EQ(h.game.screen, ScreenPlaying);

    // Nothing left to take back.
    Press(KeyPress::Undo);
    EXPECT_EQ(StateOf(h.game), dealt);
    EXPECT_EQ(h.audio.plays.size(), 3u);
    // The clock ran on from the deal.
    EXPECT_EQ(h.game.startTick, dealTick);
    h.platform.now = dealTick + 9500;
    h.Frame();
    EXPECT_EQ(h.game.currentTime, 9);
    EXPECT_EQ(h.game.screen, ScreenPlaying);
}

TEST_F(KeyMoves, ANewDealForgetsTheMoves) {
    BlankAt(1, 1);
    Press(KeyPress::Left);
    Press(KeyPress::Up);
    h.platform.Hold(kKeyS);
    h.Frame();
    h.platform.Release(kKeyS);
    h.Frame();  // the deal
    ASSERT_EQ(h.game.screen, ScreenPlaying);
    const BoardState dealt = StateOf(h.game);
    h.audio.plays.clear();
    Press(KeyPress::Undo);
    EXPECT_EQ(StateOf(h.game), dealt);
    EXPECT_TRUE(h.audio.plays.empty());
}

// Arrows and undo pressed on any other screen act neither there nor later.
class KeysOffTheBoard : public KeyMoves, public ::testing::WithParamInterface<Screen> {};

TEST_P(KeysOffTheBoard, DoNothingAndAreNotKeptForLater) {
    BlankAt(1, 1);
    Press(KeyPress::Left);  // a move to take back
    const BoardState moved = StateOf(h.game);
    h.game.screen = GetParam();
    for (KeyPress key : {KeyPress::Left, KeyPress::Up, KeyPress::Undo, KeyPress::Right, KeyPress::Down}) {
        h.platform.Press(key);
    }
    h.Frame();
    h.game.screen = ScreenPlaying;
    h.Frame();
    EXPECT_EQ(StateOf(h.game).images, moved.images);
    EXPECT_EQ(h.game.blankRow * 3 + h.game.blankCol, 1 * 3 + 2);
    EXPECT_EQ(h.audio.Played(), (std::vector<std::string>{"Tile.aud"}));
}

std::string ScreenName(const ::testing::TestParamInfo<Screen>& info) {
    const char* const names[] = {"Preview", "TileView", "Options", "HighScores", "Help", "Shuffle", "Playing", "Solved"};
    return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(Screens, KeysOffTheBoard,
                         ::testing::Values(ScreenPreview, ScreenTileView, ScreenOptions, ScreenHighScores, ScreenHelp,
                                           ScreenSolved),
                         ScreenName);

}  // namespace
