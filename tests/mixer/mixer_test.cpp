// The real sound device on SDL2_mixer, run on SDL's dummy audio driver so
// that no sound card is needed: loading good and broken files, playing,
// panning, stopping, releasing and closing.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "mixer/WavFiles.h"
#include "platform/MixerAudio.h"

namespace fs = std::filesystem;

namespace {

// A scratch folder with good and broken sound files.
class SoundFolder {
public:
    SoundFolder() {
        char pattern[] = "/tmp/vesk-mixer-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made) throw std::runtime_error("mkdtemp");
        path_ = made;
        const std::vector<uint8_t> tone = wav::Tone(3.0);
        wav::Write(File("BkGnd.mus"), wav::Tone(2.0, 22050, 220.0));  // WAV content under a .mus name
        wav::Write(File("Long.aud"), tone);
        wav::Write(File("Short.aud"), wav::Tone(0.05));
        wav::Write(File("CutHeader.aud"), wav::Truncated(tone, 20));
        wav::Write(File("CutData.aud"), wav::Truncated(tone, tone.size() / 2));
        wav::Write(File("NoData.aud"), wav::Truncated(tone, 44));
        wav::Write(File("OneShort.aud"), wav::Truncated(tone, tone.size() - 1));
        std::vector<uint8_t> bigChunk = tone;  // the data chunk claims about 4 GB
        bigChunk[42] = bigChunk[43] = 0xFF;
        wav::Write(File("BigChunk.aud"), bigChunk);
        std::vector<uint8_t> oddRate = tone;  // 100 Hz: 130 kB of it converted to 116 MB
        oddRate[24] = 100;
        oddRate[25] = oddRate[26] = oddRate[27] = 0;
        wav::Write(File("OddRate.aud"), oddRate);
        wav::WriteText(File("Text.aud"), "This is not a sound, only some words.\n");
        wav::WriteText(File("Scrap.aud"), "not wav");  // too short for the mixer to tell its kind
        wav::Write(File("CutHeader.mus"), wav::Truncated(tone, 20));
        wav::Write(File("CutData.mus"), wav::Truncated(tone, tone.size() / 2));
        wav::Write(File("OneShort.mus"), wav::Truncated(tone, tone.size() - 1));
        wav::WriteText(File("Text.mus"), "This is not a tune either.\n");
        wav::Write(File("Empty.aud"), {});
    }
    ~SoundFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Sums what the mixer sends to the device, left and right apart.
struct OutputMeter {
    std::atomic<uint64_t> left{0}, right{0}, frames{0};

    static void Hook(void* self, Uint8* stream, int len) {
        auto* meter = static_cast<OutputMeter*>(self);
        const auto* samples = reinterpret_cast<const Sint16*>(stream);
        uint64_t l = 0, r = 0;
        const int n = len / 4;
        for (int i = 0; i < n; ++i) {
            l += static_cast<uint64_t>(std::abs(static_cast<int>(samples[2 * i])));
            r += static_cast<uint64_t>(std::abs(static_cast<int>(samples[2 * i + 1])));
        }
        meter->left += l;
        meter->right += r;
        meter->frames += static_cast<uint64_t>(n);
    }

    // Measures at least `count` frames of what is mixed from now on (at most
    // 3 s of waiting). Setting the hook takes the mixer's lock, so no mix that
    // began before the call is counted; removing it takes the lock again, so
    // the sums are whole when read.
    bool Measure(uint64_t count) {
        left = 0;
        right = 0;
        frames = 0;
        Mix_SetPostMix(&OutputMeter::Hook, this);
        const Uint32 start = SDL_GetTicks();
        while (frames.load() < count && SDL_GetTicks() - start <= 3000) SDL_Delay(5);
        Mix_SetPostMix(nullptr, nullptr);
        return frames.load() >= count;
    }
};

class MixerTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Never needs a sound card: SDL reads this when the audio starts.
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    void TearDown() override { audio.Close(); }

    int Channels() const { return Mix_AllocateChannels(-1); }

    SoundFolder folder;
    MixerAudio audio;
};

}  // namespace

// ---- the pan law --------------------------------------------------------------

TEST(PanFor, LeftEdgeIsFullyLeft) { EXPECT_EQ(PanFor(-0.5f), (Pan{255, 0})); }

TEST(PanFor, CentreIsCentredAtEqualPower) {
    const Pan pan = PanFor(0.0f);
    EXPECT_EQ(pan.left, pan.right);
    EXPECT_EQ(pan.left, 180);  // 255 x cos(45 degrees): 3 dB down on each side
}

