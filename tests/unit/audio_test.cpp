// The game's music and sound effects over the recording audio engine: the
// start-up order, when effects play and where, the Music and Sound switches,
// the missing-file failures and the shutdown.
#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/GameHarness.h"

namespace {

using Calls = std::vector<std::string>;

const Calls kStartUp = {"Open",           "LoadMusic BkGnd.mus", "PlayMusic", "LoadEffect Button.aud",
                        "LoadEffect Tile.aud", "LoadEffect Success.aud"};

int Count(const Calls& calls, const std::string& what) {
    return static_cast<int>(std::count(calls.begin(), calls.end(), what));
}

Calls Since(const Calls& calls, size_t from) { return Calls(calls.begin() + static_cast<long>(from), calls.end()); }

bool KeyboardOpened(const FakePlatform& platform) { return Count(platform.calls, "OpenKeyboard") > 0; }

// The middle of the Music and Sound rows of the options page.
constexpr Point kMusic{267, 166};
constexpr Point kSound{267, 270};

class AudioTest : public ::testing::Test {
protected:
    void OnOptionsPage() {
        h.game.screen = ScreenOptions;
        h.game.returnScreen = ScreenPreview;
    }
    // A 2 x 2 board in play with the blank at the top right; no move solves it.
    void OnBoard() {
        h.Deal();
        ASSERT_EQ(h.game.screen, ScreenPlaying);
        h.SetBoard({3, 0, 2, 1});
    }
    void Click(Point p) { h.ClickAt(p.x, p.y); }

    GameHarness h;
};

}  // namespace

// ---- start-up and shutdown --------------------------------------------------

TEST_F(AudioTest, StartUpOpensPlaysTheTuneThenLoadsTheEffectsInOrder) {
    EXPECT_EQ(h.audio.calls, kStartUp);
    EXPECT_TRUE(h.audio.open);
    EXPECT_EQ(h.audio.musicStarts, 1);
    EXPECT_TRUE(h.game.performance);
    EXPECT_TRUE(h.game.backgroundMusic);
    EXPECT_TRUE(h.game.musicOn);
    EXPECT_TRUE(h.game.soundOn);
    EXPECT_TRUE(h.platform.shownMessages.empty());
    EXPECT_TRUE(KeyboardOpened(h.platform));
    // Each effect has its own handle.
    EXPECT_EQ(h.audio.loadedEffects.at(h.game.soundButton.handle), "Button.aud");
    EXPECT_EQ(h.audio.loadedEffects.at(h.game.soundTile.handle), "Tile.aud");
    EXPECT_EQ(h.audio.loadedEffects.at(h.game.soundSuccess.handle), "Success.aud");
}

TEST(AudioStartUp, ReturnsZeroAndReadsTheFilesFromTheAudioFolder) {
    // An engine that keeps the whole paths it is given.
    struct PathAudio : FakeAudio {
        std::vector<std::string> paths;
        int32_t LoadMusic(const std::string& path) override {
            paths.push_back(path);
            return FakeAudio::LoadMusic(path);
        }
        int32_t LoadEffect(const std::string& path) override {
            paths.push_back(path);
            return FakeAudio::LoadEffect(path);
        }
    };
    TestFolder folder;
    FakePlatform platform;
    PathAudio audio;
    Game game(platform, audio);
    EXPECT_EQ(game.LoadResources(), 0);
    EXPECT_EQ(audio.paths, (std::vector<std::string>{folder.File("Audio/BkGnd.mus"), folder.File("Audio/Button.aud"),
                                                     folder.File("Audio/Tile.aud"), folder.File("Audio/Success.aud")}));
}

TEST_F(AudioTest, NothingPlaysBeforeAnyoneAsks) {
    h.Frames(5);
    EXPECT_TRUE(h.audio.plays.empty());
}

