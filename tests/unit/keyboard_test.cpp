// Keys and mouse: each key once per press, the first of T, S and Escape,
// F9 on its own, a failed read putting the frame's keys off, the re-acquire
// loop; the mouse through the letterbox onto the frame.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "capture/Capture.h"
#include "fakes/GameHarness.h"
#include "platform/SdlPlatform.h"

namespace {

class Keys : public ::testing::Test {
protected:
    void SetUp() override {
        ResetCaptureCounter();
        h.game.screen = ScreenPlaying;
        h.Deal();
    }
    // One frame that is expected to end the process.
    ProcessExit FrameToExit() {
        try {
            h.Frame();
        } catch (const ProcessExit& e) {
            return e;
        }
        ADD_FAILURE() << "the frame did not end the process";
        return {};
    }
    bool Called(const std::string& call) const {
        return std::find(h.platform.calls.begin(), h.platform.calls.end(), call) != h.platform.calls.end();
    }
    std::vector<uint8_t> ReadFile(const std::string& name) const {
        std::ifstream in(h.folder.File(name), std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    GameHarness h;
};

TEST_F(Keys, TBeatsSAndEscapePressedAfterIt) {
    h.platform.Hold(kKeyT);
    h.platform.Hold(kKeyS);
    h.platform.Hold(kKeyEscape);
    h.Frame();
    EXPECT_EQ(h.game.screen, ScreenTileView);
    EXPECT_TRUE(h.game.gameInProgress);
    // Held on: nothing more, and never an exit.
    h.Frames(3);
    EXPECT_EQ(h.game.screen, ScreenTileView);
    EXPECT_FALSE(Called("Exit"));
}

TEST_F(Keys, TheFirstPressedOfTSAndEscapeActs) {
    h.platform.Hold(kKeyS);
    h.platform.Hold(kKeyT);
    h.Frame();
    EXPECT_EQ(h.game.screen, ScreenShuffle);
    EXPECT_FALSE(h.game.gameInProgress);
}

TEST_F(Keys, TFromAScreenWithoutAGameStaysOnTheTileView) {
    h.game.screen = ScreenPreview;
    h.game.gameInProgress = false;
    h.platform.Hold(kKeyT);
    h.Frames(3);
    EXPECT_EQ(h.game.screen, ScreenTileView);
}

// Each key held for many frames acts once, and a press and release made
// between two frames acts once too.
class OncePerPress : public Keys, public ::testing::WithParamInterface<bool> {
protected:
    // The key down for `frames` frames, or down and up before one frame (0).
    void Press(int key, int frames) {
        h.platform.Hold(key);
        if (frames == 0) h.platform.Release(key);
        h.Frames(std::max(frames, 1));
        h.platform.Release(key);
    }
    int Frames() const { return GetParam() ? 12 : 0; }
};

TEST_P(OncePerPress, TFlipsTheViewOnce) {
    Press(kKeyT, Frames());
    h.Frames(2);
    EXPECT_EQ(h.game.screen, ScreenTileView);
    Press(kKeyT, Frames());
    EXPECT_EQ(h.game.screen, ScreenPlaying);
}

TEST_P(OncePerPress, SDealsOnce) {
    const uint32_t pressed = h.platform.now;
    Press(kKeyS, Frames());
    h.Frames(2);
    EXPECT_EQ(h.game.screen, ScreenPlaying);
    // Dealt in the frame after the press, and not again.
    EXPECT_EQ(h.game.startTick, pressed + kFrameMs);
}

TEST_P(OncePerPress, F9TakesOneCapture) {
    Press(kKeyF9, Frames());
    h.Frames(2);
    EXPECT_TRUE(h.folder.Exists("GAME0.bmp"));
    EXPECT_FALSE(h.folder.Exists("GAME1.bmp"));
    EXPECT_EQ(h.game.screen, ScreenPlaying);
}

TEST_P(OncePerPress, EscapeOnTheOptionsPageGoesToTheBoardAndTheGameGoesOn) {
    h.game.screen = ScreenOptions;
    Press(kKeyEscape, Frames());
    h.Frames(2);
    EXPECT_EQ(h.game.screen, ScreenPlaying);
    EXPECT_FALSE(Called("Exit"));
    // Still a game: a tile moves.
    const int32_t blank = h.game.blankRow * 2 + h.game.blankCol;
    h.platform.Press(h.game.blankCol == 0 ? KeyPress::Left : KeyPress::Right);
    h.Frame();
    EXPECT_NE(h.game.blankRow * 2 + h.game.blankCol, blank);
}

INSTANTIATE_TEST_SUITE_P(HeldOrTapped, OncePerPress, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Held" : "Tapped"); });

TEST_F(Keys, EscapeEndsTheGameWith1AfterTheTeardown) {
    h.platform.Hold(kKeyEscape);
    const ProcessExit exit = FrameToExit();
    EXPECT_EQ(exit.status, 1);
    EXPECT_TRUE(exit.ranExitHandlers);
    EXPECT_TRUE(Called("CloseDisplay"));
    EXPECT_TRUE(Called("CloseKeyboard"));
    EXPECT_FALSE(h.game.menuExit);
}

TEST_F(Keys, EscapeOnTheBestTimesOrHelpEndsTheGame) {
    for (Screen page : {ScreenHighScores, ScreenHelp}) {
        GameHarness other;
        other.game.screen = page;
        other.platform.Hold(kKeyEscape);
        try {
            other.Frame();
            ADD_FAILURE() << "no exit on " << page;
        } catch (const ProcessExit& e) {
            EXPECT_EQ(e.status, 1);
        }
    }
}

TEST_F(Keys, F9TakesTheShownFrameAndTStillActs) {
    h.platform.Hold(kKeyF9);
    h.platform.Hold(kKeyT);
    h.Frame();
    EXPECT_EQ(h.game.screen, ScreenTileView);
    const std::vector<uint8_t> file = ReadFile("GAME0.bmp");
    ASSERT_EQ(file.size(), 1440054u);
    // The capture is the frame this frame presented, pixel for pixel.
    const Surface& shown = h.platform.LastFrame();
    int wrong = 0;
    for (int y = 0; y < 600; y += 7) {
        for (int x = 0; x < 800; x += 5) {
            const uint16_t p = shown.Pixel(x, y);
            const size_t at = 54 + static_cast<size_t>(599 - y) * 2400 + 3 * static_cast<size_t>(x);
            if (file[at] >> 3 != (p & 0x1F) || file[at + 1] >> 2 != ((p >> 5) & 0x3F) || file[at + 2] >> 3 != p >> 11) {
                ++wrong;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(Keys, F9WithEscapeCapturesThenEnds) {
    h.platform.Hold(kKeyF9);
    h.platform.Hold(kKeyEscape);
    EXPECT_EQ(FrameToExit().status, 1);
    EXPECT_TRUE(h.folder.Exists("GAME0.bmp"));
}

TEST_F(Keys, AFailedReadPutsOffThatFramesKeysToTheNext) {
    const int acquiresBefore = h.platform.acquires;
    h.platform.Hold(kKeyT);
    h.platform.Hold(kKeyF9);
    h.platform.readKeyboardStatus = {kErrInputLost};
    h.Frame();
    EXPECT_EQ(h.game.screen, ScreenPlaying);
    EXPECT_FALSE(h.folder.Exists("GAME0.bmp"));
    EXPECT_EQ(h.platform.acquires - acquiresBefore, 1);
    // The next frame reads again, and the keys pressed before act.
    h.platform.Release(kKeyT);
    h.platform.Release(kKeyF9);
    h.Frame();
    EXPECT_EQ(h.game.screen, ScreenTileView);
    EXPECT_TRUE(h.folder.Exists("GAME0.bmp"));
}

TEST_F(Keys, ALostKeyboardIsAcquiredAgainUntilItIsNoLongerLost) {
    const int acquiresBefore = h.platform.acquires;
    h.platform.Hold(kKeyEscape);
    h.platform.readKeyboardStatus = {kErrFail};
    h.platform.acquireStatus = {kErrInputLost, kErrInputLost, kErrInputLost, kOk};
    h.Frame();
    EXPECT_EQ(h.platform.acquires - acquiresBefore, 4);
    EXPECT_FALSE(Called("Exit"));
}

TEST_F(Keys, AnyOtherAcquireResultEndsTheAttempt) {
    const int acquiresBefore = h.platform.acquires;
    h.platform.readKeyboardStatus = {kErrFail, kErrFail};
    h.platform.acquireStatus = {kErrFail, kErrInputLost};
    h.Frame();
    EXPECT_EQ(h.platform.acquires - acquiresBefore, 1);
    // The next frame's poll tries again: lost once more, then taken back.
    h.Frame();
    EXPECT_EQ(h.platform.acquires - acquiresBefore, 3);
}

TEST(KeyCodes, SdlScancodesMapToTheGamesCodes) {
    EXPECT_EQ(KeyCodeFor(SDL_SCANCODE_ESCAPE), 0x01);
    EXPECT_EQ(KeyCodeFor(SDL_SCANCODE_T), 0x14);
    EXPECT_EQ(KeyCodeFor(SDL_SCANCODE_S), 0x1F);
    EXPECT_EQ(KeyCodeFor(SDL_SCANCODE_F9), 0x43);
    EXPECT_EQ(KeyCodeFor(SDL_SCANCODE_A), 0);
    EXPECT_EQ(KeyCodeFor(SDL_SCANCODE_F10), 0);
}

TEST(Letterbox, AScreenOf800By600IsTheFrame) {
    const Letterbox box = LetterboxFor(800, 600);
    EXPECT_EQ(box.x, 0);
    EXPECT_EQ(box.y, 0);
    EXPECT_EQ(box.w, 800);
    EXPECT_EQ(box.h, 600);
    for (Point p : {Point{0, 0}, Point{1, 2}, Point{692, 123}, Point{799, 599}}) {
        EXPECT_EQ(FrameFromWindow(p.x, p.y, 800, 600), p);
    }
}

TEST(Letterbox, A1280By1024ScreenHasBarsAboveAndBelow) {
    const Letterbox box = LetterboxFor(1280, 1024);
    EXPECT_EQ(box.x, 0);
    EXPECT_EQ(box.y, 32);
    EXPECT_EQ(box.w, 1280);
    EXPECT_EQ(box.h, 960);
    // The middle of the Shuffle button (692, 123) sits at (1107, 229) on screen.
    EXPECT_EQ(FrameFromWindow(1107, 229, 1280, 1024), (Point{691, 123}));
    EXPECT_EQ(FrameFromWindow(0, 32, 1280, 1024), (Point{0, 0}));
    EXPECT_EQ(FrameFromWindow(1279, 991, 1280, 1024), (Point{799, 599}));
    // On the bars: held to the frame's edge.
    EXPECT_EQ(FrameFromWindow(640, 5, 1280, 1024), (Point{400, 0}));
    EXPECT_EQ(FrameFromWindow(640, 1020, 1280, 1024), (Point{400, 599}));
}

TEST(Letterbox, AWideScreenHasBarsLeftAndRight) {
    const Letterbox box = LetterboxFor(1920, 1080);
    EXPECT_EQ(box.w, 1440);
    EXPECT_EQ(box.h, 1080);
    EXPECT_EQ(box.x, 240);
    EXPECT_EQ(box.y, 0);
    EXPECT_EQ(FrameFromWindow(240, 0, 1920, 1080), (Point{0, 0}));
    EXPECT_EQ(FrameFromWindow(960, 540, 1920, 1080), (Point{400, 300}));
    EXPECT_EQ(FrameFromWindow(10, 540, 1920, 1080), (Point{0, 300}));
    EXPECT_EQ(FrameFromWindow(1910, 540, 1920, 1080), (Point{799, 300}));
    EXPECT_EQ(FrameFromWindow(-50, -50, 1920, 1080), (Point{0, 0}));
    EXPECT_EQ(FrameFromWindow(5000, 5000, 1920, 1080), (Point{799, 599}));
}

TEST(Letterbox, NoWindowGivesTheCorner) {
    EXPECT_EQ(FrameFromWindow(10, 10, 0, 0), (Point{0, 0}));
}

}  // namespace
