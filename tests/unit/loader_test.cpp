// Image loading: sizes, thumbnails, tile cuts, and the start-up failure path.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <ostream>
#include <string>

#include "fakes/GameHarness.h"
#include "gfx/BitmapCheck.h"
#include "pictures/ImagesAhead.h"
#include "platform/Paths.h"

namespace {

using testart::PicturePixel;
using testart::To565;

TEST(Loader, StartUpLoadsEveryImageWithItsSizeAndKey) {
    GameHarness h;
    Game& g = h.game;
    EXPECT_EQ(g.pictureFull[0]->Width(), 500);
    EXPECT_EQ(g.backgroundImage->Width(), 800);
    EXPECT_EQ(g.menuShuffle->Width(), 176);
    EXPECT_EQ(g.menuShuffle->Height(), 27);
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

// A bitmap file of any of the kinds below, bottom row first unless topDown.
struct BitmapKind {
    const char* what;
    int bits;         // 24 or 32
    bool topDown;
    uint32_t header;  // 40, or 108 for the later header (masks and all)
};
void PrintTo(const BitmapKind& k, std::ostream* os) { *os << k.what; }

std::string EncodeBitmap(const BitmapKind& kind, int w, int h, Rgb (*pixel)(int, int)) {
    const size_t rowBytes = (static_cast<size_t>(w) * kind.bits / 8 + 3) / 4 * 4;
    const size_t at = 14 + kind.header;
    std::string file(at + rowBytes * h, '\0');
    const auto put = [&file](size_t to, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) file[to + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, static_cast<uint32_t>(file.size()), 4);
    put(10, static_cast<uint32_t>(at), 4);
    put(14, kind.header, 4);
    put(18, static_cast<uint32_t>(w), 4);
    put(22, static_cast<uint32_t>(kind.topDown ? -h : h), 4);
    put(26, 1, 2);
    put(28, static_cast<uint32_t>(kind.bits), 2);
    if (kind.header >= 108) {
        put(54, 0x00FF0000, 4);  // the usual masks, and sRGB
        put(58, 0x0000FF00, 4);
        put(62, 0x000000FF, 4);
        put(70, 0x73524742, 4);
    }
    for (int y = 0; y < h; ++y) {
        const size_t row = at + rowBytes * static_cast<size_t>(kind.topDown ? y : h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const Rgb p = pixel(x, y);
            const size_t to = row + static_cast<size_t>(x) * kind.bits / 8;
            file[to] = static_cast<char>(p.b);
            file[to + 1] = static_cast<char>(p.g);
            file[to + 2] = static_cast<char>(p.r);
            if (kind.bits == 32) file[to + 3] = static_cast<char>(0xFF);
        }
    }
    return file;
}

Rgb Mottled(int x, int y) {
    return {static_cast<uint8_t>(x * 7 + y), static_cast<uint8_t>(x * y), static_cast<uint8_t>(255 - y * 3)};
}

class BitmapKinds : public ::testing::TestWithParam<BitmapKind> {};

// The common kind is read by the game itself, the others by SDL: every kind
// gives the same image, tile and thumbnail (the 32-bit file's, read by SDL,
// is the one to match).
TEST_P(BitmapKinds, ReadAlikeWholeAsATileAndAsAThumbnail) {
    GameHarness h;
    constexpr int w = 123;  // rows padded
    constexpr int ht = 77;
    h.folder.WriteText("Tex/Kind.Tex", EncodeBitmap(GetParam(), w, ht, Mottled));
    h.folder.WriteText("Tex/Sdl.Tex", EncodeBitmap({"32 bits", 32, false, 40}, w, ht, Mottled));
    const SurfacePtr whole = h.game.LoadTex("Tex\\Kind.Tex");
    ASSERT_EQ(whole->Width(), w);
    ASSERT_EQ(whole->Height(), ht);
    for (int y = 0; y < ht; ++y) {
        for (int x = 0; x < w; ++x) ASSERT_EQ(whole->Pixel(x, y), To565(Mottled(x, y))) << x << "," << y;
    }
    // A tile over the bitmap's right and bottom edges: black beyond them.
    h.game.tileSize = 50;
    const SurfacePtr tile = h.game.LoadTexTile("Tex\\Kind.Tex", 1, 2);
    ASSERT_EQ(tile->Width(), 48);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            const bool inside = 100 + x < w && 50 + y < ht;
            ASSERT_EQ(tile->Pixel(x, y), inside ? To565(Mottled(100 + x, 50 + y)) : 0) << x << "," << y;
        }
    }
    const SurfacePtr thumb = h.game.LoadTexThumb("Tex\\Kind.Tex");
    const SurfacePtr expected = h.game.LoadTexThumb("Tex\\Sdl.Tex");
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x) ASSERT_EQ(thumb->Pixel(x, y), expected->Pixel(x, y)) << x << "," << y;
    }
    h.game.RequireTexSize("Tex\\Kind.Tex", 77);
    EXPECT_TRUE(h.platform.shownMessages.empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, BitmapKinds,
                         ::testing::Values(BitmapKind{"24 bits", 24, false, 40},
                                           BitmapKind{"24 bits from the top down", 24, true, 40},
                                           BitmapKind{"24 bits, later header", 24, false, 108},
                                           BitmapKind{"32 bits", 32, false, 40}));