TEST_F(AudioTest, ShutdownStopsReleasesTheEffectsThenCloses) {
    const size_t before = h.audio.calls.size();
    h.game.ReleaseAll();
    EXPECT_EQ(Since(h.audio.calls, before),
              (Calls{"StopAll", "ReleaseEffect Button.aud", "ReleaseEffect Tile.aud", "ReleaseEffect Success.aud",
                     "Close"}));
    EXPECT_FALSE(h.audio.open);
    EXPECT_FALSE(h.game.performance);
    EXPECT_EQ(h.game.soundTile.handle, -1);
    // A second shutdown finds nothing to do.
    h.game.ShutdownAudio();
    EXPECT_EQ(Count(h.audio.calls, "Close"), 1);
}

TEST(AudioShutdown, ANeverStartedGameReleasesNoAudio) {
    GameHarness h(false);
    h.game.ShutdownAudio();
    h.game.MusicOff();
    h.game.MusicOn();
    h.game.PlaySoundEffect(h.game.soundTile);
    EXPECT_TRUE(h.audio.calls.empty());
}

// ---- missing files --------------------------------------------------------------

struct MissingFile {
    const char* file;
    Calls calls;  // every audio call of the start-up
    const char* text;
    const char* caption;
    int32_t status;  // what the engine reported
};
void PrintTo(const MissingFile& c, std::ostream* os) { *os << c.file << " missing"; }


class MissingAudioFile : public ::testing::TestWithParam<MissingFile> {};

TEST_P(MissingAudioFile, ShowsItsMessageReturnsTheFailureAndStopsTheStartUp) {
    const MissingFile& m = GetParam();
    GameHarness h(false);
    h.audio.missing.insert(m.file);
    const int32_t result = h.game.LoadResources();

    // The engine's own status, unchanged.
    EXPECT_EQ(result, m.status);
    ASSERT_EQ(h.platform.shownMessages.size(), 1u);
    EXPECT_EQ(h.platform.shownMessages[0].text, m.text);
    EXPECT_EQ(h.platform.shownMessages[0].caption, m.caption);
    // Nothing after the failed load: no later effect, no keyboard.
    EXPECT_EQ(h.audio.calls, m.calls);
    EXPECT_FALSE(KeyboardOpened(h.platform));
    // The engine is down and the game holds nothing of it any more.
    EXPECT_FALSE(h.audio.open);
    EXPECT_FALSE(h.game.musicLoader);
    EXPECT_FALSE(h.game.performance);
    EXPECT_FALSE(h.game.backgroundMusic);
    EXPECT_EQ(h.game.soundButton.handle, -1);
    EXPECT_EQ(h.game.soundTile.handle, -1);
    EXPECT_EQ(h.game.soundSuccess.handle, -1);
    // Tearing down afterwards does not touch the closed engine again.
    const size_t before = h.audio.calls.size();
    h.game.ReleaseAll();
    EXPECT_EQ(h.audio.calls.size(), before);
}

INSTANTIATE_TEST_SUITE_P(
    EachFile, MissingAudioFile,
    ::testing::Values(
        MissingFile{"BkGnd.mus",
                    {"Open", "LoadMusic BkGnd.mus", "Close"},
                    "BkGnd.mus not found,  Program will now quit",
                    "BkGnd Music",
                    -2},
        MissingFile{"Button.aud",
                    {"Open", "LoadMusic BkGnd.mus", "PlayMusic", "LoadEffect Button.aud", "Close"},
                    "Media not found, sample will now quit",
                    "Game",
                    -3},
        MissingFile{"Tile.aud",
                    {"Open", "LoadMusic BkGnd.mus", "PlayMusic", "LoadEffect Button.aud", "LoadEffect Tile.aud",
                     "Close"},
                    "Media not found, sample will now quit",
                    "Game",
                    -3},
        MissingFile{"Success.aud",
                    {"Open", "LoadMusic BkGnd.mus", "PlayMusic", "LoadEffect Button.aud", "LoadEffect Tile.aud",
                     "LoadEffect Success.aud", "Close"},
                    "Media not found, sample will now quit",
                    "Game",
                    -3}),
    [](const ::testing::TestParamInfo<MissingFile>& info) {
        std::string name = info.param.file;
        name.erase(name.find('.'));
        return name;
    });

