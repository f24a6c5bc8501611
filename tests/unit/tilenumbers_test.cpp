// The tiles' numbers: N shows each tile's number in its corner on every grid
// size, on the board and on the tile view, and hides them again; the choice
// lasts to the next run, and a damaged settings file starts with none shown.
#include <gtest/gtest.h>

#include "fakes/GameHarness.h"

namespace {

using testart::Badge;
using testart::To565;

class TileNumbers : public ::testing::TestWithParam<int> {
protected:
    // What the corner of each cell shows: a number's badge, or none (0).
    std::vector<int> Corners() const {
        std::vector<int> shown;
        const int n = h.game.gridSize;
        const int t = h.game.tileSize;
        for (int row = 0; row < n; ++row) {
            for (int col = 0; col < n; ++col) {
                const uint16_t p = h.Shown(52 + col * t + 4, 52 + row * t + 4);
                int number = 0;
                for (int k = 1; k < n * n; ++k) number = p == To565(Badge(k)) ? k : number;
                shown.push_back(number);
            }
        }
        return shown;
    }
    std::vector<int> Board() const {
        std::vector<int> homes;
        for (int row = 0; row < h.game.gridSize; ++row) {
            for (int col = 0; col < h.game.gridSize; ++col) homes.push_back(h.game.boardTile[row][col]);
        }
        return homes;
    }
    void Press(KeyPress key) {
        h.platform.Press(key);
        h.Frame();
    }
    GameHarness h;
};

TEST_P(TileNumbers, ShowEachTilesHomeNumberOnEveryGridSize) {
    const int n = GetParam();
    h.game.gridSize = n;
    h.game.ChoosePicture(0);
    h.Deal();
    h.platform.cursor = {700, 580};
    h.Frame();
    EXPECT_EQ(Corners(), std::vector<int>(n * n, 0));
    Press(KeyPress::Numbers);
    EXPECT_EQ(Corners(), Board());  // the blank's home is 0: no number
    EXPECT_EQ(h.folder.ReadText("Settings.txt"), "numbers on\n");
    // The tile view shows them at home: 0, 1, 2, ... in reading order.
    h.platform.Hold(kKeyT);
    h.Frame();
    h.platform.Release(kKeyT);
    h.Frame();
    std::vector<int> home(n * n);
    for (int k = 0; k < n * n; ++k) home[k] = k;
    EXPECT_EQ(Corners(), home);
    // Kept for the next run.
    {
        Game next(h.platform, h.audio);
        next.ReadSettings();
        EXPECT_TRUE(next.showNumbers);
    }
    Press(KeyPress::Numbers);
    EXPECT_EQ(Corners(), std::vector<int>(n * n, 0));
    EXPECT_EQ(h.folder.ReadText("Settings.txt"), "numbers off\n");
}

INSTANTIATE_TEST_SUITE_P(GridSizes, TileNumbers, ::testing::Values(2, 3, 4, 5, 6));

TEST(Settings, ADamagedFileStartsWithTheDefaultsAndSaysSo) {
    GameHarness h;
    for (const char* text : {"numbers maybe\n", "numbers\n", "\x7f" "ELF\x02\x01", "numbers on\nvolume\n"}) {
        h.folder.WriteText("Settings.txt", text);
        h.game.showNumbers = true;
        ::testing::internal::CaptureStderr();
        h.game.ReadSettings();
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(h.game.showNumbers) << text;
        EXPECT_NE(said.find("Settings.txt"), std::string::npos) << text;
    }
    // A setting of a later game is passed over; a missing file says nothing.
    h.folder.WriteText("Settings.txt", "music off\r\nnumbers on\r\n");
    h.game.ReadSettings();
    EXPECT_TRUE(h.game.showNumbers);
    h.folder.Remove("Settings.txt");
    ::testing::internal::CaptureStderr();
    h.game.ReadSettings();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
