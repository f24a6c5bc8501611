// The sidebar, the options page, the pages over the picture, numbers and
// the pointer, frame by frame through the fakes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "fakes/GameHarness.h"

namespace {

using testart::To565;

constexpr int kShuffleMenu = 0, kHighScoresMenu = 2, kMusicMenu = 5, kSoundMenu = 6, kBackMenu = 8,
              kPictureMenu = 9;

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
        EXPECT_EQ(h.Shown(700, 130), To565(testart::MenuNormal(kShuffleMenu))) << x;
        h.platform.Click();
        h.Frame();
        EXPECT_EQ(h.game.screen, ScreenPreview) << x;
    }
    Hover(636, 120);
    EXPECT_EQ(h.Shown(700, 130), To565(testart::MenuHovered(kShuffleMenu)));
    // High Scores reaches the right edge; x 799 is outside it.
    Hover(799, 270);
    EXPECT_EQ(h.Shown(700, 280), To565(testart::MenuNormal(kHighScoresMenu)));
    Hover(798, 270);
    EXPECT_EQ(h.Shown(700, 280), To565(testart::MenuHovered(kHighScoresMenu)));
    EXPECT_TRUE(h.audio.Played().empty());
}

TEST_F(Menus, KeyedPixelsLeaveWhatLiesBelow) {
    h.Frame();
    // The bottom-right pixel of the Shuffle frame is pure green: the background shows.
    EXPECT_EQ(h.Shown(727, 136), To565(testart::kBackground));
    EXPECT_EQ(h.Shown(726, 136), To565(testart::MenuNormal(kShuffleMenu)));
    // The won banner's see-through half shows the picture.
    h.game.screen = ScreenSolved;
    h.Frame();
    EXPECT_EQ(h.Shown(135, 125), To565(testart::kWon));
    EXPECT_EQ(h.Shown(300, 125), To565(testart::PicturePixel(0, 250, 75)));
}

TEST_F(Menus, SidebarButtonsAreOneColumnWithinTheirHitBoxesAndTheGridSizeShows) {
    struct Button {
        int menu;
        Rect hitBox;
    };
    const Button buttons[] = {{kShuffleMenu, {635, 100, 750, 147}}, {1, {629, 175, 742, 222}},
                              {kHighScoresMenu, {610, 250, 799, 294}}, {3, {630, 340, 755, 372}},
                              {10, {640, 412, 728, 445}}, {13, {630, 495, 753, 522}}};
    h.Deal();
    h.Frame();
    std::vector<Rect> drawn;
    for (const Button& b : buttons) {
        Rect r{800, 600, 0, 0};
        for (int y = 100; y < 600; ++y) {  // below the thumbnail
            for (int x = 600; x < 800; ++x) {
                if (h.Shown(x, y) != To565(testart::MenuNormal(b.menu))) continue;
                r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
            }
        }
        EXPECT_TRUE(b.hitBox.left <= r.left && r.right <= b.hitBox.right && b.hitBox.top <= r.top &&
                    r.bottom <= b.hitBox.bottom)
            << b.menu;
        drawn.push_back(r);
    }
    for (const Rect& r : drawn) {
        EXPECT_EQ(r.left, drawn[0].left);
        EXPECT_EQ(r.right, drawn[0].right);
        EXPECT_EQ(r.bottom - r.top, drawn[0].bottom - drawn[0].top);
    }
    for (int n = 2; n <= 6; ++n) {
        h.game.gridSize = n;
        h.game.ChoosePicture(0);
        h.Deal();
        EXPECT_EQ(h.Shown(20, 570), To565(testart::GridSizeRow(n))) << n;
    }
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
    h.ClickAt(467, 360);  // Bird
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
    for (Point p : {Point{427, 360}, Point{267, 370}, Point{517, 335}, Point{417, 360}, Point{607, 360},
                    Point{357, 360}, Point{447, 360}, Point{537, 360}}) {
        h.ClickAt(p.x, p.y);
        EXPECT_EQ(h.game.pictureIndex, 0) << p.x;
        EXPECT_EQ(h.game.screen, ScreenOptions);
    }
    EXPECT_TRUE(h.audio.Played().empty());
    Hover(267, 370);
    EXPECT_EQ(h.Shown(197, 352), To565(testart::MenuHovered(kPictureMenu)));
}

TEST_F(Menus, ThumbnailHitBoxesAndTheirFrames) {
    h.game.screen = ScreenOptions;
    const std::pair<int, int> picks[] = {{358, 0}, {416, 0}, {448, 1}, {506, 1}, {538, 2}, {606, 2}};
    for (auto [x, want] : picks) {
        h.game.pictureIndex = want == 0 ? 1 : 0;
        h.game.ChoosePicture(h.game.pictureIndex);
        h.ClickAt(x, 360);
        EXPECT_EQ(h.game.pictureIndex, want) << x;
    }
    // Thumbnails' bottom rows lie outside the region: the frame marks the chosen one.
    h.game.ChoosePicture(1);
    Hover(467, 395);
    EXPECT_EQ(h.Shown(444, 337), To565(testart::kBorder));
    EXPECT_EQ(h.Shown(354, 337), To565(testart::kBackgroundOptions));
    // Over a thumbnail, the frame follows the pointer; the chosen one keeps its tick.
    Hover(567, 360);
    EXPECT_EQ(h.Shown(534, 337), To565(testart::kBorder));
    EXPECT_EQ(h.Shown(444, 337), To565(testart::kBackgroundOptions));
    EXPECT_EQ(h.Shown(497, 330), To565(testart::kTickOn));
    EXPECT_EQ(h.Shown(587, 330), To565(testart::kBackgroundOptions));
}

