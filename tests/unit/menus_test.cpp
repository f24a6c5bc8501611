// The sidebar, the options page, the pages over the picture, numbers and
// the pointer, frame by frame through the fakes.
#include <gtest/gtest.h>

#include "fakes/GameHarness.h"

namespace {

using testart::To565;

constexpr int kShuffleMenu = 0, kHighScoresMenu = 2, kMusicMenu = 5, kSoundMenu = 6, kPictureMenu = 9;

class Menus : public ::testing::Test {
protected:
    GameHarness h;
    // Points the mouse somewhere and lets a frame read it.
    void Hover(int x, int y) {
        h.platform.cursor = {x, y};
        h.Frame();
        h.Frame();
    }
};

TEST_F(Menus, ButtonEdgesDoNotHover) {
    // Shuffle spans 635 < x < 750; its normal frame shows at the edges.
    for (int x : {635, 750}) {
        Hover(x, 120);
        EXPECT_EQ(h.Shown(700, 140), To565(testart::MenuNormal(kShuffleMenu))) << x;
        h.platform.Click();
        h.Frame();
        EXPECT_EQ(h.game.screen, ScreenPreview) << x;
    }
    Hover(636, 120);
    EXPECT_EQ(h.Shown(700, 140), To565(testart::MenuHovered(kShuffleMenu)));
    // High Scores reaches the right edge; x 799 is outside it.
    Hover(799, 270);
    EXPECT_EQ(h.Shown(700, 260), To565(testart::MenuNormal(kHighScoresMenu)));
    Hover(798, 270);
    EXPECT_EQ(h.Shown(700, 260), To565(testart::MenuHovered(kHighScoresMenu)));
    EXPECT_TRUE(h.audio.Played().empty());
}

TEST_F(Menus, KeyedPixelsLeaveWhatLiesBelow) {
    h.Frame();
    // The bottom-right pixel of the Shuffle frame is pure green: the background shows.
    EXPECT_EQ(h.Shown(749, 146), To565(testart::kBackground));
    EXPECT_EQ(h.Shown(748, 146), To565(testart::MenuNormal(kShuffleMenu)));
    // The won banner's see-through half shows the picture.
    h.game.screen = ScreenSolved;
    h.Frame();
    EXPECT_EQ(h.Shown(135, 125), To565(testart::kWon));
    EXPECT_EQ(h.Shown(300, 125), To565(testart::PicturePixel(0, 250, 75)));
}

TEST_F(Menus, SidebarDrawsFrameThumbnailAndClockOnlyDuringAGame) {
    h.Frame();
    EXPECT_EQ(h.Shown(658, 33), To565(testart::kBorder));
    EXPECT_EQ(h.Shown(660 + 30, 35 + 30), h.game.pictureThumb[0]->Pixel(30, 30));
    EXPECT_EQ(h.Shown(215, 565), To565(testart::kBackground));  // no clock on the preview
    h.game.screen = ScreenTileView;
    h.Frame();
    EXPECT_EQ(h.Shown(215, 565), To565(testart::kBackground));  // nor on the tile view without a game
    h.Deal();
    h.Frame();
    EXPECT_EQ(h.Shown(215, 565), To565(testart::Digit(0)));
}

TEST_F(Menus, AClickOnASidebarButtonIsNotAlsoAMove) {
    h.Deal();
    h.game.screen = ScreenPlaying;
    h.ClickAt(690, 355);  // Options
    EXPECT_EQ(h.game.screen, ScreenOptions);
    EXPECT_EQ(h.audio.Played(), (std::vector<std::string>{"Button.aud"}));
}

TEST_F(Menus, SoundOffButtonsActSilently) {
    h.game.soundOn = false;
    h.ClickAt(680, 430);  // Help
    EXPECT_EQ(h.game.screen, ScreenHelp);
    EXPECT_TRUE(h.audio.Played().empty());
}

TEST_F(Menus, PictureChangedOnOptionsFromAGameMakesBackLeadToThePreview) {
    h.Deal();
    h.ClickAt(690, 355);
    ASSERT_EQ(h.game.screen, ScreenOptions);
    EXPECT_EQ(h.game.returnScreen, ScreenPlaying);
    h.ClickAt(600, 360);  // Bird
    EXPECT_EQ(h.game.pictureIndex, 1);
    EXPECT_EQ(h.game.currentPicture, h.game.pictureFull[1]);
    EXPECT_EQ(h.game.returnScreen, ScreenPreview);
    EXPECT_EQ(h.game.screen, ScreenOptions);
    h.ClickAt(400, 480);
    EXPECT_EQ(h.game.screen, ScreenPreview);
}

TEST_F(Menus, OptionsOpenedFromTheSolvedPageReturnThere) {
    h.game.screen = ScreenSolved;
    h.ClickAt(690, 355);
    ASSERT_EQ(h.game.screen, ScreenOptions);
    h.ClickAt(400, 480);
    EXPECT_EQ(h.game.screen, ScreenSolved);
}

TEST_F(Menus, PictureRegionDeadZonesClearTheClickSilentlyButLightTheCaption) {
    h.game.screen = ScreenOptions;
    for (Point p : {Point{560, 360}, Point{400, 370}, Point{650, 335}, Point{550, 360}, Point{740, 360},
                    Point{490, 360}, Point{580, 360}, Point{670, 360}}) {
        h.ClickAt(p.x, p.y);
        EXPECT_EQ(h.game.pictureIndex, 0) << p.x;
        EXPECT_EQ(h.game.screen, ScreenOptions);
    }
    EXPECT_TRUE(h.audio.Played().empty());
    Hover(400, 370);
    EXPECT_EQ(h.Shown(330, 352), To565(testart::MenuHovered(kPictureMenu)));
}

TEST_F(Menus, ThumbnailHitBoxesAndTheirFrames) {
    h.game.screen = ScreenOptions;
    const std::pair<int, int> picks[] = {{491, 0}, {549, 0}, {581, 1}, {639, 1}, {671, 2}, {739, 2}};
    for (auto [x, want] : picks) {
        h.game.pictureIndex = want == 0 ? 1 : 0;
        h.game.ChoosePicture(h.game.pictureIndex);
        h.ClickAt(x, 360);
        EXPECT_EQ(h.game.pictureIndex, want) << x;
    }
    // Thumbnails' bottom rows lie outside the region: the frame marks the chosen one.
    h.game.ChoosePicture(1);
    Hover(600, 395);
    EXPECT_EQ(h.Shown(577, 337), To565(testart::kBorder));
    EXPECT_EQ(h.Shown(487, 337), To565(testart::kBackgroundOptions));
    // Over a thumbnail, the frame follows the pointer.
    Hover(700, 360);
    EXPECT_EQ(h.Shown(667, 337), To565(testart::kBorder));
    EXPECT_EQ(h.Shown(577, 337), To565(testart::kBackgroundOptions));
}

TEST_F(Menus, ChoosingTheSamePictureOnlyClicks) {
    h.game.screen = ScreenOptions;
    h.game.returnScreen = ScreenPlaying;
    const SurfacePtr tile = h.game.tileImage[0][1];
    h.ClickAt(520, 360);
    EXPECT_EQ(h.audio.Played(), (std::vector<std::string>{"Button.aud"}));
    EXPECT_EQ(h.game.returnScreen, ScreenPlaying);
    EXPECT_EQ(h.game.tileImage[0][1], tile);  // not cut again
}

TEST_F(Menus, MusicOffStopsEverythingAndOnRestartsTheTune) {
    h.game.screen = ScreenOptions;
    const int starts = h.audio.musicStarts;
    h.ClickAt(400, 165);
    EXPECT_FALSE(h.game.musicOn);
    ASSERT_GE(h.audio.calls.size(), 2u);
    // The click sounds, then everything stops, the click included.
    EXPECT_EQ(h.audio.calls[h.audio.calls.size() - 2], "PlayEffect Button.aud");
    EXPECT_EQ(h.audio.calls.back(), "StopAll");
    h.Frame();
    EXPECT_EQ(h.Shown(460 + 30, 155 + 10), To565(testart::kBackgroundOptions));
    EXPECT_EQ(h.Shown(465, 160), To565(testart::kTickOff));
    h.ClickAt(400, 165);
    EXPECT_TRUE(h.game.musicOn);
    EXPECT_EQ(h.audio.musicStarts, starts + 1);
    h.Frame();
    EXPECT_EQ(h.Shown(465, 160), To565(testart::kTickOn));
    // The music box runs to x 484 and covers its tick.
    h.ClickAt(484, 165);
    EXPECT_FALSE(h.game.musicOn);
    h.ClickAt(485, 165);
    EXPECT_FALSE(h.game.musicOn);
}

TEST_F(Menus, TheSoundSwitchClicksWhenTurnedOffAndNotWhenTurnedOn) {
    h.game.screen = ScreenOptions;
    h.ClickAt(400, 270);
    EXPECT_FALSE(h.game.soundOn);
    EXPECT_EQ(h.audio.Played().size(), 1u);
    h.ClickAt(494, 270);
    EXPECT_TRUE(h.game.soundOn);
    EXPECT_EQ(h.audio.Played().size(), 1u);
    Hover(400, 270);
    EXPECT_EQ(h.Shown(340, 255), To565(testart::MenuHovered(kSoundMenu)));
    Hover(400, 165);
    EXPECT_EQ(h.Shown(350, 155), To565(testart::MenuHovered(kMusicMenu)));
}

TEST_F(Menus, AGamePausedForBestTimesOrHelpCanStillBeFinished) {
    for (Point page : {Point{700, 270}, Point{680, 430}}) {
        GameHarness g;
        g.Deal();
        g.SetBoard({1, 3, 2, 0});
        g.ClickAt(page.x, page.y);
        ASSERT_NE(g.game.screen, ScreenPlaying);
        g.ClickAt(400, 480);  // Back
        ASSERT_EQ(g.game.screen, ScreenPlaying);
        EXPECT_EQ(g.game.boardTile[0][1], 3);
        // Two moves bring it home.
        const Point first = g.CellCentre(0, 1);
        g.ClickAt(first.x, first.y);
        EXPECT_EQ(g.game.screen, ScreenPlaying);
        const Point second = g.CellCentre(0, 0);
        g.ClickAt(second.x, second.y);
        EXPECT_EQ(g.game.screen, ScreenSolved);
    }
}

TEST_F(Menus, ThePreviewAndSolvedPagesEndTheBoard) {
    h.Deal();
    h.game.screen = ScreenPreview;
    h.Frame();
    for (auto& row : h.game.boardTile) {
        for (int32_t cell : row) EXPECT_EQ(cell, -1);
    }
}

TEST_F(Menus, NumbersClampAndShowLeadingZeros) {
    Game& g = h.game;
    auto glyphAt = [&](int x) { return g.backSurface->Pixel(x + 5, 5); };
    g.ClearBackBuffer(0);
    g.DrawNumber(7, 0, 0, 2);
    EXPECT_EQ(glyphAt(0), To565(testart::Digit(0)));
    EXPECT_EQ(glyphAt(26), To565(testart::Digit(7)));
    for (int v : {100, 12345, INT32_MAX}) {
        g.ClearBackBuffer(0);
        g.DrawNumber(v, 0, 0, 2);
        EXPECT_EQ(glyphAt(0), To565(testart::Digit(9)));
        EXPECT_EQ(glyphAt(26), To565(testart::Digit(9)));
    }
    g.ClearBackBuffer(0);
    g.DrawNumber(-42, 0, 0, 2);
    EXPECT_EQ(glyphAt(0), To565(testart::Digit(0)));
    EXPECT_EQ(glyphAt(26), To565(testart::Digit(0)));
    g.ClearBackBuffer(0);
    g.DrawNumber(5, 0, 0, 0);
    EXPECT_EQ(glyphAt(0), 0);

    const std::pair<int, std::array<int, 6>> times[] = {
        {0, {0, 0, 0, 0, 0, 0}}, {3725, {0, 1, 0, 2, 0, 5}}, {359999, {9, 9, 5, 9, 5, 9}}, {360000, {9, 9, 0, 0, 0, 0}}};
    for (const auto& [seconds, digits] : times) {
        g.ClearBackBuffer(0);
        g.DrawTime(seconds, 0, 0);
        const int xs[6] = {0, 26, 62, 88, 124, 150};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(glyphAt(xs[i]), To565(testart::Digit(digits[i]))) << seconds;
        EXPECT_EQ(g.backSurface->Pixel(52, 4), To565(testart::kHyphen));
        EXPECT_EQ(g.backSurface->Pixel(114, 4), To565(testart::kHyphen));
        EXPECT_EQ(g.backSurface->Pixel(52, 3), 0);
    }
}

TEST_F(Menus, PointerAnimatesEveryFourthCallAndWraps) {
    Game& g = h.game;
    g.InitPointer(g.pointerSprite, 0, 20, 3, 38, 27);
    std::vector<int> frames;
    for (int i = 0; i < 8; ++i) {
        g.DrawPointer(g.pointerSprite, 0, 0);
        frames.push_back(g.pointerSprite.frame);
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 0, 0, 1, 1, 1, 1, 2}));
    for (int i = 0; i < 80 - 8; ++i) g.DrawPointer(g.pointerSprite, 0, 0);
    // 80 calls from the start: frames 0..19 shown, the next call of frame 0's
    // cycle is under way.
    EXPECT_EQ(g.pointerSprite.frame, 0);
    g.pointerSprite.frame = 19;
    g.pointerSprite.delayCounter = 3;
    g.DrawPointer(g.pointerSprite, 0, 0);
    EXPECT_EQ(g.pointerSprite.frame, 0);
}

