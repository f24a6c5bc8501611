// The best-times file: reading by position, the strictly-less rule, junk,
// a missing file, and the whole-file rewrite.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <filesystem>
#include <set>

#include <fstream>
#include <iterator>

#include "fakes/GameHarness.h"
#include "platform/Paths.h"

namespace {

namespace fs = std::filesystem;

std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

// The game as a player who is not root, for as long as this lives (root
// writes anywhere, so a read-only folder means nothing to it).
class AsPlayer {
public:
    AsPlayer() {
        if (geteuid() == 0) switched_ = seteuid(65534) == 0;
    }
    ~AsPlayer() {
        if (switched_) (void)!seteuid(0);
    }
    AsPlayer(const AsPlayer&) = delete;
    AsPlayer& operator=(const AsPlayer&) = delete;

private:
    bool switched_ = false;
};

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

TEST_F(BestTimes, JunkEndsTheReadingAndWhatIsNotReadIsNoTimeYet) {
    for (int k = 0; k < 5; ++k) h.game.bestTime[k] = 7000 + k;
    h.folder.WriteText("ScoreFile.txt", " 2  10 \n 3  20 \n 4 abc \n 5  40 \n 6  50 \n");
    h.game.ReadBestTimes();
    EXPECT_EQ(std::vector<int32_t>(h.game.bestTime, h.game.bestTime + 5),
              (std::vector<int32_t>{10, 20, kNoTimeYet, kNoTimeYet, kNoTimeYet}));
    // A rewrite after a short read writes all five records, complete.
    Solve(3, 5);
    EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"), " 2  10 \n 3  5 \n 4  359999 \n 5  359999 \n 6  359999 \n");
}

TEST_F(BestTimes, HugeAndNegativeNumbersAreReadSafely) {
    h.folder.WriteText("ScoreFile.txt", "2 99999999999999999999 3 -5 4 -99999999999 5 1 6 2\n");
    h.game.ReadBestTimes();
    EXPECT_EQ(h.game.bestTime[0], INT32_MAX);
    // A negative time (only a hand edit makes one) is no time yet: it would be
    // a best that nothing beats.
    EXPECT_EQ(h.game.bestTime[1], kNoTimeYet);
    EXPECT_EQ(h.game.bestTime[2], kNoTimeYet);
    Solve(3, 0);
    EXPECT_EQ(h.game.bestTime[1], 0);
}

// A damaged file: what could not be read counts as no time yet, and the
// next beaten time rewrites the file with five good records.
struct DamagedFile {
    const char* name;
    const char* text;
    std::array<int32_t, 5> read;
};

void PrintTo(const DamagedFile& file, std::ostream* out) { *out << file.name; }

class DamagedScoreFile : public BestTimes, public ::testing::WithParamInterface<DamagedFile> {};

constexpr int32_t N = kNoTimeYet;

INSTANTIATE_TEST_SUITE_P(Files, DamagedScoreFile,
                         ::testing::Values(DamagedFile{"Empty", "", {N, N, N, N, N}},
                                           DamagedFile{"Junk", "\x7f" "ELF\x02\x01", {N, N, N, N, N}},
                                           DamagedFile{"HalfWritten", " 2  10 \n 3  25 \n 4", {10, 25, N, N, N}},
                                           DamagedFile{"JunkGluedToADigit", " 2  10x \n 3  20 \n 4  30 \n 5  40 \n 6  50 \n",
                                                       {10, N, N, N, N}},
                                           DamagedFile{"NegativeTime", " 2  -1 \n 3  20 \n 4  30 \n 5  40 \n 6  50 \n",
                                                       {N, 20, 30, 40, 50}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(DamagedScoreFile, CountsAsNoTimeYetAndIsRepairedByTheNextBest) {
    h.folder.WriteText("ScoreFile.txt", GetParam().text);
    h.game.ReadBestTimes();
    std::array<int32_t, 5> want = GetParam().read;
    EXPECT_EQ(std::vector<int32_t>(h.game.bestTime, h.game.bestTime + 5), std::vector<int32_t>(want.begin(), want.end()));
    Solve(6, 7);
    want[4] = 7;
    std::string records;
    for (int k = 0; k < 5; ++k) records += " " + std::to_string(2 + k) + "  " + std::to_string(want[k]) + " \n";
    EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"), records);
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

// A best that the file cannot take lasts for the run: every later read (the
// best-times page, the next solve) shows and compares against it.
enum class Unwritable { MissingFolder, DirectoryInItsPlace, DiskFull };

std::string UnwritableName(Unwritable why) {
    switch (why) {
        case Unwritable::MissingFolder:
            return "MissingFolder";
        case Unwritable::DirectoryInItsPlace:
            return "DirectoryInItsPlace";
        case Unwritable::DiskFull:
            return "DiskFull";
    }
    return "";
}

void PrintTo(Unwritable why, std::ostream* out) { *out << UnwritableName(why); }

class UnwritableScoreFile : public BestTimes, public ::testing::WithParamInterface<Unwritable> {};

INSTANTIATE_TEST_SUITE_P(Files, UnwritableScoreFile,
                         ::testing::Values(Unwritable::MissingFolder, Unwritable::DirectoryInItsPlace,
                                           Unwritable::DiskFull),
                         [](const auto& info) { return UnwritableName(info.param); });

TEST_P(UnwritableScoreFile, KeepsThisRunsBestForTheRestOfTheRun) {
    const std::string older = " 2  100 \n 3  359999 \n 4  359999 \n 5  359999 \n 6  359999 \n";
    switch (GetParam()) {
        case Unwritable::MissingFolder:
            SetGameFolder(h.folder.File("gone"));
            break;
        case Unwritable::DirectoryInItsPlace:
            h.folder.Remove("ScoreFile.txt");
            ASSERT_EQ(mkdir(h.folder.File("ScoreFile.txt").c_str(), 0755), 0);
            break;
        case Unwritable::DiskFull:
            h.folder.WriteText("ScoreFile.txt", older);
            break;
    }
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 16;  // no rewrite fits
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    Solve(2, 42);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    h.game.ReadBestTimes();
    EXPECT_EQ(h.game.bestTime[0], 42);
    EXPECT_EQ(h.game.bestTime[1], kNoTimeYet);
    // The page shows it: 00-00-42.
    h.game.screen = ScreenHighScores;
    h.Frame();
    EXPECT_EQ(h.Shown(400 + 124 + 5, 115), testart::To565(testart::Digit(4)));
    EXPECT_EQ(h.Shown(400 + 124 + 26 + 5, 115), testart::To565(testart::Digit(2)));
    // A slower solve does not beat it.
    Solve(2, 50);
    EXPECT_EQ(h.game.bestTime[0], 42);
    if (GetParam() == Unwritable::DiskFull) {
        EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"), older);
    }
    if (GetParam() == Unwritable::DirectoryInItsPlace) {
        EXPECT_TRUE(fs::is_directory(h.folder.File("ScoreFile.txt")));
    }
    if (GetParam() == Unwritable::MissingFolder) {
        EXPECT_FALSE(h.folder.Exists("gone"));
    }
    // Once the file can take it, the next best is written with the run's bests.
    SetGameFolder(h.folder.Path());
    fs::remove_all(h.folder.File("ScoreFile.txt"));
    Solve(3, 60);
    EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"), " 2  42 \n 3  60 \n 4  359999 \n 5  359999 \n 6  359999 \n");
}

TEST_F(BestTimes, TheRewriteGoesThroughALinkAndKeepsTheFileMode) {
    fs::create_directory(h.folder.File("real"));
    h.folder.WriteText("real/Scores.txt", kFresh);
    ASSERT_EQ(chmod(h.folder.File("real/Scores.txt").c_str(), 0640), 0);
    h.folder.Remove("ScoreFile.txt");
    fs::create_symlink("real/Scores.txt", h.folder.File("ScoreFile.txt"));
    // A file another game left in the way does not stop the rewrite.
    ASSERT_EQ(mkdir(h.folder.File("real/Scores.txt.new").c_str(), 0755), 0);
    Solve(2, 9);
    EXPECT_TRUE(fs::is_symlink(h.folder.File("ScoreFile.txt")));
    EXPECT_EQ(h.folder.ReadText("real/Scores.txt"), " 2  9 \n 3  359999 \n 4  359999 \n 5  359999 \n 6  359999 \n");
    struct stat st {};
    ASSERT_EQ(stat(h.folder.File("real/Scores.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    // Nothing else is left in either folder.
    EXPECT_EQ(FilesIn(h.folder.File("real")), (std::set<std::string>{"Scores.txt", "Scores.txt.new"}));
    // A link to a file not made yet: the file is made where it points.
    fs::remove(h.folder.File("real/Scores.txt"));
    h.game.ReadBestTimes();
    EXPECT_TRUE(fs::is_symlink(h.folder.File("ScoreFile.txt")));
    EXPECT_EQ(h.folder.ReadText("real/Scores.txt"), " 2  9 \n 3  359999 \n 4  359999 \n 5  359999 \n 6  359999 \n");
}

TEST_F(BestTimes, AWritableFileInAFolderTheGameCannotWriteIsRewrittenInPlace) {
    h.folder.WriteText("ScoreFile.txt", " 2  123456 \n 3  123456 \n 4  123456 \n 5  123456 \n 6  123456 \n# a note\n");
    ASSERT_EQ(chmod(h.folder.File("ScoreFile.txt").c_str(), 0666), 0);
    ASSERT_EQ(chmod(h.folder.Path().c_str(), 0555), 0);
    {
        // Root writes anywhere: the game runs as another user for this solve.
        AsPlayer player;
        Solve(2, 1);
    }
    chmod(h.folder.Path().c_str(), 0755);
    EXPECT_EQ(h.folder.ReadText("ScoreFile.txt"), " 2  1 \n 3  123456 \n 4  123456 \n 5  123456 \n 6  123456 \n");
    EXPECT_EQ(FilesIn(h.folder.Path()).count("ScoreFile.txt"), 1u);
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

TEST_F(BestTimes, TheBestTimesPageShowsTheFilesAsTheyAreOnEveryFrame) {
    h.folder.WriteText("ScoreFile.txt", " 2  3725 \n 3  0 \n 4  359999 \n 5  360000 \n 6  -4 \n");
    h.folder.WriteText("FewestMoves.txt", " 3  41 \n");
    h.game.screen = ScreenHighScores;
    h.Frame();
    using testart::Digit;
    using testart::To565;
    // Row k at (400, 110 + 70k): hh at +0, mm at +62, ss at +124; the fewest
    // moves at (289, 110 + 70k), 22 pixels a digit.
    auto glyph = [&](int k, int field, int digit) { return h.Shown(400 + field + digit * 26 + 5, 110 + 70 * k + 5); };
    auto moves = [&](int k, int digit) { return h.Shown(289 + digit * 22 + 5, 110 + 70 * k + 5); };
    // A dash in the middle of the field for none yet.
    auto dash = [&](int k, int x, int width) { return h.Shown(x + width / 2, 110 + 70 * k + 15); };
    EXPECT_EQ(glyph(0, 0, 1), To565(Digit(1)));    // 01-02-05
    EXPECT_EQ(glyph(0, 62, 1), To565(Digit(2)));
    EXPECT_EQ(glyph(0, 124, 1), To565(Digit(5)));
    EXPECT_EQ(glyph(1, 124, 1), To565(Digit(0)));  // 00-00-00 is a time
    EXPECT_EQ(dash(0, 289, 92), To565(testart::kDash));
    EXPECT_EQ(moves(1, 2), To565(Digit(4)));       // 0041
    EXPECT_EQ(moves(1, 3), To565(Digit(1)));
    for (int k : {2, 3, 4}) {
        // 99-59-59, anything above it and a negative time are no time yet.
        EXPECT_EQ(dash(k, 400, 176), To565(testart::kDash)) << k;
        EXPECT_EQ(dash(k, 289, 92), To565(testart::kDash)) << k;
        EXPECT_NE(glyph(k, 0, 0), To565(Digit(9))) << k;
    }
    h.folder.WriteText("ScoreFile.txt", " 2  9 \n 3  0 \n 4  0 \n 5  0 \n 6  0 \n");
    h.Frame();
    EXPECT_EQ(glyph(0, 124, 1), To565(Digit(9)));
    EXPECT_EQ(glyph(2, 124, 1), To565(Digit(0)));
}

}  // namespace
