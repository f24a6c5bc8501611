// The player's own pictures: preparation, bad files, the picture cycle and
// the paged row of thumbnails on the options page.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fakes/GameHarness.h"
#include "pictures/OwnPictures.h"

namespace {

namespace fs = std::filesystem;
using testart::To565;

// Colours in the middle of their 5-6-5 steps, so that filtering's rounding
// cannot move them to the next step.
constexpr Rgb kOutside{220, 30, 28};
// The centre square's quarters: top left, top right, bottom left, bottom right.
constexpr Rgb kQuarter[4] = {{20, 42, 204}, {0, 255, 0}, {244, 222, 44}, {28, 202, 212}};
constexpr uint16_t kKey = 0x07E0;

struct Sdl {
    struct Free {
        void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
    };
    using Surface = std::unique_ptr<SDL_Surface, Free>;
};

// A w x h image whose centre square holds the four quarters; the rest is kOutside.
Sdl::Surface MakeImage(int w, int h) {
    Sdl::Surface s(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888));
    const int side = std::min(w, h), left = (w - side) / 2, top = (h - side) / 2;
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < w; ++x) {
            const int cx = x - left, cy = y - top;
            Rgb c = kOutside;
            if (cx >= 0 && cx < side && cy >= 0 && cy < side) c = kQuarter[(cy >= side / 2) * 2 + (cx >= side / 2)];
            row[x] = 0xFF000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
        }
    }
    return s;
}

uint16_t Quarter(int k) {
    const uint16_t c = To565(kQuarter[k]);
    return c == kKey ? 0x07C0 : c;
}

struct Shape {
    const char* name;
    int w, h;
};

class Prepare : public ::testing::TestWithParam<Shape> {};

