// Tiles slide: a move is drawn on its way for a tenth of a second while the
// board holds it in its new cell, a newer move ends the running slide at
// once, and a capture never holds a tile half way.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "fakes/GameHarness.h"

namespace {

using testart::To565;

// What comes while the last move slides: a click, an arrow, undo, redo.
enum class NewMove { Click, Arrow, Undo, Redo };

class Slide : public ::testing::Test {
protected:
    void SetUp() override {
        h.game.gridSize = 3;
        h.game.ChoosePicture(0);
        h.Deal();
        // The blank in the middle, tiles 8..1 around it.
        h.SetBoard({8, 7, 6, 5, 0, 4, 3, 2, 1});
        h.platform.cursor = {700, 580};  // on the sidebar, away from every cell
        h.Frame();
    }
    void Press(KeyPress key) {
        h.platform.Press(key);
        h.Frame();
    }
    // The pixel of the frame on show, and of cell (row, col)'s own image, at
    // a point of the cell.
    uint16_t ShownIn(Cell c, int dx, int dy) const { return h.Shown(52 + c.col * 166 + dx, 52 + c.row * 166 + dy); }
    uint16_t ImageIn(Cell c, int dx, int dy) const { return h.game.boardImage[c.row][c.col]->Pixel(dx, dy); }
    // Every cell but the two of the running slide shows its own image whole;
    // the far side of the slide's new cell is still open.
    void ExpectSliding(Cell from, Cell to) const {
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                const Cell c{row, col};
                if (c == from || c == to) continue;
                EXPECT_EQ(ShownIn(c, 5, 5), ImageIn(c, 5, 5)) << row << "," << col;
                EXPECT_EQ(ShownIn(c, 158, 158), ImageIn(c, 158, 158)) << row << "," << col;
            }
        }
        const int farX = 82 + (to.col - from.col) * 75;
        const int farY = 82 + (to.row - from.row) * 75;
        EXPECT_EQ(ShownIn(to, farX, farY), ImageIn(from, farX, farY)) << "the tile is already in";
    }
    GameHarness h;
};

class ANewMove : public Slide, public ::testing::WithParamInterface<NewMove> {};

TEST_P(ANewMove, EndsTheRunningSlideAtOnce) {
    if (GetParam() == NewMove::Redo) {
        Press(KeyPress::Left);
        h.Frames(4);
    }
    // The first move: the tile right of the blank slides left, or the move
    // just made is taken back.
    Press(GetParam() == NewMove::Redo ? KeyPress::Undo : KeyPress::Left);
    const Cell from = GetParam() == NewMove::Redo ? Cell{1, 1} : Cell{1, 2};
    const Cell to = GetParam() == NewMove::Redo ? Cell{1, 2} : Cell{1, 1};
    const std::vector<std::string> sounds = h.audio.Played();
    // The pointer goes where the click of the second move will land.
    if (GetParam() == NewMove::Click) h.platform.cursor = h.CellCentre(0, from.col);
    // One frame into it: on its way; the board already holds the move.
    h.Frame();
    ExpectSliding(from, to);
    ASSERT_EQ(h.game.boardTile[from.row][from.col], 0);

    // Now the second: the tile above the blank comes down, by click or key;
    // or undo takes the first back, or redo makes it again.
    Cell next{0, from.col};
    switch (GetParam()) {
        case NewMove::Click: h.platform.Click(); break;
        case NewMove::Arrow: h.platform.Press(KeyPress::Down); break;
        case NewMove::Undo: h.platform.Press(KeyPress::Undo); next = to; break;
        case NewMove::Redo: h.platform.Press(KeyPress::Redo); next = to; break;
    }
    h.Frame();
    EXPECT_EQ(h.game.blankRow * 3 + h.game.blankCol, next.row * 3 + next.col);
    EXPECT_EQ(h.audio.Played().size(), sounds.size() + 1);
    // The next frame: the first tile in its cell, the second on its way.
    h.Frame();
    ExpectSliding(next, from);
    h.Frames(3);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) EXPECT_EQ(ShownIn({row, col}, 60, 60), ImageIn({row, col}, 60, 60));
    }
    EXPECT_EQ(h.game.screen, ScreenPlaying);
}

const char* const kMoveNames[] = {"Click", "Arrow", "Undo", "Redo"};
void PrintTo(NewMove move, std::ostream* out) { *out << kMoveNames[static_cast<int>(move)]; }
std::string MoveName(const ::testing::TestParamInfo<NewMove>& info) { return kMoveNames[static_cast<int>(info.param)]; }

INSTANTIATE_TEST_SUITE_P(Moves, ANewMove, ::testing::Values(NewMove::Click, NewMove::Arrow, NewMove::Undo, NewMove::Redo),
                         MoveName);

TEST_F(Slide, ACaptureTakenMidSlideHoldsTheTileInItsCell) {
    Press(KeyPress::Left);
    h.platform.Hold(kKeyF9);
    h.Frame();
    h.platform.Release(kKeyF9);
    // The screen went on to the whole board too, and the file holds it.
    const Surface shown = h.platform.LastFrame();
    EXPECT_EQ(ShownIn({1, 1}, 5, 5), ImageIn({1, 1}, 5, 5));
    std::ifstream in(h.folder.File("GAME0.bmp"), std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(file.size(), 54u + 800 * 600 * 3);
    // The board as it looks once the slide is over, without a capture.
    h.Frames(4);
    const Surface settled = h.platform.LastFrame();
    for (int y = 45; y < 555; ++y) {
        for (int x = 45; x < 555; ++x) {
            ASSERT_EQ(shown.Pixel(x, y), settled.Pixel(x, y)) << x << "," << y;
            const size_t at = 54 + static_cast<size_t>(599 - y) * 2400 + 3 * x;
            const uint16_t saved = To565({static_cast<uint8_t>(file[at + 2]), static_cast<uint8_t>(file[at + 1]),
                                          static_cast<uint8_t>(file[at])});
            ASSERT_EQ(saved, shown.Pixel(x, y)) << x << "," << y;
        }
    }
}

}  // namespace
