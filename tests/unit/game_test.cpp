// The Game object: starting values, the per-frame dispatch and the screen
// transitions driven by buttons and keys.
#include <gtest/gtest.h>

#include "fakes/GameHarness.h"

namespace {

// Middles of the sidebar buttons.
constexpr Point kShuffle{690, 120};
constexpr Point kTile{680, 200};
constexpr Point kHighScores{700, 270};
constexpr Point kHelp{680, 430};
constexpr Point kOptions{690, 355};
constexpr Point kExit{690, 510};
constexpr Point kBack{400, 480};

TEST(GameObject, StartsOnThePreviewWithItsStartingValues) {
    FakePlatform platform;
    FakeAudio audio;
    Game g(platform, audio);
    EXPECT_EQ(g.screen, ScreenPreview);
    EXPECT_EQ(g.returnScreen, ScreenPreview);
    EXPECT_EQ(g.gridSize, 2);
    EXPECT_EQ(g.tileSize, 0);
    EXPECT_EQ(g.blankRow, 0);
    EXPECT_EQ(g.blankCol, 0);
    EXPECT_TRUE(g.musicOn);
    EXPECT_TRUE(g.soundOn);
    EXPECT_FALSE(g.clicked);
    EXPECT_FALSE(g.gameInProgress);
    EXPECT_EQ(g.levelChoice, 0);
    EXPECT_FALSE(g.primarySurface);
    EXPECT_FALSE(g.backSurface);
    EXPECT_FALSE(g.pictureFull[0]);
    EXPECT_FALSE(g.currentPicture);
    EXPECT_FALSE(g.directDraw || g.keyboard || g.directInput || g.performance || g.musicLoader);
    EXPECT_EQ(g.soundButton.handle, -1);
    for (int32_t t : g.bestTime) EXPECT_EQ(t, 0);
    // Construction touches no device.
    EXPECT_TRUE(platform.calls.empty());
    EXPECT_TRUE(audio.calls.empty());
}

TEST(GameObject, EveryScreenFlipsExactlyOncePerFrame) {
    GameHarness h;
    for (Screen s : {ScreenPreview, ScreenTileView, ScreenOptions, ScreenHighScores, ScreenHelp, ScreenShuffle,
                     ScreenPlaying, ScreenSolved}) {
        h.game.screen = s;
        const int before = h.platform.presentCount;
        h.Frame();
        EXPECT_EQ(h.platform.presentCount, before + 1) << s;
    }
}

TEST(GameObject, AnUnknownScreenDrawsNothingButStillClearsTheClickAndPollsKeys) {
    GameHarness h;
    h.game.screen = static_cast<Screen>(9);
    h.game.clicked = true;
    const int frames = h.platform.presentCount;
    const int reads = h.platform.keyboardReads;
    h.game.RunFrame();
    EXPECT_EQ(h.platform.presentCount, frames);
    EXPECT_FALSE(h.game.clicked);
    EXPECT_EQ(h.platform.keyboardReads, reads + 1);
    h.platform.Hold(kKeyS);
    h.game.RunFrame();
    EXPECT_EQ(h.game.screen, ScreenShuffle);
}

TEST(GameObject, TheShuffleScreenNeverOutlivesItsFrame) {
    GameHarness h;
    h.game.screen = ScreenShuffle;
    // Whatever a sidebar click does during the deal frame, it ends on ScreenPlaying.
    h.platform.cursor = kHelp;
    h.game.cursor = kHelp;
    h.platform.Click();
    h.Frame();
    EXPECT_EQ(h.game.screen, ScreenPlaying);
    EXPECT_EQ(h.game.returnScreen, ScreenShuffle);
}

TEST(GameObject, THeldOnTheDealFrameActsOnTheNewGame) {
    GameHarness h;
    h.game.screen = ScreenShuffle;
    h.platform.Hold(kKeyT);
    h.Frame();
    EXPECT_TRUE(h.game.gameInProgress);
    EXPECT_EQ(h.game.screen, ScreenTileView);
}

class Transitions : public ::testing::Test {
protected:
    GameHarness h;
    void Key(int key) {
        h.platform.Hold(key);
        h.Frame();
        h.platform.Release(key);
    }
};

TEST_F(Transitions, ShuffleFromAnySidebarScreenDealsAndClearsTheGameInProgress) {
    for (Screen s : {ScreenPreview, ScreenTileView, ScreenPlaying, ScreenSolved}) {
        h.game.screen = s;
        h.game.gameInProgress = true;
        h.ClickAt(kShuffle.x, kShuffle.y);
        EXPECT_EQ(h.game.screen, ScreenShuffle) << s;
        EXPECT_FALSE(h.game.gameInProgress);
        h.Frame();
        EXPECT_EQ(h.game.screen, ScreenPlaying);
    }
    EXPECT_EQ(h.audio.Played(), std::vector<std::string>(4, "Button.aud"));
}

TEST_F(Transitions, TileAndResumePauseAndResumeAGame) {
    h.Deal();
    h.ClickAt(kTile.x, kTile.y);
    EXPECT_EQ(h.game.screen, ScreenTileView);
    EXPECT_TRUE(h.game.gameInProgress);
    h.Frame();
    // The button now shows the Resume image.
    EXPECT_EQ(h.Shown(kTile.x + 15, kTile.y + 10), testart::To565(testart::MenuHovered(4)));
    h.ClickAt(kTile.x, kTile.y);
    EXPECT_EQ(h.game.screen, ScreenPlaying);
}

TEST_F(Transitions, TileWithoutAGameStaysOnTheTileView) {
    h.ClickAt(kTile.x, kTile.y);
    EXPECT_EQ(h.game.screen, ScreenTileView);
    EXPECT_FALSE(h.game.gameInProgress);
    h.Frame();
    EXPECT_EQ(h.Shown(kTile.x + 15, kTile.y + 10), testart::To565(testart::MenuHovered(1)));  // Tile, not Resume
    h.ClickAt(kTile.x, kTile.y);
    EXPECT_EQ(h.game.screen, ScreenTileView);
    Key(kKeyT);
    EXPECT_EQ(h.game.screen, ScreenTileView);
}

TEST_F(Transitions, PagesRememberWhereTheyWereOpenedAndBackReturnsThere) {
    const std::pair<Point, Screen> pages[] = {{kOptions, ScreenOptions}, {kHighScores, ScreenHighScores},
                                              {kHelp, ScreenHelp}};
    for (const auto& [button, page] : pages) {
        for (Screen from : {ScreenPreview, ScreenSolved, ScreenTileView}) {
            h.game.screen = from;
            h.ClickAt(button.x, button.y);
            EXPECT_EQ(h.game.screen, page);
            EXPECT_EQ(h.game.returnScreen, from);
            h.ClickAt(kBack.x, kBack.y);
            EXPECT_EQ(h.game.screen, from) << page;
        }
    }
}

TEST_F(Transitions, ExitTearsDownAndEndsWithOne) {
    h.platform.cursor = kExit;
    h.Frame();
    h.platform.Click();
    try {
        h.Frame();
        FAIL() << "still running";
    } catch (const ProcessExit& e) {
        EXPECT_EQ(e.status, 1);
        EXPECT_TRUE(e.ranExitHandlers);
    }
    EXPECT_EQ(h.audio.Played(), (std::vector<std::string>{"Button.aud"}));
    EXPECT_FALSE(h.game.pictureFull[0]);
    EXPECT_FALSE(h.game.backSurface);
    EXPECT_FALSE(h.game.keyboard);
    EXPECT_FALSE(h.audio.open);
}

TEST_F(Transitions, KeysTakeTheFirstPressedOfTSEscapeAndDropTheOthers) {
    h.Deal();
    h.platform.Hold(kKeyT);
    h.platform.Hold(kKeyS);
    h.platform.Hold(kKeyEscape);
    h.Frame();
    EXPECT_EQ(h.game.screen, ScreenTileView);  // T wins
    h.platform.Release(kKeyT);
    h.Frame();
    EXPECT_EQ(h.game.screen, ScreenTileView);  // S and Escape, still held, were pressed with it
    EXPECT_TRUE(h.game.gameInProgress);
    h.platform.Release(kKeyS);
    h.platform.Release(kKeyEscape);
    Key(kKeyT);
    EXPECT_EQ(h.game.screen, ScreenPlaying);
}

TEST_F(Transitions, THeldFlipsBetweenBoardAndTileViewOnce) {
    h.Deal();
    h.platform.Hold(kKeyT);
    std::vector<Screen> seen;
    for (int i = 0; i < 4; ++i) {
        h.Frame();
        seen.push_back(h.game.screen);
    }
    EXPECT_EQ(seen, std::vector<Screen>(4, ScreenTileView));
}

TEST_F(Transitions, EscapeLeavesTheOptionsPageForTheBoardAndEndsTheGameElsewhere) {
    h.game.screen = ScreenOptions;
    h.platform.Hold(kKeyEscape);
    h.Frames(2);  // still held on the board: the game goes on
    EXPECT_EQ(h.game.screen, ScreenPlaying);
    h.platform.Release(kKeyEscape);
    h.platform.Hold(kKeyEscape);
    try {
        h.Frame();  // pressed again on the board: the game ends
        FAIL() << "still running";
    } catch (const ProcessExit& e) {
        EXPECT_EQ(e.status, 1);
        EXPECT_TRUE(e.ranExitHandlers);
    }
    EXPECT_FALSE(h.game.backSurface);
}

TEST_F(Transitions, EscapeOnTheBestTimesOrHelpPageEndsTheGame) {
    for (Screen page : {ScreenHighScores, ScreenHelp}) {
        GameHarness g;
        g.game.screen = page;
        g.platform.Hold(kKeyEscape);
        EXPECT_THROW(g.Frame(), ProcessExit);
    }
}

TEST_F(Transitions, AFailedKeyboardReadPutsOffTheFramesKeysAndReacquires) {
    h.platform.Hold(kKeyS);
    h.platform.readKeyboardStatus = {kErrInputLost};
    h.platform.acquireStatus = {kErrInputLost, kErrInputLost, kErrFail};
    const int acquires = h.platform.acquires;
    h.Frame();
    EXPECT_EQ(h.game.screen, ScreenPreview);
    EXPECT_EQ(h.platform.acquires, acquires + 3);  // until it stops answering "lost"
    h.Frame();
    EXPECT_EQ(h.game.screen, ScreenShuffle);
}

TEST_F(Transitions, AClickNoControlTakesIsGoneAfterItsFrame) {
    h.platform.cursor = {300, 300};  // on the preview picture: nothing there
    h.Frame();
    h.platform.Click();
    h.Frame();
    EXPECT_FALSE(h.game.clicked);
    h.game.screen = ScreenShuffle;
    h.Frame();
    // A frame later the old click moves nothing.
    const auto before = h.game.boardTile[0][0];
    h.Frame();
    EXPECT_EQ(h.game.boardTile[0][0], before);
}

}  // namespace