TEST(MissingAudio, TheTuneMessageHasTwoBlanksAfterTheComma) {
    GameHarness h(false);
    h.audio.missing.insert("BkGnd.mus");
    h.game.LoadResources();
    ASSERT_EQ(h.platform.shownMessages.size(), 1u);
    EXPECT_NE(h.platform.shownMessages[0].text.find(",  Program"), std::string::npos);
}

TEST(MissingAudio, OnlyTheFirstMissingEffectIsReported) {
    GameHarness h(false);
    h.audio.missing = {"Tile.aud", "Success.aud"};
    EXPECT_LT(h.game.LoadResources(), 0);
    EXPECT_EQ(h.platform.shownMessages.size(), 1u);
    EXPECT_EQ(Count(h.audio.calls, "LoadEffect Success.aud"), 0);
}

// ---- when effects play, and where -----------------------------------------------

TEST_F(AudioTest, ATileMovePlaysTheTileSoundAtThePointer) {
    OnBoard();
    const Point cell = h.CellCentre(0, 0);
    Click(cell);
    ASSERT_EQ(h.audio.Played(), (Calls{"Tile.aud"}));
    EXPECT_FLOAT_EQ(h.audio.plays[0].x, static_cast<float>(cell.x - 400) * 0.00125f);
    EXPECT_FLOAT_EQ(h.audio.plays[0].y, static_cast<float>(cell.y - 300) / 600.0f);
    EXPECT_EQ(h.audio.plays[0].z, 0.0f);
    EXPECT_EQ(h.game.boardTile[0][1], 3);  // and the tile moved
}

TEST_F(AudioTest, AClickThatMovesNothingIsSilent) {
    OnBoard();
    Click(h.CellCentre(1, 0));  // diagonal to the blank
    EXPECT_TRUE(h.audio.plays.empty());
}

TEST_F(AudioTest, TwoQuickTileMovesBothSound) {
    OnBoard();
    const size_t before = h.audio.calls.size();
    Click(h.CellCentre(0, 0));
    Click(h.CellCentre(1, 0));
    EXPECT_EQ(Since(h.audio.calls, before), (Calls{"PlayEffect Tile.aud", "PlayEffect Tile.aud"}));
    EXPECT_EQ(h.game.boardTile[1][0], 0);  // both moves were made
}

TEST_F(AudioTest, SolvingPlaysTheTileSoundThenTheSuccessSound) {
    h.Deal();
    h.SetBoard({1, 0, 2, 3});
    Click(h.CellCentre(0, 0));
    EXPECT_EQ(h.audio.Played(), (Calls{"Tile.aud", "Success.aud"}));
    EXPECT_EQ(h.game.screen, ScreenSolved);
}

TEST_F(AudioTest, ASidebarButtonClicks) {
    Click({690, 120});  // Shuffle
    EXPECT_EQ(h.audio.Played(), (Calls{"Button.aud"}));
    EXPECT_EQ(h.game.screen, ScreenShuffle);
}

TEST_F(AudioTest, NoEffectPlaysWhileSoundIsOff) {
    OnBoard();
    h.game.soundOn = false;
    Click(h.CellCentre(0, 0));  // a tile move
    Click({690, 120});          // Shuffle
    h.Frame();                  // the deal
    ASSERT_EQ(h.game.screen, ScreenPlaying);
    h.SetBoard({1, 0, 2, 3});
    Click(h.CellCentre(0, 0));  // the solving move
    EXPECT_EQ(h.game.screen, ScreenSolved);
    EXPECT_TRUE(h.audio.plays.empty());
    // On again: the next move sounds.
    h.game.soundOn = true;
    h.Deal();
    h.SetBoard({3, 0, 2, 1});
    Click(h.CellCentre(0, 0));
    EXPECT_EQ(h.audio.Played(), (Calls{"Tile.aud"}));
}