TEST(PanFor, RightEdgeIsAlmostFullyRight) {
    // 799 on the screen: (799 - 400) x 0.00125.
    const Pan pan = PanFor(0.49875f);
    EXPECT_EQ(pan.right, 255);
    EXPECT_LE(pan.left, 1);
    EXPECT_EQ(PanFor(0.5f), (Pan{0, 255}));
}

TEST(PanFor, PowerStaysTheSameAcrossAndMovesOneWay) {
    Pan previous = PanFor(-0.5f);
    for (int px = 0; px < 800; ++px) {
        const float x = static_cast<float>(px - 400) * 0.00125f;
        const Pan pan = PanFor(x);
        const double power = double(pan.left) * pan.left + double(pan.right) * pan.right;
        EXPECT_NEAR(std::sqrt(power), 255.0, 1.0) << "at pixel " << px;
        EXPECT_LE(pan.left, previous.left) << "at pixel " << px;
        EXPECT_GE(pan.right, previous.right) << "at pixel " << px;
        previous = pan;
    }
}

TEST(PanFor, BeyondTheEdgesIsHeldAtTheEdges) {
    EXPECT_EQ(PanFor(-3.0f), PanFor(-0.5f));
    EXPECT_EQ(PanFor(7.0f), PanFor(0.5f));
}

// ---- the device ---------------------------------------------------------------