TEST(Loader, ImagesReadAheadAreTakenOnceAndOnlyWhenReadWhole) {
    GameHarness h(false);
    h.folder.WriteText("Tex/Text.Tex", "this is not a bitmap\n");
    h.folder.WriteText("Tex/Wide.Tex", EncodeBitmap({"32 bits", 32, false, 40}, 9, 4, Mottled));
    ImagesAhead ahead;
    std::vector<ImagesAhead::File> files;
    for (const char* name : {"Tex\\Tiger.Tex", "Tex\\Gone.Tex", "Tex\\Text.Tex", "Tex\\Wide.Tex", "Tex\\Bird.Tex"}) {
        files.push_back({name, HostPath(name)});
    }
    files.push_back({"Tex\\Flower.Tex", HostPath("Tex\\Flower.Tex"), true});
    ahead.Start(files);
    // Taken out of order: the reader's own order is waited for.
    const SurfacePtr bird = ahead.Take("Tex\\Bird.Tex");
    ASSERT_TRUE(bird);
    EXPECT_EQ(bird->Pixel(253, 255), To565(PicturePixel(1, 253, 255)));
    const SurfacePtr tiger = ahead.Take("Tex\\Tiger.Tex");
    ASSERT_TRUE(tiger);
    EXPECT_EQ(tiger->Width(), 500);
    EXPECT_EQ(tiger->Pixel(499, 0), To565(PicturePixel(0, 499, 0)));
    EXPECT_FALSE(ahead.Take("Tex\\Tiger.Tex"));  // taken already
    EXPECT_FALSE(ahead.Take("Tex\\Gone.Tex"));   // missing: read in its turn, and reported then
    EXPECT_FALSE(ahead.Take("Tex\\Text.Tex"));
    EXPECT_FALSE(ahead.Take("Tex\\Wide.Tex"));   // another kind: SDL's reader reads it
    EXPECT_FALSE(ahead.Take("Tex\\Flower.Tex")); // asked for wide only
    EXPECT_TRUE(ahead.TakeWide("Tex\\Bird.Tex").pixels.empty());
    const ImagesAhead::Wide flower = ahead.TakeWide("Tex\\Flower.Tex");
    ASSERT_EQ(flower.width, 500);
    ASSERT_EQ(flower.pixels.size(), 500u * 500u);
    const Rgb p = PicturePixel(2, 7, 480);
    EXPECT_EQ(flower.pixels[480 * 500 + 7], 0xFF000000u | p.r << 16 | p.g << 8 | p.b);
    EXPECT_TRUE(ahead.TakeWide("Tex\\Flower.Tex").pixels.empty());
    // Stopped early, with files still to read: nothing is left running.
    ahead.Start(files);
    ahead.Stop();
    EXPECT_FALSE(ahead.Take("Tex\\Bird.Tex"));
}

enum class Damage {
    Missing,
    Text,       // a text file in its place
    Small,      // a good bitmap one pixel narrower than `side`
    HugeHeader, // 70 bytes whose header declares 30000 x 30000 pixels
};
struct FailCase {
    const char* file;     // removed or broken
    const char* message;  // what the box says
    Damage damage;
    int side = 0;         // Small: the least width and height the game takes
};
void PrintTo(const FailCase& c, std::ostream* os) {
    const char* how[] = {" missing", " broken", " too small", " with a huge header"};
    *os << c.file << how[static_cast<int>(c.damage)];
}

