// A game in progress kept between runs: saved at every ending of a run,
// resumed on its tile view with its clock held, dropped by a deal or a solve.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "app/FrameLoop.h"
#include "fakes/GameHarness.h"
#include "puzzle/SavedGame.h"

namespace {

using testart::To565;

constexpr int kResumeMenu = 4;

// The fake machine running the whole program, with a script called after
// every frame (the frame's number, the game).
class ScriptedRun : public FakePlatform {
public:
    std::function<void(int, Game&)> script;
    int frame = 0;
    void WaitUntil(uint32_t start, uint32_t ms) override {
        if (frame > 200) throw std::runtime_error("the run did not end");
        script(frame++, *gameInstance);
        FakePlatform::WaitUntil(start, ms);
    }
    // Runs to the end of the program, however it ends.
    void Run() {
        FakeAudio audio;
        try {
            VeskMain(*this, audio);
        } catch (const ProcessExit&) {
        }
    }
};

std::vector<int32_t> Board(const Game& g) {
    std::vector<int32_t> cells;
    for (int q = 0; q < g.gridSize * g.gridSize; ++q) cells.push_back(g.boardTile[q / g.gridSize][q % g.gridSize]);
    return cells;
}

enum class Ending { Escape, ExitButton, WindowClosed, FocusLost };

struct Case {
    const char* name;
    Ending ending;
    bool damaged;  // the file is cut short before the next run
};

class KeptGame : public ::testing::TestWithParam<Case> {};

TEST_P(KeptGame, IsSavedAtTheEndAndResumedWithItsClockHeld) {
    const Case c = GetParam();
    TestFolder folder;
    std::vector<int32_t> board;
    {
        ScriptedRun run;
        run.script = [&](int f, Game& g) {
            switch (f) {
                case 0: run.cursor = {692, 123}; break;   // Shuffle
                case 1: run.Click(); break;               // frame 3 deals 1 3 / 2 blank
                case 3:
                    run.Press(KeyPress::Right);           // 1 3 / blank 2
                    run.Press(KeyPress::Down);            // blank 3 / 1 2
                    run.now += 65400;
                    break;
                case 4:
                    g.moveCount = 7;
                    board = Board(g);
                    if (c.ending == Ending::Escape) run.Hold(kKeyEscape);
                    if (c.ending == Ending::ExitButton) run.cursor = {690, 508};
                    if (c.ending == Ending::WindowClosed) run.messages.push_back(Message::Destroy);
                    if (c.ending == Ending::FocusLost) run.messages.push_back(Message::KillFocus);
                    break;
                case 5: run.Click(); break;
                default: break;
            }
        };
        run.Run();
    }
    ASSERT_EQ(board, (std::vector<int32_t>{0, 3, 1, 2}));
    ASSERT_TRUE(folder.Exists(kSavedGameFile));
    if (c.damaged) {
        const std::string text = folder.ReadText(kSavedGameFile);
        folder.WriteText(kSavedGameFile, text.substr(0, text.size() / 2));
    }

    ScriptedRun run;
    testing::internal::CaptureStderr();
    run.script = [&](int f, Game& g) {
        if (c.damaged) {
            EXPECT_EQ(g.screen, ScreenPreview);
            EXPECT_FALSE(g.gameInProgress);
            throw ProcessExit{0, false};
        }
        switch (f) {
            case 0:
                EXPECT_EQ(g.screen, ScreenTileView);
                EXPECT_TRUE(g.gameInProgress);
                EXPECT_EQ(run.LastFrame().Pixel(690, 200), To565(testart::MenuNormal(kResumeMenu)));
                EXPECT_EQ(Board(g), board);
                EXPECT_EQ(g.moveCount, 7);
                EXPECT_EQ(g.elapsedSeconds, 65);
                run.now += 3600000;  // an hour away, on the tile view
                break;
            case 1:
                EXPECT_EQ(g.elapsedSeconds, 65);
                run.Hold(kKeyT);
                break;
            case 2:
                run.Release(kKeyT);
                EXPECT_EQ(g.screen, ScreenPlaying);
                run.Press(KeyPress::Undo);
                break;
            case 3:
                EXPECT_EQ(g.elapsedSeconds, 65);
                EXPECT_EQ(Board(g), (std::vector<int32_t>{1, 3, 0, 2}));
                throw ProcessExit{0, false};
            default: break;
        }
    };
    run.Run();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.find("left aside") != std::string::npos, c.damaged) << err;
}

INSTANTIATE_TEST_SUITE_P(Endings, KeptGame,
                         ::testing::Values(Case{"Escape", Ending::Escape, false},
                                           Case{"ExitButton", Ending::ExitButton, false},
                                           Case{"WindowClosed", Ending::WindowClosed, false},
                                           Case{"FocusLost", Ending::FocusLost, false},
                                           Case{"DamagedFile", Ending::Escape, true}),
                         [](const auto& info) { return std::string(info.param.name); });

