// Image loading: sizes, thumbnails, tile cuts, and the start-up failure path.
#include <gtest/gtest.h>

#include <ostream>

#include "fakes/GameHarness.h"
#include "platform/Paths.h"

namespace {

using testart::PicturePixel;
using testart::To565;

TEST(Loader, StartUpLoadsEveryImageWithItsSizeAndKey) {
    GameHarness h;
    Game& g = h.game;
    EXPECT_EQ(g.pictureFull[0]->Width(), 500);
    EXPECT_EQ(g.backgroundImage->Width(), 800);
    EXPECT_EQ(g.menuShuffle->Width(), 230);
    EXPECT_EQ(g.menuShuffle->Height(), 47);
    for (const SurfacePtr& thumb : g.pictureThumb) {
        ASSERT_TRUE(thumb);
        EXPECT_EQ(thumb->Width(), 60);
        EXPECT_EQ(thumb->Height(), 60);
    }
    // Keyed: pointer, menus, pages, digits. Not keyed: pictures, backgrounds, border, tiles.
    for (const SurfacePtr* keyed : {&g.mousePtrImage, &g.menuShuffle, &g.menuButton, &g.wonImage, &g.digitImage,
                                    &g.hyphenImage, &g.menuNextLevel, &g.helpPageImage, &g.highScoreImage}) {
        ASSERT_TRUE(*keyed);
        EXPECT_EQ((*keyed)->ColorKey(), std::optional<uint16_t>(0x07E0));
    }
    for (const SurfacePtr* plain : {&g.pictureFull[0], &g.backgroundImage, &g.backgroundOptionsImage,
                                    &g.borderImage, &g.blankTile, &g.tileImage[1][1], &g.pictureThumb[2]}) {
        ASSERT_TRUE(*plain);
        EXPECT_FALSE((*plain)->ColorKey().has_value());
    }
    EXPECT_EQ(g.pictureIndex, 0);
    EXPECT_EQ(g.currentPicture, g.pictureFull[0]);
    EXPECT_EQ(g.tileSize, 250);
    EXPECT_EQ(g.pointerSprite.frameCount, 20);
    EXPECT_EQ(g.pointerSprite.frameDelay, 3);
    EXPECT_EQ(g.pointerSprite.frameWidth, 38);
    EXPECT_EQ(g.pointerSprite.frameHeight, 27);
}

TEST(Loader, TilesMeasureTheCellLessTwoAndHoldTheirSquareOfThePicture) {
    GameHarness h;
    Game& g = h.game;
    const int sizes[] = {248, 164, 123, 98, 81};
    for (int n = 2; n <= 6; ++n) {
        g.gridSize = n;
        g.ChoosePicture(1);
        EXPECT_EQ(g.tileSize, 500 / n);
        EXPECT_EQ(g.blankTile->Width(), sizes[n - 2]);
        EXPECT_EQ(g.tileImage[n - 1][n - 1]->Width(), sizes[n - 2]);
        EXPECT_EQ(g.tileImage[n - 1][n - 1]->Height(), sizes[n - 2]);
    }
    g.gridSize = 2;
    g.ChoosePicture(1);
    const Surface& tile = *g.tileImage[1][0];  // x 0..247, y 250..497
    EXPECT_EQ(tile.Pixel(0, 0), To565(PicturePixel(1, 0, 250)));
    EXPECT_EQ(tile.Pixel(247, 247), To565(PicturePixel(1, 247, 497)));
    EXPECT_EQ(g.tileImage[1][1]->Pixel(3, 5), To565(PicturePixel(1, 253, 255)));
    EXPECT_EQ(g.blankTile->Pixel(10, 10), To565({testart::kHollow.r, testart::kHollow.g,
                                                 static_cast<uint8_t>(testart::kHollow.b + 1)}));
    g.gridSize = 3;
    g.ChoosePicture(2);
    EXPECT_EQ(g.tileImage[2][2]->Pixel(163, 163), To565(PicturePixel(2, 495, 495)));
}

TEST(Loader, ThumbnailsAreSixtySquareWhateverTheFileSize) {
    GameHarness h;
    h.folder.WriteBitmap("Tex/Odd.Tex", 123, 77, [](int x, int) { return Rgb{static_cast<uint8_t>(x), 0, 0}; });
    SurfacePtr thumb = h.game.LoadTexThumb("Tex\\Odd.Tex");
    EXPECT_EQ(thumb->Width(), 60);
    EXPECT_EQ(thumb->Height(), 60);
    // Scaled, not cropped: the right edge holds the file's right edge.
    EXPECT_GT(thumb->Pixel(59, 30) >> 11, 100 >> 3);
}

TEST(Loader, ASmallPictureCutsSafelyWithBlackBeyondItsEdge) {
    GameHarness h;
    h.folder.WriteBitmap("Tex/Tiny.Tex", 100, 100, [](int, int) { return Rgb{255, 255, 255}; });
    h.game.tileSize = 250;
    SurfacePtr tile = h.game.LoadTexTile("Tex\\Tiny.Tex", 0, 0);
    EXPECT_EQ(tile->Width(), 248);
    EXPECT_EQ(tile->Pixel(99, 99), 0xFFFF);
    EXPECT_EQ(tile->Pixel(100, 100), 0);
}

struct FailCase {
    const char* file;     // removed or broken
    const char* message;  // what the box says
    bool broken;          // true: a text file in its place instead of no file
};
void PrintTo(const FailCase& c, std::ostream* os) { *os << c.file << (c.broken ? " broken" : " missing"); }


class LoaderFailure : public ::testing::TestWithParam<FailCase> {};

TEST_P(LoaderFailure, ShowsTheMessageTearsDownAndExitsWithMinusOne) {
    const FailCase c = GetParam();
    GameHarness h(false);
    if (c.broken) {
        h.folder.WriteText(c.file, "this is not a bitmap\n");
    } else {
        h.folder.Remove(c.file);
    }
    try {
        h.game.LoadResources();
        FAIL() << "start-up went on";
    } catch (const ProcessExit& e) {
        EXPECT_EQ(e.status, -1);
        EXPECT_FALSE(e.ranExitHandlers);
    }
    ASSERT_EQ(h.platform.shownMessages.size(), 1u);
    EXPECT_EQ(h.platform.shownMessages[0].text, c.message);
    EXPECT_EQ(h.platform.shownMessages[0].caption, "DirectDraw");
    // The teardown ran: images loaded before are released, the display closed.
    EXPECT_FALSE(h.game.pictureFull[0]);
    EXPECT_FALSE(h.game.menuShuffle);
    EXPECT_FALSE(h.game.backSurface);
    EXPECT_FALSE(h.game.directDraw);
    EXPECT_NE(std::find(h.platform.calls.begin(), h.platform.calls.end(), "CloseDisplay"), h.platform.calls.end());
    // Nothing of the sound was started.
    EXPECT_TRUE(h.audio.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoaderFailure,
    ::testing::Values(FailCase{"Tex/Menu/Exit.Tex", "Can't Load Tex\\Menu\\Exit.Tex! Game is Exiting!!", false},
                      FailCase{"Tex/Tiger.Tex", "Can't Load Tex\\Tiger.Tex! Game is Exiting!!", false},
                      FailCase{"Tex/Background.Tex", "Can't Load Tex\\Background.Tex! Game is Exiting!!", true},
                      FailCase{"Tex/TigerHollow.Tex", "Can't Load Tex\\TigerHollow.Tex! Game is Exiting!!", true},
                      FailCase{"Tex/Hyphen.Tex", "Can't Load Tex\\Hyphen.Tex! Game is Exiting!!", true}));

TEST(Loader, PathsWithBackslashesMapToThisMachine) {
    GameHarness h;
    EXPECT_EQ(HostPath("Tex\\Menu\\Exit.Tex"), h.folder.Path() + "/Tex/Menu/Exit.Tex");
}

TEST(Loader, KeyedImagesWithoutGreenDrawWholeAndUnkeyedGreenDrawsGreen) {
    GameHarness h;
    Game& g = h.game;
    g.ClearBackBuffer(0);
    auto green = std::make_shared<Surface>(4, 4, 0x07E0);
    EXPECT_TRUE(g.DrawImage(0, 0, green, nullptr, BlitMode::Keyed));  // no key on it: drawn
    EXPECT_EQ(g.backSurface->Pixel(1, 1), 0x07E0);
    g.ClearBackBuffer(0);
    green->SetColorKey(0x07E0);
    g.DrawImage(0, 0, green, nullptr, BlitMode::Keyed);
    EXPECT_EQ(g.backSurface->Pixel(1, 1), 0);
}

TEST(Display, ClearBeforeTheDisplayExistsDrawsNothingAndReleaseTwiceIsHarmless) {
    GameHarness h(false);
    EXPECT_EQ(h.game.ClearBackBuffer(0), kErrPointer);
    EXPECT_EQ(h.game.MatchColor(0x00FF00), 0u);
    h.game.InitDirectDraw();
    EXPECT_EQ(h.game.MatchColor(0x00FF00), 0x07E0u);
    EXPECT_EQ(h.game.MatchColor(0xFFFFFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(h.game.ClearBackBuffer(0x1234), kOk);
    EXPECT_EQ(h.game.backSurface->Pixel(799, 599), 0x1234);
    h.game.ReleaseDisplay();
    h.game.ReleaseDisplay();
    EXPECT_EQ(std::count(h.platform.calls.begin(), h.platform.calls.end(), "CloseDisplay"), 1);
}

TEST(Display, FlipSwapsTheBuffersAndPresentsTheFront) {
    GameHarness h;
    Game& g = h.game;
    g.ClearBackBuffer(0x1111);
    Surface* drawn = g.backSurface.get();
    g.Flip();
    EXPECT_EQ(g.primarySurface.get(), drawn);
    ASSERT_FALSE(h.platform.presented.empty());
    EXPECT_EQ(h.platform.LastFrame().Pixel(400, 300), 0x1111);
}

}  // namespace