// The start of a 24-bit bitmap file declaring w x h pixels, cut after `bytes`.
std::string BitmapHead(int32_t w, int32_t h, size_t bytes) {
    std::string head(bytes, '\0');
    const auto put = [&head](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n && at + i < head.size(); ++i) head[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    head[0] = 'B';
    head[1] = 'M';
    const int64_t high = h < 0 ? -static_cast<int64_t>(h) : h;
    const uint64_t rows = (static_cast<uint64_t>(w) * 3 + 3) / 4 * 4 * static_cast<uint64_t>(high);
    put(2, static_cast<uint32_t>(54 + rows), 4);  // the size the file claims, not the one it has
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(w), 4);
    put(22, static_cast<uint32_t>(h), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    return head;
}

class LoaderFailure : public ::testing::TestWithParam<FailCase> {};

TEST_P(LoaderFailure, ShowsTheMessageTearsDownAndExitsWithMinusOne) {
    const FailCase c = GetParam();
    GameHarness h(false);
    switch (c.damage) {
        case Damage::Missing: h.folder.Remove(c.file); break;
        case Damage::Text: h.folder.WriteText(c.file, "this is not a bitmap\n"); break;
        case Damage::Small:
            h.folder.WriteBitmap(c.file, c.side - 1, c.side, [](int, int) { return Rgb{1, 2, 3}; });
            break;
        case Damage::HugeHeader: h.folder.WriteText(c.file, BitmapHead(30000, 30000, 70)); break;
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
    ::testing::Values(
        FailCase{"Tex/Menu/Exit.Tex", "Can't Load Tex\\Menu\\Exit.Tex! Game is Exiting!!", Damage::Missing},
        FailCase{"Tex/Tiger.Tex", "Can't Load Tex\\Tiger.Tex! Game is Exiting!!", Damage::Missing},
        FailCase{"Tex/Background.Tex", "Can't Load Tex\\Background.Tex! Game is Exiting!!", Damage::Text},
        FailCase{"Tex/TigerHollow.Tex", "Can't Load Tex\\TigerHollow.Tex! Game is Exiting!!", Damage::Text},
        FailCase{"Tex/Hyphen.Tex", "Can't Load Tex\\Hyphen.Tex! Game is Exiting!!", Damage::Text},
        // Found at start-up, not when the player reaches that picture.
        FailCase{"Tex/BirdHollow.Tex", "Can't Load Tex\\BirdHollow.Tex! Game is Exiting!!", Damage::Text},
        FailCase{"Tex/FlowerHollow.Tex", "Can't Load Tex\\FlowerHollow.Tex! Game is Exiting!!", Damage::Small, 248},
        FailCase{"Tex/Flower.Tex", "Can't Load Tex\\Flower.Tex! Game is Exiting!!", Damage::Small, 500},
        FailCase{"Tex/Bird.Tex", "Can't Load Tex\\Bird.Tex! Game is Exiting!!", Damage::HugeHeader},
        FailCase{"Tex/Menu/Help.Tex", "Can't Load Tex\\Menu\\Help.Tex! Game is Exiting!!", Damage::HugeHeader}));

TEST(Loader, BlankTileFilesJustLargeEnoughForTheLargestCutAreTaken) {
    GameHarness h(false);
    for (const char* name : {"Tex/TigerHollow.Tex", "Tex/BirdHollow.Tex", "Tex/FlowerHollow.Tex"}) {
        h.folder.WriteBitmap(name, 248, 248, [](int, int) { return testart::kHollow; });
    }
    EXPECT_EQ(h.game.LoadResources(), 0);
    EXPECT_TRUE(h.platform.shownMessages.empty());
}

struct HeaderCase {
    const char* what;
    std::string head;    // the headers
    uint64_t fileBytes;  // the file's actual size
    bool fits;
};
void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.what; }

class BitmapHeader : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(BitmapHeader, IsTakenOnlyWhenItsPixelsAreInTheFileAndOfASaneSize) {
    const HeaderCase& c = GetParam();
    EXPECT_EQ(BitmapHeaderFits(reinterpret_cast<const uint8_t*>(c.head.data()), c.head.size(), c.fileBytes), c.fits);
}

std::string WithByte(std::string head, size_t at, char value) {
    head[at] = value;
    return head;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, BitmapHeader,
    ::testing::Values(HeaderCase{"whole", BitmapHead(801, 600, 54), 54 + 2404 * 600, true},
                      HeaderCase{"one byte short", BitmapHead(801, 600, 54), 54 + 2404 * 600 - 1, false},
                      HeaderCase{"rows from the top down", BitmapHead(801, -600, 54), 54 + 2404 * 600, true},
                      HeaderCase{"4096 a side", BitmapHead(4096, 4096, 54), 54 + 4096 * 3 * 4096, true},
                      HeaderCase{"4097 wide", BitmapHead(4097, 1, 54), 54 + 4097 * 3 + 1, false},
                      HeaderCase{"30000 square in 70 bytes", BitmapHead(30000, 30000, 54), 70, false},
                      HeaderCase{"-2^31 high", BitmapHead(10, INT32_MIN, 54), 1ull << 40, false},
                      HeaderCase{"headers cut short", BitmapHead(8, 8, 40), 54 + 24 * 8, false},
                      HeaderCase{"pixels inside the headers", WithByte(BitmapHead(8, 8, 54), 10, 20), 54 + 24 * 8, false},
                      HeaderCase{"7 bits a pixel", WithByte(BitmapHead(8, 8, 54), 28, 7), 54 + 24 * 8, false},
                      HeaderCase{"run-length coded", WithByte(WithByte(BitmapHead(8, 8, 54), 28, 8), 30, 1), 1000, false}));
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

TEST(Display, FlipPutsTheDrawingOnTheFrontAndPresentsIt) {
    GameHarness h;
    Game& g = h.game;
    g.ClearBackBuffer(0x1111);
    g.Flip();
    EXPECT_EQ(g.primarySurface->Pixel(400, 300), 0x1111);
    ASSERT_FALSE(h.platform.presented.empty());
    EXPECT_EQ(h.platform.LastFrame().Pixel(400, 300), 0x1111);
}

}  // namespace
