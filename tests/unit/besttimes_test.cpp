// The best-times file: reading by position, the strictly-less rule, junk,
// a missing file, and the whole-file rewrite.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "fakes/GameHarness.h"
#include "platform/Paths.h"

namespace {

const char* const kFresh = " 2  359999 \n 3  359999 \n 4  359999 \n 5  359999 \n 6  359999 \n";

class BestTimes : public ::testing::Test {
protected:
    GameHarness h;
    void Solve(int grid, int seconds) {
        h.game.gridSize = grid;
        h.game.currentTime = seconds;
        h.game.RecordBestTime();
    }
};

TEST_F(BestTimes, ABetterTimeRewritesAllFiveRecordsTheOthersUnchanged) {
    h.folder.WriteText("ScoreFile.txt", " 2  10 \n 3  95 \n 4  300 \n 5  4000 \n 6  50000 \n");
    Solve(4, 299);
    EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"), " 2  10 \n 3  95 \n 4  299 \n 5  4000 \n 6  50000 \n");
    EXPECT_EQ(h.game.bestTime[2], 299);
}

TEST_F(BestTimes, AnEqualOrLongerTimeLeavesTheFileUntouched) {
    const std::string odd = "2 10\n3 95\n4 300\n5 4000\n6 50000\ntrailing words kept\n";
    h.folder.WriteText("ScoreFile.txt", odd);
    Solve(4, 300);
    Solve(4, 301);
    EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"), odd);
    EXPECT_EQ(h.game.bestTime[2], 300);
}

TEST_F(BestTimes, LayoutOfTheNumbersDoesNotMatter) {
    h.folder.WriteText("ScoreFile.txt", "2 11 3 22 4 33 5 44 6 55");
    h.game.ReadBestTimes();
    EXPECT_EQ(std::vector<int32_t>(h.game.bestTime, h.game.bestTime + 5), (std::vector<int32_t>{11, 22, 33, 44, 55}));
    h.folder.WriteText("ScoreFile.txt", "\n\n 2\t\t 12 \r\n\r\n3\n23\n 4 34 5 45\n\n\n6     56");
    h.game.ReadBestTimes();
    EXPECT_EQ(std::vector<int32_t>(h.game.bestTime, h.game.bestTime + 5), (std::vector<int32_t>{12, 23, 34, 45, 56}));
}

TEST_F(BestTimes, RecordsAreTakenByPositionAndRewrittenWithTheirGridSizes) {
    h.folder.WriteText("ScoreFile.txt", "0 100 0 200 0 300 0 400 0 500\n");
    Solve(2, 50);
    EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"), " 2  50 \n 3  200 \n 4  300 \n 5  400 \n 6  500 \n");
}

TEST_F(BestTimes, JunkEndsTheReadingEarlyAndKeepsTheRest) {
    for (int k = 0; k < 5; ++k) h.game.bestTime[k] = 7000 + k;
    h.folder.WriteText("ScoreFile.txt", " 2  10 \n 3  20 \n 4 abc \n 5  40 \n 6  50 \n");
    h.game.ReadBestTimes();
    EXPECT_EQ(std::vector<int32_t>(h.game.bestTime, h.game.bestTime + 5),
              (std::vector<int32_t>{10, 20, 7002, 7003, 7004}));
    // A rewrite after a short read writes all five records, complete.
    Solve(3, 5);
    EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"), " 2  10 \n 3  5 \n 4  7002 \n 5  7003 \n 6  7004 \n");
}

TEST_F(BestTimes, HugeAndNegativeNumbersAreReadSafely) {
    h.folder.WriteText("ScoreFile.txt", "2 99999999999999999999 3 -5 4 -99999999999 5 1 6 2\n");
    h.game.ReadBestTimes();
    EXPECT_EQ(h.game.bestTime[0], INT32_MAX);
    EXPECT_EQ(h.game.bestTime[1], -5);
    EXPECT_EQ(h.game.bestTime[2], INT32_MIN);
    // A negative best (only a hand edit makes one) can never be beaten.
    Solve(3, 0);
    EXPECT_EQ(h.game.bestTime[1], -5);
}

TEST_F(BestTimes, AMissingFileIsCreatedWithNoTimesYet) {
    h.folder.Remove("ScoreFile.txt");
    h.game.ReadBestTimes();
    EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"), kFresh);
    for (int32_t t : h.game.bestTime) EXPECT_EQ(t, kNoTimeYet);
    h.folder.Remove("ScoreFile.txt");
    Solve(5, 77);
    EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"), " 2  359999 \n 3  359999 \n 4  359999 \n 5  77 \n 6  359999 \n");
}

TEST_F(BestTimes, AShorterRewriteLeavesNoStaleBytesAndNoTemporaryFile) {
    h.folder.WriteText("ScoreFile.txt", " 2  123456 \n 3  123456 \n 4  123456 \n 5  123456 \n 6  123456 \n# a note\n");
    Solve(2, 1);
    EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"), " 2  1 \n 3  123456 \n 4  123456 \n 5  123456 \n 6  123456 \n");
    h.game.ReadBestTimes();
    EXPECT_EQ(h.game.bestTime[0], 1);
    EXPECT_FALSE(h.folder.Exists("ScoreFile.txt.new"));
}

TEST_F(BestTimes, AFileThatCannotBeWrittenKeepsTheGameGoingWithTheBestInMemory) {
    if (geteuid() == 0) {
        // Root writes anywhere: make the rename fail by putting a folder in the way.
        h.folder.Remove("ScoreFile.txt");
        ASSERT_EQ(mkdir(h.folder.File("ScoreFile.txt.new").c_str(), 0755), 0);
        h.folder.WriteText("ScoreFile.txt", kFresh);
    } else {
        h.folder.WriteText("ScoreFile.txt", kFresh);
        ASSERT_EQ(chmod(h.folder.Path().c_str(), 0555), 0);
    }
    Solve(2, 42);
    EXPECT_EQ(h.game.bestTime[0], 42);
    EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"), kFresh);
    chmod(h.folder.Path().c_str(), 0755);
}

TEST_F(BestTimes, KeptInThePlayerFolderNeverInTheDataFolder) {
    ScratchFolder player;
    SetPlayerFolder(player.Path());
    h.folder.WriteText("ScoreFile.txt", " 2  10 \n 3  20 \n 4  30 \n 5  40 \n 6  50 \n");
    h.game.ReadBestTimes();
    EXPECT_EQ(h.game.bestTime[0], 359999);
    Solve(2, 99);
    std::ifstream in(player.File("ScoreFile.txt"));
    const std::string kept((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SetPlayerFolder(h.folder.Path());
    EXPECT_EQ(kept, " 2  99 \n 3  359999 \n 4  359999 \n 5  359999 \n 6  359999 \n");
    EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"), " 2  10 \n 3  20 \n 4  30 \n 5  40 \n 6  50 \n");
}

TEST_F(BestTimes, TheBestTimesPageShowsTheFileAsItIsOnEveryFrame) {
    h.folder.WriteText("ScoreFile.txt", " 2  3725 \n 3  0 \n 4  359999 \n 5  360000 \n 6  -4 \n");
    h.game.screen = ScreenHighScores;
    h.Frame();
    using testart::Digit;
    using testart::To565;
    // Row k at (400, 110 + 70k): hh at +0, mm at +62, ss at +124.
    auto glyph = [&](int k, int field, int digit) { return h.Shown(400 + field + digit * 26 + 5, 110 + 70 * k + 5); };
    EXPECT_EQ(glyph(0, 0, 1), To565(Digit(1)));    // 01-02-05
    EXPECT_EQ(glyph(0, 62, 1), To565(Digit(2)));
    EXPECT_EQ(glyph(0, 124, 1), To565(Digit(5)));
    EXPECT_EQ(glyph(2, 0, 0), To565(Digit(9)));    // 99-59-59
    EXPECT_EQ(glyph(2, 62, 0), To565(Digit(5)));
    EXPECT_EQ(glyph(3, 0, 1), To565(Digit(9)));    // 99-00-00: hours clamp
    EXPECT_EQ(glyph(3, 62, 1), To565(Digit(0)));
    EXPECT_EQ(glyph(4, 124, 1), To565(Digit(0)));  // negative shows as zero
    h.folder.WriteText("ScoreFile.txt", " 2  9 \n 3  0 \n 4  0 \n 5  0 \n 6  0 \n");
    h.Frame();
    EXPECT_EQ(glyph(0, 124, 1), To565(Digit(9)));
}

}  // namespace