const char kGood[] = "Vesk saved game 1\npicture Bird\nsize 3\nelapsed-ms 4000000000\nmoves 12\n"
                     "board 1 2 5 3 4 0 6 7 8\nundo 0 0 0 1 0 2\nredo 1 1\n";

TEST(SavedGameFile, ReadsWhatItWritesAndLeavesAsideWhatCannotBePlayed) {
    SavedGame game;
    std::string why;
    ASSERT_TRUE(ReadSavedGame(kGood, game, why)) << why;
    EXPECT_EQ(game.elapsedMs, 4000000000u);
    EXPECT_EQ(game.undo, (std::vector<Cell>{{0, 0}, {0, 1}, {0, 2}}));
    game.picture = {true, "50%\ncat.png"};
    SavedGame again;
    ASSERT_TRUE(ReadSavedGame(SavedGameText(game), again, why)) << why;
    EXPECT_EQ(again, game);

    const std::pair<const char*, const char*> damage[] = {
        {"board 1 2 5 3 4 0 6 7 8", "board 1 2 5 3 4 0 6 8 7"},  // two tiles swapped: never solvable
        {"board 1 2 5 3 4 0 6 7 8", "board 1 2 5 3 4 0 6 7 7"},
        {"board 1 2 5 3 4 0 6 7 8", "board 0 1 2 3 4 5 6 7 8"},  // solved
        {"undo 0 0 0 1 0 2", "undo 0 0 1 1 0 2"},              // not a way back from the board
        {"size 3", "size 7"},
        {"picture Bird", "picture Cat"},
        {"moves 12\n", ""},
        {"Vesk saved game 1", "Vesk saved game"},
    };
    for (auto [from, to] : damage) {
        std::string text = kGood;
        text.replace(text.find(from), std::string(from).size(), to);
        EXPECT_FALSE(ReadSavedGame(text, game, why)) << to;
    }
}

TEST(SavedGameFile, ADealOrASolveEndsTheKeptGameAndASolvedGameLeavesNothing) {
    GameHarness h;
    for (bool solve : {false, true}) {
        h.folder.WriteText(kSavedGameFile, kGood);
        if (solve) {
            h.SetBoard({1, 0, 2, 3});
            const Point tile = h.CellCentre(0, 0);
            h.ClickAt(tile.x, tile.y);
            ASSERT_EQ(h.game.screen, ScreenSolved);
        } else {
            h.Deal();
        }
        EXPECT_FALSE(h.folder.Exists(kSavedGameFile)) << solve;
    }
    h.game.SaveGameAtEnd();
    EXPECT_FALSE(h.folder.Exists(kSavedGameFile));

    // A picture changed on the options page ends the game on the board.
    GameHarness changed;
    changed.Deal();
    changed.game.screen = ScreenOptions;
    changed.ClickAt(477, 360);  // Bird
    changed.platform.Hold(kKeyEscape);
    changed.Frame();  // back to the board, the Tiger's tiles on it
    ASSERT_EQ(changed.game.screen, ScreenPlaying);
    changed.game.SaveGameAtEnd();
    EXPECT_FALSE(changed.folder.Exists(kSavedGameFile));
}

TEST(SavedGameFile, APlayersPictureIsFoundByItsFileName) {
    GameHarness h(false);
    const auto photo = [&](const std::string& name, uint8_t red) {
        h.folder.WriteBitmap("Pictures/" + name, 100, 100, [red](int, int) { return Rgb{red, 90, 90}; });
    };
    photo("b.png", 200);
    h.game.LoadResources();
    h.game.ChoosePicture(3);
    h.Deal();
    const std::vector<int32_t> board = Board(h.game);
    h.game.SaveGameAtEnd();

    photo("a.png", 20);  // comes first now
    for (bool gone : {false, true}) {
        if (gone) h.folder.Remove("Pictures/b.png");
        FakePlatform platform;
        FakeAudio audio;
        Game next(platform, audio);
        next.LoadResources();
        testing::internal::CaptureStderr();
        next.ResumeSavedGame();
        const std::string err = testing::internal::GetCapturedStderr();
        if (gone) {
            EXPECT_EQ(next.screen, ScreenPreview);
            EXPECT_NE(err.find("its picture b.png is not in"), std::string::npos) << err;
        } else {
            EXPECT_EQ(next.pictureIndex, 4);
            EXPECT_EQ(next.currentPicture, next.pictureFull[4]);
            EXPECT_EQ(Board(next), board);
        }
    }
}

}  // namespace