TEST_P(Prepare, KeepsTheCentreSquareAt500AndNeverTheKey) {
    Sdl::Surface image = MakeImage(GetParam().w, GetParam().h);
    const OwnPicture picture = PreparePicture(image.get());
    ASSERT_TRUE(picture.full && picture.thumb);
    const Surface& full = *picture.full;
    ASSERT_EQ(full.Width(), 500);
    ASSERT_EQ(full.Height(), 500);
    EXPECT_EQ(picture.thumb->Width(), 60);
    EXPECT_EQ(picture.thumb->Height(), 60);
    // The quarters meet in the middle, and reach the edges: nothing of the outside.
    const int near[2] = {3, 240}, far[2] = {260, 496};
    for (int k = 0; k < 4; ++k) {
        for (int i = 0; i < 2; ++i) {
            const int x = (k % 2 ? far : near)[i], y = (k / 2 ? far : near)[i];
            EXPECT_EQ(full.Pixel(x, y), Quarter(k)) << "quarter " << k << " at " << x << "," << y;
        }
    }
    EXPECT_EQ(picture.thumb->Pixel(5, 5), Quarter(0));
    EXPECT_EQ(picture.thumb->Pixel(55, 5), Quarter(1));
    for (const Surface* s : {&full, static_cast<const Surface*>(picture.thumb.get())}) {
        int keyed = 0, outside = 0;
        for (int y = 0; y < s->Height(); ++y) {
            for (int x = 0; x < s->Width(); ++x) {
                keyed += s->Pixel(x, y) == kKey;
                outside += s->Pixel(x, y) == To565(kOutside);
            }
        }
        EXPECT_EQ(keyed, 0);
        EXPECT_EQ(outside, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, Prepare,
                         ::testing::Values(Shape{"Tall", 120, 400}, Shape{"Wide", 900, 300}, Shape{"Square", 64, 64},
                                           Shape{"LargePhoto", 2400, 1800}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- files --------------------------------------------------------------

class PicturesFolder : public ::testing::Test {
protected:
    TestFolder folder;
    std::string Dir() const { return folder.File("Pictures"); }
    void Save(const std::string& name, int w, int h, const char* type) {
        fs::create_directories(Dir());
        Sdl::Surface s = MakeImage(w, h);
        const std::string path = Dir() + "/" + name;
        const int saved = std::string(type) == "PNG" ? IMG_SavePNG(s.get(), path.c_str())
                          : std::string(type) == "JPG" ? IMG_SaveJPG(s.get(), path.c_str(), 90)
                                                       : SDL_SaveBMP(s.get(), path.c_str());
        ASSERT_EQ(saved, 0) << IMG_GetError();
    }
};

struct BadFile {
    const char* name;
    const char* file;
    const char* why;
};

class BadFiles : public PicturesFolder, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadFiles, AreSkippedWithOneLineNamingThemAndWhy) {
    const BadFile& bad = GetParam();
    const std::string name = bad.file;
    if (name == "notes.png") {
        fs::create_directories(Dir());
        folder.WriteText("Pictures/notes.png", "these are not pixels\n");
    } else if (name == "cut.jpg") {
        Save(name, 300, 300, "JPG");
        fs::resize_file(Dir() + "/cut.jpg", fs::file_size(Dir() + "/cut.jpg") * 2 / 3);
    } else if (name == "strip.png") {
        Save(name, 20000, 10, "PNG");
    } else if (name == "tiny.bmp") {
        Save(name, 63, 200, "BMP");
    } else if (name == "banner.bmp") {
        Save(name, 401, 100, "BMP");
    }
    // A good picture beside it is still taken.
    Save("zz-good.png", 100, 80, "PNG");
    std::ostringstream log;
    const std::vector<OwnPicture> pictures = LoadOwnPictures(Dir(), log);
    EXPECT_EQ(pictures.size(), 1u);
    const std::string line = "Vesk: picture " + Dir() + "/" + name + " skipped: " + bad.why;
    const std::string text = log.str();
    EXPECT_EQ(text.substr(0, line.size()), line) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
}

INSTANTIATE_TEST_SUITE_P(Files, BadFiles,
                         ::testing::Values(BadFile{"TextNamedPng", "notes.png", "it is not a PNG, JPEG or BMP image"},
                                           BadFile{"TruncatedJpeg", "cut.jpg", "the JPEG file is cut short"},
                                           BadFile{"HugePng", "strip.png", "it is larger than 8192 on a side (20000x10)"},
                                           BadFile{"TooSmall", "tiny.bmp", "it is smaller than 64x64 (63x200)"},
                                           BadFile{"TooLong", "banner.bmp", "it is more than four times as long"}),
                         [](const auto& info) { return std::string(info.param.name); });

Rgb Numbered(int i) { return Rgb{static_cast<uint8_t>(4 + 8 * (i % 32)), static_cast<uint8_t>(2 + 4 * (i / 32)), 100}; }

TEST_F(PicturesFolder, TakesAHundredInFileNameOrderAndNamesTheRest) {
    fs::create_directories(Dir());
    // Written last to first; each a colour of its own.
    for (int i = 149; i >= 0; --i) {
        char name[32];
        std::snprintf(name, sizeof name, "p%03d.bmp", i);
        folder.WriteBitmap(std::string("Pictures/") + name, 64, 64,
                           [i](int, int) { return Numbered(i); });
    }
    folder.WriteText("Pictures/README.txt", "not a picture, and not reported\n");
    std::ostringstream log;
    const std::vector<OwnPicture> pictures = LoadOwnPictures(Dir(), log);
    ASSERT_EQ(pictures.size(), 100u);
    for (int i : {0, 1, 99}) EXPECT_EQ(pictures[i].full->Pixel(250, 250), To565(Numbered(i))) << i;
    std::istringstream lines(log.str());
    std::string line;
    int n = 100;
    while (std::getline(lines, line)) {
        char name[32];
        std::snprintf(name, sizeof name, "p%03d.bmp", n++);
        EXPECT_EQ(line, "Vesk: picture " + Dir() + "/" + name + " skipped: only the first 100 pictures are taken");
    }
    EXPECT_EQ(n, 150);
}

// ---- in the game ----------------------------------------------------------

Rgb OwnColour(int k) { return Rgb{static_cast<uint8_t>(252 - 32 * k), static_cast<uint8_t>(62 + 20 * k), 124}; }

// A game with `count` own pictures, own0.bmp ... each of its own colour
// with a lighter right half.
void StartWithOwnPictures(GameHarness& h, int count) {
    for (int k = count - 1; k >= 0; --k) {
        h.folder.WriteBitmap("Pictures/own" + std::to_string(k) + ".bmp", 300, 200, [k](int x, int) {
            const Rgb c = OwnColour(k);
            return x < 150 ? c : Rgb{c.r, c.g, 250};
        });
    }
    h.game.LoadResources();
    h.WaitForPhotos();
}

class Cycle : public ::testing::TestWithParam<int> {};

TEST_P(Cycle, ShuffleAgainAndNextLevelAt6x6GoThroughEveryPictureThenTiger) {
    GameHarness h(false);
    const int own = GetParam();
    StartWithOwnPictures(h, own);
    ASSERT_EQ(h.game.PictureCount(), 3 + own);
    // The folder is made, with its README, only when it is not there yet.
    EXPECT_EQ(h.folder.Exists("Pictures/README.txt"), own == 0);
    h.game.gridSize = 6;
    std::vector<int> seen;
    for (int i = 0; i < 3 + own; ++i) {
        h.game.screen = ScreenSolved;
        h.game.levelChoice = i % 2 ? 7 : 6;
        h.game.ApplyLevelChoice();
        seen.push_back(h.game.pictureIndex);
        ASSERT_EQ(h.game.currentPicture, h.game.pictureFull[h.game.pictureIndex]);
    }
    std::vector<int> want;
    for (int i = 1; i < 3 + own; ++i) want.push_back(i);
    want.push_back(0);
    EXPECT_EQ(seen, want);
    EXPECT_EQ(h.game.gridSize, 6);
}

INSTANTIATE_TEST_SUITE_P(OwnPictures, Cycle, ::testing::Values(0, 1, 5));

TEST(OwnPictureInPlay, TilesComeFromItsSquaresAndTheBlankIsADarkSlot) {
    GameHarness h(false);
    StartWithOwnPictures(h, 2);
    h.game.gridSize = 3;
    h.game.ChoosePicture(4);
    const Surface& picture = *h.game.pictureFull[4];
    EXPECT_EQ(picture.Pixel(100, 100), To565(OwnColour(1)));  // own1.bmp, in file-name order
    const Surface& tile = *h.game.tileImage[2][1];  // x 166.., y 332..
    ASSERT_EQ(tile.Width(), 164);
    for (Point p : {Point{0, 0}, Point{163, 163}, Point{80, 20}}) {
        EXPECT_EQ(tile.Pixel(p.x, p.y), picture.Pixel(166 + p.x, 332 + p.y));
    }
    ASSERT_EQ(h.game.blankTile->Width(), 164);
    auto luma = [](uint16_t p) { return 0.3 * (p >> 11) * 8 + 0.59 * ((p >> 5) & 63) * 4 + 0.11 * (p & 31) * 8; };
    double slot = 0, shown = 0;
    for (int y = 0; y < 164; ++y) {
        for (int x = 0; x < 164; ++x) {
            slot += luma(h.game.blankTile->Pixel(x, y));
            shown += luma(picture.Pixel(x, y));
        }
    }
    EXPECT_LT(slot, shown * 0.6);
    // Dealt, played and solved like any other picture.
    h.game.gridSize = 2;
    h.game.ChoosePicture(4);
    h.Deal();
    h.SetBoard({1, 3, 2, 0});
    for (Point cell : {h.CellCentre(0, 1), h.CellCentre(0, 0)}) h.ClickAt(cell.x, cell.y);
    EXPECT_EQ(h.game.screen, ScreenSolved);
    h.Frame();
    EXPECT_EQ(h.Shown(60, 400), To565(OwnColour(1)));
}

// ---- the options page's row ---------------------------------------------------

constexpr int kLeftArrowMenu = 14, kRightArrowMenu = 15;
constexpr Point kLeftArrow{370, 425}, kRightArrow{584, 425};
const int kSlotX[3] = {357, 447, 537};

class Row : public ::testing::Test {
protected:
    void SetUp() override {
        StartWithOwnPictures(h, 5);
        h.game.screen = ScreenOptions;
    }
    void Hover(Point p) {
        h.platform.cursor = p;
        h.Frame();
        h.Frame();
    }
    // The thumbnail each slot shows, as indices of pictureThumb.
    std::vector<int> Slots() {
        std::vector<int> shown;
        for (int x : kSlotX) {
            int found = -1;
            for (int k = 0; k < h.game.PictureCount(); ++k) {
                if (h.Shown(x + 10, 350) == h.game.pictureThumb[k]->Pixel(10, 10) &&
                    h.Shown(x + 50, 390) == h.game.pictureThumb[k]->Pixel(50, 50)) {
                    found = k;
                }
            }
            shown.push_back(found);
        }
        return shown;
    }
    GameHarness h{false};
};

TEST_F(Row, ArrowsPageByOnePictureAndTheSlotsChooseWhatTheyShow) {
    Hover({400, 200});
    EXPECT_EQ(Slots(), (std::vector<int>{0, 1, 2}));
    // At the start of the row only the right arrow shows.
    EXPECT_EQ(h.Shown(kLeftArrow.x, kLeftArrow.y), To565(testart::kBackgroundOptions));
    EXPECT_EQ(h.Shown(kRightArrow.x, kRightArrow.y), To565(testart::MenuNormal(kRightArrowMenu)));
    Hover(kRightArrow);
    EXPECT_EQ(h.Shown(kRightArrow.x - 8, kRightArrow.y), To565(testart::MenuHovered(kRightArrowMenu)));
    h.platform.Click();
    h.Frame();
    EXPECT_EQ(h.audio.Played(), (std::vector<std::string>{"Button.aud"}));
    Hover({400, 200});
    EXPECT_EQ(Slots(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(h.Shown(kLeftArrow.x, kLeftArrow.y), To565(testart::MenuNormal(kLeftArrowMenu)));
    // The frame marks Tiger no longer: it is out of the row.
    EXPECT_EQ(h.Shown(354, 337), To565(testart::kBackgroundOptions));

    for (int slot = 0; slot < 3; ++slot) {
        h.ClickAt(kSlotX[slot] + 30, 360);
        EXPECT_EQ(h.game.pictureIndex, 1 + slot);
        EXPECT_EQ(h.game.currentPicture, h.game.pictureFull[1 + slot]);
    }
    EXPECT_EQ(h.game.returnScreen, ScreenPreview);
    Hover({400, 200});
    EXPECT_EQ(h.Shown(kSlotX[2] - 3, 337), To565(testart::kBorder));

    // To the end of the row: the right arrow goes, and a click where it was does nothing.
    for (int i = 0; i < 6; ++i) h.ClickAt(kRightArrow.x, kRightArrow.y);
    EXPECT_EQ(h.audio.Played().size(), 1u + 3u + 4u);
    Hover({400, 200});
    EXPECT_EQ(Slots(), (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(h.Shown(kRightArrow.x, kRightArrow.y), To565(testart::kBackgroundOptions));
    h.ClickAt(kLeftArrow.x, kLeftArrow.y);
    Hover({400, 200});
    EXPECT_EQ(Slots(), (std::vector<int>{4, 5, 6}));
    // Arrow edges are strict, like every other control.
    h.ClickAt(357, kLeftArrow.y);
    h.ClickAt(kLeftArrow.x, 440);
    EXPECT_EQ(h.game.pictureRowFirst, 4);
}

TEST_F(Row, APictureChosenElsewhereIsBroughtIntoTheRow) {
    h.game.ChoosePicture(7);
    EXPECT_EQ(h.game.pictureRowFirst, 5);
    h.game.gridSize = 6;
    h.game.levelChoice = 6;
    h.game.ApplyLevelChoice();  // back to Tiger
    EXPECT_EQ(h.game.pictureRowFirst, 0);
    h.game.screen = ScreenOptions;
    Hover({400, 200});
    EXPECT_EQ(Slots(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(h.Shown(354, 337), To565(testart::kBorder));
}

TEST(RowOfThree, ShowsNoArrows) {
    GameHarness h;
    h.game.screen = ScreenOptions;
    h.ClickAt(kRightArrow.x, kRightArrow.y);
    // (Off the pointer, which is drawn at the click.)
    EXPECT_EQ(h.Shown(kRightArrow.x - 6, kRightArrow.y - 6), To565(testart::kBackgroundOptions));
    EXPECT_EQ(h.Shown(kLeftArrow.x, kLeftArrow.y), To565(testart::kBackgroundOptions));
    EXPECT_EQ(h.game.pictureRowFirst, 0);
    EXPECT_TRUE(h.audio.Played().empty());
}

}  // namespace
