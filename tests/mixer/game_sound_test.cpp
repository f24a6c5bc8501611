// The game on the real sound device (SDL's dummy driver): start-up with real
// files, tile moves that overlap, the Music switch, and broken or missing
// sound files taking the failure path.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "app/Game.h"
#include "fakes/FakePlatform.h"
#include "fakes/TestFolder.h"
#include "mixer/WavFiles.h"
#include "platform/MixerAudio.h"

namespace {

struct DummyDriver {
    DummyDriver() { setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

// A game over the test folder, the scripted platform and the real engine.
class RealSoundGame {
public:
    explicit RealSoundGame(const char* fallbackDriver = "dummy") : audio(fallbackDriver) {
        std::filesystem::create_directories(folder.File("Audio"));
        wav::Write(folder.File("Audio/BkGnd.mus"), wav::Tone(2.0, 22050, 220.0));
        wav::Write(folder.File("Audio/Button.aud"), wav::Tone(0.3));
        wav::Write(folder.File("Audio/Tile.aud"), wav::Tone(1.5, 22050, 330.0));
        wav::Write(folder.File("Audio/Success.aud"), wav::Tone(1.0, 22050, 660.0));
    }
    void Frame() {
        Message m;
        if (platform.PeekMessage(m) && m == Message::LButtonDown) game.clicked = true;
        game.RunFrame();
        platform.now += kFrameMs;
    }
    void ClickAt(int x, int y) {
        platform.cursor = {x, y};
        Frame();
        platform.Click();
        Frame();
    }

    DummyDriver dummy;
    TestFolder folder;
    FakePlatform platform;
    MixerAudio audio;
    Game game{platform, audio};
};

}  // namespace

TEST(GameSound, StartsTheTuneAndLoadsTheEffects) {
    RealSoundGame g;
    ASSERT_EQ(g.game.LoadResources(), 0);
    EXPECT_TRUE(g.platform.shownMessages.empty());
    EXPECT_TRUE(g.audio.IsOpen());
    EXPECT_TRUE(Mix_PlayingMusic());
    EXPECT_GE(g.game.soundButton.handle, 0);
    EXPECT_GE(g.game.soundTile.handle, 0);
    EXPECT_GE(g.game.soundSuccess.handle, 0);
    g.game.ReleaseAll();
    EXPECT_FALSE(g.audio.IsOpen());
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
}

TEST(GameSound, TwoQuickTileMovesSoundTogether) {
    RealSoundGame g;
    ASSERT_EQ(g.game.LoadResources(), 0);
    g.game.screen = ScreenShuffle;
    g.Frame();
    ASSERT_EQ(g.game.screen, ScreenPlaying);
    // Blank at the top right; neither move below solves the board.
    const int32_t homes[4] = {3, 0, 2, 1};
    const int n = g.game.gridSize;
    for (int i = 0; i < 4; ++i) {
        const int row = i / n, col = i % n;
        g.game.boardTile[row][col] = homes[i];
        g.game.boardImage[row][col] = homes[i] == 0 ? g.game.blankTile : g.game.tileImage[homes[i] / n][homes[i] % n];
    }
    g.game.blankRow = 0;
    g.game.blankCol = 1;
    const int t = g.game.tileSize;
    g.ClickAt(52 + t / 2, 52 + t / 2);      // cell (0, 0)
    g.ClickAt(52 + t / 2, 52 + t + t / 2);  // cell (1, 0)
    ASSERT_EQ(g.game.boardTile[1][0], 0);
    EXPECT_EQ(Mix_Playing(-1), 2);
    EXPECT_TRUE(Mix_PlayingMusic());
}

TEST(GameSound, MusicOffSilencesEverythingAndOnStartsAgain) {
    RealSoundGame g;
    ASSERT_EQ(g.game.LoadResources(), 0);
    g.game.screen = ScreenOptions;
    g.game.PlaySoundEffect(g.game.soundTile);  // an effect that is still sounding
    ASSERT_EQ(Mix_Playing(-1), 1);
    g.ClickAt(267, 166);  // Music
    EXPECT_FALSE(g.game.musicOn);
    EXPECT_FALSE(Mix_PlayingMusic());
    EXPECT_EQ(Mix_Playing(-1), 0);  // the tile effect and the click both cut
    g.ClickAt(267, 166);
    EXPECT_TRUE(g.game.musicOn);
    EXPECT_TRUE(Mix_PlayingMusic());
    EXPECT_LT(Mix_GetMusicPosition(nullptr), 0.5);
}

TEST(GameSound, WithNoDeviceEvenOnTheFallbackDriverTheGameRunsSilentlyAndSaysWhyOnce) {
    RealSoundGame g("no-such-fallback");
    setenv("SDL_AUDIODRIVER", "no-such-sound-system", 1);
    ::testing::internal::CaptureStderr();
    const int32_t started = g.game.LoadResources();
    const std::string said = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(started, 0);
    EXPECT_TRUE(g.platform.shownMessages.empty());
    const std::string line = "sound is off";
    ASSERT_NE(said.find(line), std::string::npos) << said;
    EXPECT_EQ(said.find(line, said.find(line) + 1), std::string::npos) << said;
    EXPECT_NE(said.find("no-such-fallback"), std::string::npos) << said;
    EXPECT_FALSE(g.audio.IsOpen());
    // It plays on: a deal and a tile move, without a sound.
    g.game.screen = ScreenShuffle;
    g.Frame();
    ASSERT_EQ(g.game.screen, ScreenPlaying);
    g.game.PlaySoundEffect(g.game.soundTile);
    EXPECT_EQ(g.audio.LastChannel(), -1);
    g.game.ReleaseAll();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
}

struct BrokenSound {
    const char* file;
    bool text;  // a text file under the sound's name; otherwise a WAV cut short
    const char* message;
};
void PrintTo(const BrokenSound& c, std::ostream* os) { *os << c.file << (c.text ? " as text" : " cut short"); }


class BrokenSoundFile : public ::testing::TestWithParam<BrokenSound> {};

TEST_P(BrokenSoundFile, TakesTheFailurePath) {
    const BrokenSound& b = GetParam();
    RealSoundGame g;
    const std::string path = g.folder.File(std::string("Audio/") + b.file);
    if (b.text) {
        wav::WriteText(path, "Not a sound at all.\n");
    } else {
        wav::Write(path, wav::Truncated(wav::Tone(1.0), 3000));
    }
    EXPECT_LT(g.game.LoadResources(), 0);
    ASSERT_EQ(g.platform.shownMessages.size(), 1u);
    EXPECT_EQ(g.platform.shownMessages[0].text, b.message);
    EXPECT_FALSE(g.audio.IsOpen());
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    EXPECT_EQ(g.game.soundButton.handle, -1);
    EXPECT_EQ(g.platform.calls.end(), std::find(g.platform.calls.begin(), g.platform.calls.end(), "OpenKeyboard"));
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenSoundFile,
    ::testing::Values(BrokenSound{"BkGnd.mus", true, "BkGnd.mus not found,  Program will now quit"},
                      BrokenSound{"BkGnd.mus", false, "BkGnd.mus not found,  Program will now quit"},
                      BrokenSound{"Button.aud", true, "Media not found, sample will now quit"},
                      BrokenSound{"Tile.aud", false, "Media not found, sample will now quit"},
                      BrokenSound{"Success.aud", true, "Media not found, sample will now quit"}));

TEST(GameSound, AMissingEffectFreesTheOnesLoadedBeforeIt) {
    RealSoundGame g;
    g.folder.Remove("Audio/Success.aud");
    EXPECT_LT(g.game.LoadResources(), 0);
    ASSERT_EQ(g.platform.shownMessages.size(), 1u);
    EXPECT_EQ(g.platform.shownMessages[0].caption, "Game");
    // Button and Tile were loaded; closing the engine freed them (the
    // sanitizer build would report them otherwise).
    EXPECT_FALSE(g.audio.IsOpen());
    EXPECT_EQ(g.game.soundTile.handle, -1);
}