TEST_F(AudioTest, ThePointerAtTheTopLeftPlaysAtMinusAHalf) {
    h.platform.cursor = {0, 0};
    h.game.PlaySoundEffect(h.game.soundTile);
    ASSERT_EQ(h.audio.plays.size(), 1u);
    EXPECT_EQ(h.audio.plays[0].handle, h.game.soundTile.handle);
    EXPECT_FLOAT_EQ(h.audio.plays[0].x, -0.5f);
    EXPECT_FLOAT_EQ(h.audio.plays[0].y, -0.5f);
    EXPECT_EQ(h.audio.plays[0].z, 0.0f);
}

TEST_F(AudioTest, ThePointerAtTheCentrePlaysAtTheOrigin) {
    h.platform.cursor = {400, 300};
    h.game.PlaySoundEffect(h.game.soundButton);
    ASSERT_EQ(h.audio.plays.size(), 1u);
    EXPECT_EQ(h.audio.plays[0].x, 0.0f);
    EXPECT_EQ(h.audio.plays[0].y, 0.0f);
    EXPECT_EQ(h.audio.plays[0].z, 0.0f);
}

TEST_F(AudioTest, ThePointerAtTheBottomRightPlaysJustUnderAHalf) {
    h.platform.cursor = {799, 599};
    h.game.PlaySoundEffect(h.game.soundSuccess);
    ASSERT_EQ(h.audio.plays.size(), 1u);
    EXPECT_FLOAT_EQ(h.audio.plays[0].x, 0.49875f);
    EXPECT_FLOAT_EQ(h.audio.plays[0].y, 299.0f / 600.0f);
    EXPECT_EQ(h.audio.plays[0].z, 0.0f);
    EXPECT_LT(h.audio.plays[0].x, 0.5f);
    EXPECT_LT(h.audio.plays[0].y, 0.5f);
}

TEST_F(AudioTest, PlayingReadsThePointerAfresh) {
    h.game.cursor = {0, 0};
    h.platform.cursor = {600, 450};
    h.game.PlaySoundEffect(h.game.soundTile);
    EXPECT_EQ(h.game.cursor, (Point{600, 450}));
    ASSERT_EQ(h.audio.plays.size(), 1u);
    EXPECT_FLOAT_EQ(h.audio.plays[0].x, 0.25f);
    EXPECT_FLOAT_EQ(h.audio.plays[0].y, 0.25f);
}

// ---- the Sound switch -------------------------------------------------------------

TEST_F(AudioTest, TurningSoundOffStillClicks) {
    OnOptionsPage();
    Click(kSound);
    EXPECT_FALSE(h.game.soundOn);
    ASSERT_EQ(h.audio.Played(), (Calls{"Button.aud"}));
    EXPECT_FLOAT_EQ(h.audio.plays[0].x, (kSound.x - 400) / 800.0f);
    EXPECT_FLOAT_EQ(h.audio.plays[0].y, -30.0f / 600.0f);
}

TEST_F(AudioTest, TurningSoundOnIsSilent) {
    OnOptionsPage();
    h.game.soundOn = false;
    Click(kSound);
    EXPECT_TRUE(h.game.soundOn);
    EXPECT_TRUE(h.audio.plays.empty());
}

TEST_F(AudioTest, TheSoundSwitchNeitherStopsNorLoadsAnything) {
    OnOptionsPage();
    const size_t before = h.audio.calls.size();
    Click(kSound);
    Click(kSound);
    EXPECT_EQ(Since(h.audio.calls, before), (Calls{"PlayEffect Button.aud"}));
    EXPECT_TRUE(h.game.soundOn);
}

// ---- the Music switch -------------------------------------------------------------

TEST_F(AudioTest, TurningMusicOffClicksThenStopsEverything) {
    OnOptionsPage();
    const size_t before = h.audio.calls.size();
    Click(kMusic);
    EXPECT_FALSE(h.game.musicOn);
    // The stop comes after the click, so it cuts the click and any effect sounding.
    EXPECT_EQ(Since(h.audio.calls, before), (Calls{"PlayEffect Button.aud", "StopAll"}));
    EXPECT_EQ(h.audio.musicStarts, 1);
}