TEST_F(MixerTest, OpensOnTheDummyDriver) {
    audio.Open();
    ASSERT_TRUE(audio.IsOpen());
    EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");
    EXPECT_NE(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    audio.Close();
    EXPECT_FALSE(audio.IsOpen());
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
}

TEST_F(MixerTest, FallsBackToTheDummyDriverWhenTheAskedOneIsMissing) {
    setenv("SDL_AUDIODRIVER", "no-such-sound-system", 1);
    audio.Open();
    ASSERT_TRUE(audio.IsOpen());
    EXPECT_TRUE(audio.UsedDummyDriver());
    EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");
    // Files are still loaded and checked.
    EXPECT_EQ(audio.LoadMusic(folder.File("BkGnd.mus")), 0);
    EXPECT_GE(audio.LoadEffect(folder.File("Long.aud")), 0);
    EXPECT_LT(audio.LoadEffect(folder.File("Text.aud")), 0);
    audio.Close();
    // The override is not left behind: the next start asks the environment again.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    audio.Open();
    ASSERT_TRUE(audio.IsOpen());
    EXPECT_FALSE(audio.UsedDummyDriver());
}

TEST_F(MixerTest, TheTuneIsKnownByItsContentAndLoopsWithoutEnd) {
    audio.Open();
    ASSERT_EQ(audio.LoadMusic(folder.File("BkGnd.mus")), 0);
    EXPECT_FALSE(Mix_PlayingMusic());
    audio.PlayMusic();
    EXPECT_TRUE(Mix_PlayingMusic());
    audio.StopAll();
    EXPECT_FALSE(Mix_PlayingMusic());
    audio.PlayMusic();  // again, from its beginning
    EXPECT_TRUE(Mix_PlayingMusic());
    EXPECT_LT(Mix_GetMusicPosition(nullptr), 0.5);
}

TEST_F(MixerTest, TheTuneRepeatsPastItsEnd) {
    // A tune of a tenth of a second is still playing after six times as long.
    wav::Write(folder.File("Blip.mus"), wav::Tone(0.1));
    audio.Open();
    ASSERT_EQ(audio.LoadMusic(folder.File("Blip.mus")), 0);
    audio.PlayMusic();
    int rate = 0;
    ASSERT_EQ(Mix_QuerySpec(&rate, nullptr, nullptr), 1);
    OutputMeter meter;
    ASSERT_TRUE(meter.Measure(static_cast<uint64_t>(rate) * 6 / 10));
    EXPECT_TRUE(Mix_PlayingMusic());
}

TEST_F(MixerTest, BrokenOrMissingTunesFailWithANegativeStatus) {
    audio.Open();
    for (const char* name : {"Missing.mus", "Text.mus", "CutHeader.mus", "CutData.mus", "OneShort.mus", "BigChunk.aud",
                             "OddRate.aud", "Empty.aud"}) {
        EXPECT_LT(audio.LoadMusic(folder.File(name)), 0) << name;
    }
    audio.PlayMusic();  // nothing loaded: nothing plays, nothing breaks
    EXPECT_FALSE(Mix_PlayingMusic());
    EXPECT_EQ(audio.LoadMusic(folder.File("BkGnd.mus")), 0);  // still usable
}

TEST_F(MixerTest, BrokenOrMissingEffectsFailWithANegativeStatusAndKeepNoFileOpen) {
    audio.Open();
    const auto openFiles = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto before = openFiles();
    for (const char* name :
         {"Missing.aud", "Text.aud", "Scrap.aud", "CutHeader.aud", "CutData.aud", "OneShort.aud", "BigChunk.aud",
          "OddRate.aud", "Empty.aud"}) {
        EXPECT_LT(audio.LoadEffect(folder.File(name)), 0) << name;
        EXPECT_EQ(openFiles(), before) << name;
    }
    EXPECT_GE(audio.LoadEffect(folder.File("Long.aud")), 0);  // still usable
}

TEST_F(MixerTest, LoadingBeforeTheDeviceIsUpFails) {
    EXPECT_LT(audio.LoadMusic(folder.File("BkGnd.mus")), 0);
    EXPECT_LT(audio.LoadEffect(folder.File("Long.aud")), 0);
}

TEST_F(MixerTest, EffectsGetHandlesOfTheirOwn) {
    audio.Open();
    const int32_t a = audio.LoadEffect(folder.File("Long.aud"));
    const int32_t b = audio.LoadEffect(folder.File("Short.aud"));
    EXPECT_GE(a, 0);
    EXPECT_GE(b, 0);
    EXPECT_NE(a, b);
}

TEST_F(MixerTest, ASecondPlayDoesNotCutTheFirst) {
    audio.Open();
    const int32_t tile = audio.LoadEffect(folder.File("Long.aud"));
    ASSERT_GE(tile, 0);
    audio.PlayEffect(tile, 0.0f, 0.0f, 0.0f);
    const int first = audio.LastChannel();
    audio.PlayEffect(tile, 0.1f, 0.0f, 0.0f);
    const int second = audio.LastChannel();
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    EXPECT_NE(first, second);
    EXPECT_TRUE(Mix_Playing(first));
    EXPECT_TRUE(Mix_Playing(second));
    EXPECT_EQ(Mix_Playing(-1), 2);
}

TEST_F(MixerTest, MoreChannelsWhenAllAreBusy) {
    audio.Open();
    const int32_t tile = audio.LoadEffect(folder.File("Long.aud"));
    ASSERT_GE(tile, 0);
    const int channels = Channels();
    for (int i = 0; i < channels + 3; ++i) audio.PlayEffect(tile, 0.0f, 0.0f, 0.0f);
    EXPECT_GT(Channels(), channels);
    EXPECT_EQ(Mix_Playing(-1), channels + 3);
}

TEST_F(MixerTest, AFinishedChannelIsUsedAgain) {
    audio.Open();
    const int32_t blip = audio.LoadEffect(folder.File("Short.aud"));
    ASSERT_GE(blip, 0);
    audio.PlayEffect(blip, 0.0f, 0.0f, 0.0f);
    const int first = audio.LastChannel();
    ASSERT_GE(first, 0);
    const Uint32 start = SDL_GetTicks();
    while (Mix_Playing(first) && SDL_GetTicks() - start < 2000) SDL_Delay(5);
    ASSERT_FALSE(Mix_Playing(first));
    const int channels = Channels();
    audio.PlayEffect(blip, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(audio.LastChannel(), first);
    EXPECT_EQ(Channels(), channels);
}

TEST_F(MixerTest, StopAllSilencesTheTuneAndEveryEffect) {
    audio.Open();
    ASSERT_EQ(audio.LoadMusic(folder.File("BkGnd.mus")), 0);
    const int32_t tile = audio.LoadEffect(folder.File("Long.aud"));
    ASSERT_GE(tile, 0);
    audio.PlayMusic();
    audio.PlayEffect(tile, -0.2f, 0.0f, 0.0f);
    audio.PlayEffect(tile, 0.2f, 0.0f, 0.0f);
    ASSERT_EQ(Mix_Playing(-1), 2);
    audio.StopAll();
    EXPECT_FALSE(Mix_PlayingMusic());
    EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST_F(MixerTest, ReleasingAnEffectStopsOnlyThatEffect) {
    audio.Open();
    const int32_t tile = audio.LoadEffect(folder.File("Long.aud"));
    const int32_t button = audio.LoadEffect(folder.File("Long.aud"));
    ASSERT_GE(tile, 0);
    ASSERT_GE(button, 0);
    audio.PlayEffect(tile, 0.0f, 0.0f, 0.0f);
    const int tileChannel = audio.LastChannel();
    audio.PlayEffect(button, 0.0f, 0.0f, 0.0f);
    const int buttonChannel = audio.LastChannel();
    audio.ReleaseEffect(tile);
    EXPECT_FALSE(Mix_Playing(tileChannel));
    EXPECT_TRUE(Mix_Playing(buttonChannel));
    // A released handle plays nothing, and releasing it again is harmless.
    audio.PlayEffect(tile, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(audio.LastChannel(), -1);
    audio.ReleaseEffect(tile);
    audio.ReleaseEffect(12345);
    audio.PlayEffect(-1, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(Mix_Playing(-1), 1);
}

TEST_F(MixerTest, EffectsArePannedByWhereTheyPlay) {
    audio.Open();
    int rate = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_EQ(Mix_QuerySpec(&rate, &format, &channels), 1);
    ASSERT_EQ(channels, 2);
    ASSERT_EQ(format, AUDIO_S16SYS);
    const int32_t tile = audio.LoadEffect(folder.File("Long.aud"));
    ASSERT_GE(tile, 0);

    OutputMeter meter;
    const auto measure = [&](float x) {
        audio.StopAll();
        audio.PlayEffect(tile, x, 0.25f, 0.0f);
        EXPECT_TRUE(meter.Measure(8192));
        return std::pair<double, double>(double(meter.left.load()), double(meter.right.load()));
    };

    const auto [leftEdgeL, leftEdgeR] = measure(-0.5f);
    EXPECT_GT(leftEdgeL, 0.0);
    EXPECT_EQ(leftEdgeR, 0.0);

    const auto [centreL, centreR] = measure(0.0f);
    EXPECT_GT(centreL, 0.0);
    EXPECT_NEAR(centreL / centreR, 1.0, 0.01);
    // Equal power: each side about 0.707 of the full level heard at the edge.
    EXPECT_NEAR(centreL / leftEdgeL, 180.0 / 255.0, 0.03);

    const auto [rightEdgeL, rightEdgeR] = measure(0.49875f);
    EXPECT_GT(rightEdgeR, 0.0);
    EXPECT_LT(rightEdgeL, rightEdgeR * 0.01);
}

TEST_F(MixerTest, TheHeightDoesNotMoveTheSound) {
    audio.Open();
    const int32_t tile = audio.LoadEffect(folder.File("Long.aud"));
    ASSERT_GE(tile, 0);
    OutputMeter meter;
    audio.PlayEffect(tile, -0.5f, 0.499f, 0.0f);
    EXPECT_TRUE(meter.Measure(4096));
    EXPECT_GT(meter.left.load(), 0u);
    EXPECT_EQ(meter.right.load(), 0u);
}

TEST_F(MixerTest, CloseStopsAndFreesEverythingAndIsSafeToRepeat) {
    audio.Open();
    ASSERT_EQ(audio.LoadMusic(folder.File("BkGnd.mus")), 0);
    const int32_t tile = audio.LoadEffect(folder.File("Long.aud"));
    ASSERT_GE(tile, 0);
    audio.PlayMusic();
    audio.PlayEffect(tile, 0.0f, 0.0f, 0.0f);
    audio.Close();
    EXPECT_FALSE(audio.IsOpen());
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    audio.Close();
    // Every call after Close does nothing.
    audio.PlayMusic();
    audio.PlayEffect(tile, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(audio.LastChannel(), -1);
    audio.StopAll();
    audio.ReleaseEffect(tile);
    // And the device comes back up.
    audio.Open();
    ASSERT_TRUE(audio.IsOpen());
    EXPECT_EQ(audio.LoadMusic(folder.File("BkGnd.mus")), 0);
}

TEST_F(MixerTest, CallsBeforeOpenDoNothing) {
    audio.PlayMusic();
    audio.StopAll();
    audio.PlayEffect(0, 0.0f, 0.0f, 0.0f);
    audio.ReleaseEffect(0);
    audio.Close();
    EXPECT_FALSE(audio.IsOpen());
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
}

TEST_F(MixerTest, OpeningTwiceKeepsOneDevice) {
    audio.Open();
    audio.Open();
    audio.Close();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
}