TEST_F(Menus, TheOptionsGroupIsCentredOverBack) {
    h.game.screen = ScreenOptions;
    h.game.ChoosePicture(2);  // the last slot: its tick is the group's right end
    Hover(790, 590);
    int left = 800, right = 0;
    for (int y = 140; y < 445; ++y) {  // the switches and the row, above Back
        for (int x = 0; x < 800; ++x) {
            if (h.Shown(x, y) == To565(testart::kBackgroundOptions)) continue;
            left = std::min(left, x);
            right = std::max(right, x + 1);
        }
    }
    EXPECT_LE(std::abs(left + right - 800), 2) << left << ".." << right;
    // Back, below, is centred too.
    EXPECT_EQ(h.Shown(326, 484), To565(testart::MenuNormal(kBackMenu)));
    EXPECT_EQ(h.Shown(473, 484), To565(testart::MenuNormal(kBackMenu)));
}

TEST_F(Menus, ChoosingTheSamePictureOnlyClicks) {
    h.game.screen = ScreenOptions;
    h.game.returnScreen = ScreenPlaying;
    const SurfacePtr tile = h.game.tileImage[0][1];
    h.ClickAt(387, 360);
    EXPECT_EQ(h.audio.Played(), (std::vector<std::string>{"Button.aud"}));
    EXPECT_EQ(h.game.returnScreen, ScreenPlaying);
    EXPECT_EQ(h.game.tileImage[0][1], tile);  // not cut again
}

TEST_F(Menus, MusicOffStopsEverythingAndOnRestartsTheTune) {
    h.game.screen = ScreenOptions;
    const int starts = h.audio.musicStarts;
    h.ClickAt(267, 165);
    EXPECT_FALSE(h.game.musicOn);
    ASSERT_GE(h.audio.calls.size(), 2u);
    // The click sounds, then everything stops, the click included.
    EXPECT_EQ(h.audio.calls[h.audio.calls.size() - 2], "PlayEffect Button.aud");
    EXPECT_EQ(h.audio.calls.back(), "StopAll");
    h.Frame();
    EXPECT_EQ(h.Shown(327 + 30, 155 + 10), To565(testart::kBackgroundOptions));
    EXPECT_EQ(h.Shown(332, 160), To565(testart::kTickOff));
    h.ClickAt(267, 165);
    EXPECT_TRUE(h.game.musicOn);
    EXPECT_EQ(h.audio.musicStarts, starts + 1);
    h.Frame();
    EXPECT_EQ(h.Shown(332, 160), To565(testart::kTickOn));
    // The music box runs to x 351 and covers its tick.
    h.ClickAt(351, 165);
    EXPECT_FALSE(h.game.musicOn);
    h.ClickAt(352, 165);
    EXPECT_FALSE(h.game.musicOn);
}

TEST_F(Menus, TheSoundSwitchClicksWhenTurnedOffAndNotWhenTurnedOn) {
    h.game.screen = ScreenOptions;
    h.ClickAt(267, 270);
    EXPECT_FALSE(h.game.soundOn);
    EXPECT_EQ(h.audio.Played().size(), 1u);
    h.ClickAt(361, 270);
    EXPECT_TRUE(h.game.soundOn);
    EXPECT_EQ(h.audio.Played().size(), 1u);
    Hover(267, 270);
    EXPECT_EQ(h.Shown(207, 255), To565(testart::MenuHovered(kSoundMenu)));
    Hover(267, 165);
    EXPECT_EQ(h.Shown(217, 155), To565(testart::MenuHovered(kMusicMenu)));
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

TEST_F(Menus, ThePointerIsNotDrawnWhileThePlayersPointerIsOffTheWindow) {
    const auto red = [&](int x, int y) { return h.Shown(x, y) >> 11 == 31; };
    for (Screen screen : {ScreenPreview, ScreenOptions, ScreenHelp}) {
        h.game.screen = screen;
        h.platform.cursor = {400, 300};
        h.Frame();
        ASSERT_TRUE(red(400, 300)) << screen;
        h.platform.pointerInWindow = false;
        h.Frame();
        EXPECT_FALSE(red(400, 300)) << screen;  // the last frame's pointer is gone too
        h.platform.pointerInWindow = true;
        h.Frame();
        EXPECT_TRUE(red(400, 300)) << screen;
    }
}

TEST_F(Menus, TheHelpAndBestTimesPagesDrawOverTheirOwnBackground) {
    h.game.screen = ScreenHelp;
    h.platform.cursor = {10, 10};
    h.Frame();
    EXPECT_EQ(h.Shown(100, 150), To565(testart::kHelp));
    EXPECT_EQ(h.Shown(500, 150), To565(testart::kBackgroundOptions));  // keyed half of the help image
    EXPECT_EQ(h.Shown(330, 460), To565(testart::MenuNormal(kBackMenu)));     // Back
    h.game.screen = ScreenHighScores;
    h.Frame();
    EXPECT_EQ(h.Shown(150, 40), To565(testart::kHighScore));
}

}  // namespace