TEST_F(Menus, PointerPaceDependsOnTheScreen) {
    const std::pair<Screen, int> paces[] = {{ScreenPreview, 1}, {ScreenSolved, 1}, {ScreenTileView, 1},
                                            {ScreenPlaying, 1}, {ScreenShuffle, 1}, {ScreenHighScores, 2},
                                            {ScreenHelp, 2},    {ScreenOptions, 4}};
    for (auto [screen, calls] : paces) {
        GameHarness g;
        g.game.screen = screen;
        const int before = g.platform.cursorReads;
        g.game.RunFrame();
        // Every pointer draw follows a fresh read of the mouse.
        EXPECT_EQ(g.platform.cursorReads - before, calls) << screen;
        // 4 x calls steps: the frame number tells the pace.
        GameHarness p;
        p.game.screen = screen == ScreenShuffle ? ScreenPlaying : screen;
        for (int i = 0; i < 4; ++i) p.game.RunFrame();
        EXPECT_EQ(p.game.pointerSprite.frame, calls) << screen;
    }
}

TEST_F(Menus, PointerIsCutAtTheScreenEdgeAndDrawnWholeInside) {
    Game& g = h.game;
    g.ClearBackBuffer(0);
    g.pointerSprite.frame = 0;
    g.pointerSprite.delayCounter = 0;
    g.DrawPointer(g.pointerSprite, 790, 590);
    EXPECT_EQ(g.backSurface->Pixel(790, 590) >> 11, 31);  // red: the tip is drawn
    EXPECT_EQ(g.backSurface->Pixel(799, 599) >> 11, 31);
    g.ClearBackBuffer(0);
    g.DrawPointer(g.pointerSprite, 0, 0);
    EXPECT_EQ(g.backSurface->Pixel(0, 0) >> 11, 31);
    EXPECT_EQ(g.backSurface->Pixel(9, 9) >> 11, 31);
    EXPECT_EQ(g.backSurface->Pixel(10, 10), 0);  // keyed part
    g.pointerSprite.hidden = 1;
    g.ClearBackBuffer(0);
    g.DrawPointer(g.pointerSprite, 0, 0);
    EXPECT_EQ(g.backSurface->Pixel(0, 0), 0);
}

TEST_F(Menus, TheHelpAndBestTimesPagesDrawOverTheirOwnBackground) {
    h.game.screen = ScreenHelp;
    h.platform.cursor = {10, 10};
    h.Frame();
    EXPECT_EQ(h.Shown(100, 150), To565(testart::kHelp));
    EXPECT_EQ(h.Shown(500, 150), To565(testart::kBackgroundOptions));  // keyed half of the help image
    EXPECT_EQ(h.Shown(330, 460), To565(testart::MenuNormal(8)));     // Back
    h.game.screen = ScreenHighScores;
    h.Frame();
    EXPECT_EQ(h.Shown(150, 40), To565(testart::kHighScore));
}

}  // namespace