TEST_F(AudioTest, TurningMusicOnStartsTheTuneAgainFromItsBeginning) {
    OnOptionsPage();
    Click(kMusic);
    const size_t before = h.audio.calls.size();
    Click(kMusic);
    EXPECT_TRUE(h.game.musicOn);
    EXPECT_EQ(Since(h.audio.calls, before), (Calls{"PlayEffect Button.aud", "PlayMusic"}));
    EXPECT_EQ(h.audio.musicStarts, 2);
    // Off and on once more: a third start, nothing loaded again.
    Click(kMusic);
    Click(kMusic);
    EXPECT_EQ(h.audio.musicStarts, 3);
    EXPECT_EQ(Count(h.audio.calls, "LoadMusic BkGnd.mus"), 1);
}

TEST_F(AudioTest, TheMusicSwitchWorksWithSoundOff) {
    OnOptionsPage();
    h.game.soundOn = false;
    const size_t before = h.audio.calls.size();
    Click(kMusic);
    Click(kMusic);
    EXPECT_EQ(Since(h.audio.calls, before), (Calls{"StopAll", "PlayMusic"}));
}

TEST_F(AudioTest, EffectsStillPlayWhileTheMusicIsOff) {
    OnOptionsPage();
    Click(kMusic);
    h.game.screen = ScreenPreview;
    Click({690, 120});  // Shuffle
    EXPECT_EQ(h.audio.Played(), (Calls{"Button.aud", "Button.aud"}));
    EXPECT_FALSE(h.game.musicOn);
}

// ---- where the switches answer ------------------------------------------------------

struct SwitchClick {
    Point at;
    bool music;  // toggles the music
    bool sound;  // toggles the sound
};
void PrintTo(const SwitchClick& c, std::ostream* os) { *os << "(" << c.at.x << ", " << c.at.y << ")"; }


class OptionsSwitchBox : public ::testing::TestWithParam<SwitchClick> {};

TEST_P(OptionsSwitchBox, AnswersOnlyStrictlyInsideItsRow) {
    const SwitchClick& c = GetParam();
    GameHarness h;
    h.game.screen = ScreenOptions;
    h.game.returnScreen = ScreenPreview;
    h.ClickAt(c.at.x, c.at.y);
    EXPECT_EQ(h.game.musicOn, !c.music);
    EXPECT_EQ(h.game.soundOn, !c.sound);
    EXPECT_EQ(h.audio.Played().size(), (c.music || c.sound) ? 1u : 0u);
    EXPECT_EQ(Count(h.audio.calls, "StopAll"), c.music ? 1 : 0);
    EXPECT_EQ(h.game.screen, ScreenOptions);
}

INSTANTIATE_TEST_SUITE_P(
    MusicRow, OptionsSwitchBox,
    ::testing::Values(SwitchClick{{212, 166}, false, false}, SwitchClick{{213, 166}, true, false},
                      SwitchClick{{337, 166}, true, false},  // on the tick box
                      SwitchClick{{351, 166}, true, false}, SwitchClick{{352, 166}, false, false},
                      SwitchClick{{267, 150}, false, false}, SwitchClick{{267, 151}, true, false},
                      SwitchClick{{267, 181}, true, false}, SwitchClick{{267, 182}, false, false}));

INSTANTIATE_TEST_SUITE_P(
    SoundRow, OptionsSwitchBox,
    ::testing::Values(SwitchClick{{202, 270}, false, false}, SwitchClick{{203, 270}, false, true},
                      SwitchClick{{337, 270}, false, true},  // on the tick box
                      SwitchClick{{361, 270}, false, true}, SwitchClick{{362, 270}, false, false},
                      SwitchClick{{267, 250}, false, false}, SwitchClick{{267, 251}, false, true},
                      SwitchClick{{267, 291}, false, true}, SwitchClick{{267, 292}, false, false},
                      SwitchClick{{267, 241}, false, false}));  // between the rows
