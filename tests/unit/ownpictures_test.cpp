// The player's own pictures: preparation, bad files, the picture cycle, the
// paged row of thumbnails on the options page, and the reading of one file
// (files that lie, EXIF orientations, stopping).
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <webp/encode.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include "fakes/GameHarness.h"
#include "fakes/PictureFiles.h"
#include "pictures/OwnPictures.h"
#include "pictures/PhotoRead.h"

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

struct Format {
    const char* name;
    const char* type;  // PNG, JPG, BMP, WEBP (lossless), WEBP-LOSSY
    int w, h;
    int tolerance;  // in 8-bit steps, for lossy formats
};

class Formats : public PicturesFolder, public ::testing::WithParamInterface<Format> {};

TEST_P(Formats, AreReadToTheirCentreSquare) {
    const Format& f = GetParam();
    const std::string type = f.type;
    std::string name = "picture." + std::string(type.rfind("WEBP", 0) == 0 ? "webp"
                                                : type == "JPG"            ? "jpg"
                                                : type == "PNG"            ? "png"
                                                                           : "bmp");
    if (type.rfind("WEBP", 0) == 0) {
        fs::create_directories(Dir());
        Sdl::Surface s = MakeImage(f.w, f.h);
        uint8_t* out = nullptr;
        const auto* argb = static_cast<const uint8_t*>(s->pixels);
        const size_t size = type == "WEBP" ? WebPEncodeLosslessBGRA(argb, f.w, f.h, s->pitch, &out)
                                           : WebPEncodeBGRA(argb, f.w, f.h, s->pitch, 90, &out);
        ASSERT_GT(size, 0u);
        ASSERT_TRUE(pictures::WriteBytes(Dir() + "/" + name, pictures::Bytes(out, out + size)));
        WebPFree(out);
    } else {
        Save(name, f.w, f.h, f.type);
    }
    // Taken from the folder by its name, and read.
    std::ostringstream log;
    EXPECT_EQ(LoadOwnPictures(Dir(), log).size(), 1u) << log.str();
    std::string why;
    const std::optional<OwnPicture> picture = ReadOwnPicture(Dir() + "/" + name, why);
    ASSERT_TRUE(picture) << why;
    const auto near = [&f](uint16_t p, Rgb c) {
        const int r = (p >> 11) << 3, g = ((p >> 5) & 63) << 2, b = (p & 31) << 3;
        return std::abs(r - c.r) <= f.tolerance + 8 && std::abs(g - c.g) <= f.tolerance + 8 &&
               std::abs(b - c.b) <= f.tolerance + 8;
    };
    // Each quarter from the square's edge to near its middle: nothing of the outside.
    for (int k = 0; k < 4; ++k) {
        for (const int edge : {0, 1}) {
            const int x = k % 2 ? (edge ? 494 : 375) : (edge ? 5 : 125),
                      y = k / 2 ? (edge ? 494 : 375) : (edge ? 5 : 125);
            EXPECT_TRUE(near(picture->full->Pixel(x, y), kQuarter[k])) << "quarter " << k << " at " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, Formats,
                         ::testing::Values(Format{"WidePng", "PNG", 2400, 1800, 0},
                                           Format{"TallJpeg", "JPG", 1200, 2600, 24},
                                           Format{"LargeJpeg", "JPG", 4000, 3000, 24},
                                           Format{"WideBmp", "BMP", 1500, 1100, 0},
                                           Format{"LosslessWebp", "WEBP", 2100, 1300, 0},
                                           Format{"TallLossyWebp", "WEBP-LOSSY", 700, 1900, 24}),
                         [](const auto& info) { return std::string(info.param.name); });

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

INSTANTIATE_TEST_SUITE_P(
    Files, BadFiles,
    ::testing::Values(BadFile{"TextNamedPng", "notes.png", "it is not a PNG, JPEG, WebP or BMP image"},
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

// ---- reading one file ------------------------------------------------------

namespace lying {

using pictures::Bytes;

// The quarter each pixel of a w x h image is in, as kQuarter colours.
pictures::PixelAt Quarters(int w, int h) {
    return [w, h](int x, int y) {
        const Rgb c = kQuarter[(y >= h / 2) * 2 + (x >= w / 2)];
        return c;
    };
}

// The real 8192 x 8192 PNG, made once for every test that reads it.
const std::string& LargePng() {
    static TestFolder folder;
    static const std::string path = [] {
        const std::string file = folder.File("large.png");
        EXPECT_TRUE(pictures::WritePng(file, 8192, 8192, Quarters(8192, 8192)));
        return file;
    }();
    return path;
}

bool Write(const std::string& path, const Bytes& bytes) { return pictures::WriteBytes(path, bytes); }

struct LyingFile {
    const char* name;
    const char* file;
    bool (*make)(const std::string& path);
    const char* why;  // empty: it is read
};

// What one read may cost above the memory it starts with.
constexpr double kBoundMb = 100;

class LyingFiles : public PicturesFolder, public ::testing::WithParamInterface<LyingFile> {};

TEST_P(LyingFiles, AreRefusedWithTheirReasonWithinTheMemoryBound) {
    const LyingFile& lie = GetParam();
    fs::create_directories(Dir());
    const std::string path = Dir() + "/" + lie.file;
    ASSERT_TRUE(lie.make(path));
    const pictures::ReadCost cost = pictures::MeasureRead(path);
    const std::string why = lie.why;
    if (why.empty()) {
        EXPECT_TRUE(cost.read) << cost.why;
    } else {
        EXPECT_FALSE(cost.read);
        EXPECT_EQ(cost.why.substr(0, why.size()), why) << cost.why;
    }
    EXPECT_LT(cost.peakMb, kBoundMb) << cost.ms << " ms";
    // The header alone says the same.
    std::string probed;
    EXPECT_EQ(ProbeOwnPicture(path, probed),
              why.empty() || why == "it has more than 500 scans" || why.rfind("it cannot be decoded", 0) == 0)
        << probed;
}

INSTANTIATE_TEST_SUITE_P(
    Files, LyingFiles,
    ::testing::Values(
        LyingFile{"CutCoreHeaderBmp", "core.bmp",
                  [](const std::string& p) { return Write(p, pictures::CutCoreHeaderBmp()); },
                  "the BMP header is cut short"},
        LyingFile{"RowlessBmp", "rowless.bmp", [](const std::string& p) { return Write(p, pictures::RowlessBmp()); },
                  "the BMP file cannot hold the 8192x8192 pixels it declares"},
        LyingFile{"OneRowPng", "onerow.png", [](const std::string& p) { return Write(p, pictures::OneRowPng()); },
                  "it cannot be decoded"},
        LyingFile{"PatchedFrameJpeg", "patched.jpg",
                  [](const std::string& p) { return Write(p, pictures::PatchedFrameJpeg()); },
                  "it is larger than 8192 on a side (65500x65500)"},
        LyingFile{"ManyScansJpeg", "scans.jpg",
                  [](const std::string& p) { return Write(p, pictures::ManyScansJpeg(4096, 10000)); },
                  "it has more than 500 scans"},
        LyingFile{"Large8192Png", "large.png", [](const std::string& p) { return fs::copy_file(LargePng(), p); }, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Where the stored image's first row and first column lie in the picture as
// shown, for each orientation: top, bottom, left or right.
constexpr char kFirstRow[] = "-TTBBLRRL";
constexpr char kFirstColumn[] = "-LRRLTTBB";

class Orientation : public PicturesFolder, public ::testing::WithParamInterface<int> {};

TEST_P(Orientation, APhotoComesOutUpright) {
    const int o = GetParam(), n = 128;
    // The stored pixel (sx, sy) is shown at the place its row and column give.
    const pictures::PixelAt upright = Quarters(n, n);
    const pictures::PixelAt stored = [&](int sx, int sy) {
        int x = 0, y = 0;
        const auto place = [n, &x, &y](char side, int along) {
            if (side == 'T') y = along;
            if (side == 'B') y = n - 1 - along;
            if (side == 'L') x = along;
            if (side == 'R') x = n - 1 - along;
        };
        place(kFirstRow[o], sy);
        place(kFirstColumn[o], sx);
        return upright(x, y);
    };
    fs::create_directories(Dir());
    const std::string path = Dir() + "/turned.jpg";
    ASSERT_TRUE(pictures::WriteBytes(path, pictures::EncodeJpeg(n, n, stored, {.orientation = o})));
    std::string why;
    const std::optional<OwnPicture> picture = ReadOwnPicture(path, why);
    ASSERT_TRUE(picture) << why;
    const auto near = [](uint16_t p, Rgb c) {
        const int r = (p >> 11) << 3, g = ((p >> 5) & 63) << 2, b = (p & 31) << 3;
        return std::abs(r - c.r) < 24 && std::abs(g - c.g) < 24 && std::abs(b - c.b) < 24;
    };
    for (int k = 0; k < 4; ++k) {
        const int x = k % 2 ? 375 : 125, y = k / 2 ? 375 : 125;
        EXPECT_TRUE(near(picture->full->Pixel(x, y), kQuarter[k])) << "quarter " << k << " of orientation " << o;
    }
}

INSTANTIATE_TEST_SUITE_P(Exif, Orientation, ::testing::Range(1, 9));

TEST(PhotoRead, AStopDuringTheDecodeEndsTheReadPromptly) {
    const std::string& path = LargePng();
    auto begin = std::chrono::steady_clock::now();
    std::string why;
    const std::optional<OwnPicture> whole = ReadOwnPicture(path, why);
    const auto wholeTime = std::chrono::steady_clock::now() - begin;
    ASSERT_TRUE(whole) << why;
    for (int k = 0; k < 4; ++k) EXPECT_EQ(whole->full->Pixel(k % 2 ? 375 : 125, k / 2 ? 375 : 125), Quarter(k));

    std::atomic<bool> stop{false}, started{false};
    std::string stoppedWhy;
    auto stopped = std::async(std::launch::async, [&] {
        started = true;
        const auto from = std::chrono::steady_clock::now();
        const bool read = ReadOwnPicture(path, stoppedWhy, &stop).has_value();
        return std::make_pair(read, std::chrono::steady_clock::now() - from);
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!started && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    stop = true;
    ASSERT_EQ(stopped.wait_for(wholeTime), std::future_status::ready);
    const auto [read, time] = stopped.get();
    EXPECT_FALSE(read);
    EXPECT_EQ(stoppedWhy, "the reading was stopped");
    EXPECT_LT(time, wholeTime / 2);
}

}  // namespace lying
