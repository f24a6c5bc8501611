// The generated images, sounds and data files, as the game will read them.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <queue>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/SmallestWindow.h"

namespace {

const std::string kDir = VESK_GAME_DIR;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

struct Pixels {
    int w = 0, h = 0;
    std::vector<Rgb> px;
    Rgb at(int x, int y) const { return px[size_t(y) * w + x]; }
};

std::string slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// Loads through SDL's own reader, as the game does.
Pixels load(const std::string& rel) {
    Pixels p;
    SDL_Surface* s = SDL_LoadBMP((kDir + "/" + rel).c_str());
    if (!s) {
        ADD_FAILURE() << rel << ": " << SDL_GetError();
        return p;
    }
    SDL_Surface* c = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(s);
    p.w = c->w;
    p.h = c->h;
    p.px.resize(size_t(p.w) * p.h);
    for (int y = 0; y < p.h; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(c->pixels) + size_t(y) * c->pitch;
        for (int x = 0; x < p.w; ++x) p.px[size_t(y) * p.w + x] = Rgb{row[3 * x], row[3 * x + 1], row[3 * x + 2]};
    }
    SDL_FreeSurface(c);
    return p;
}

constexpr Rgb kKey{0, 255, 0};
bool isKey(Rgb c) { return c == kKey; }
// A colour the player would see as a green fringe, or that the 16-bit
// display turns into the key itself.
bool nearKey(Rgb c) {
    if (isKey(c)) return false;
    bool same565 = (c.r >> 3) == 0 && (c.g >> 2) == 63 && (c.b >> 3) == 0;
    return same565 || (c.r <= 40 && c.g >= 200 && c.b <= 40);
}
double lum(Rgb c) { return 0.3 * c.r + 0.59 * c.g + 0.11 * c.b; }

struct Size {
    const char* file;
    int w, h;
};
const Size kSizes[] = {
    {"Tex/Tiger.Tex", 500, 500},           {"Tex/Bird.Tex", 500, 500},
    {"Tex/Flower.Tex", 500, 500},          {"Tex/TigerHollow.Tex", 500, 500},
    {"Tex/BirdHollow.Tex", 500, 500},      {"Tex/FlowerHollow.Tex", 500, 500},
    {"Tex/Background.Tex", 800, 600},      {"Tex/BackgroundOptions.Tex", 800, 600},
    {"Tex/Border.Tex", 510, 510},          {"Tex/Digit.Tex", 260, 30},
    {"Tex/MousePtr.Tex", 760, 27},         {"Tex/Menu/Shuffle.Tex", 176, 27},
    {"Tex/Menu/Tile.Tex", 176, 27},        {"Tex/Menu/Resume.Tex", 176, 27},
    {"Tex/Menu/Options.Tex", 176, 27},     {"Tex/Menu/HighScores.Tex", 176, 27},
    {"Tex/Menu/Help.Tex", 176, 27},        {"Tex/Menu/Exit.Tex", 176, 27},
    {"Tex/GridSize.Tex", 120, 170},
    {"Tex/Menu/ShuffleAgain.Tex", 410, 42}, {"Tex/Menu/NextLevel.Tex", 346, 41},
    {"Tex/Menu/Back.Tex", 296, 67},        {"Tex/Menu/Music.Tex", 210, 32},
    {"Tex/Menu/Sound.Tex", 250, 42},       {"Tex/Menu/Picture.Tex", 300, 40},
    {"Tex/Menu/Button.Tex", 50, 29},       {"Icon.bmp", 64, 64},
    {"Tex/Menu/PictureLeft.Tex", 52, 30},  {"Tex/Menu/PictureRight.Tex", 52, 30},
    {"Tex/Numbers.Tex", 26 * 35, 18},      {"Tex/Dash.Tex", 30, 30},
    {"Tex/Menu/Numbers.Tex", 250, 32},     {"Tex/Par.Tex", 240, 80},
    {"Tex/Preparing.Tex", 300, 64},
};

const char* kKeyed[] = {
    "Tex/MousePtr.Tex",          "Tex/Menu/Shuffle.Tex",    "Tex/Menu/Tile.Tex",     "Tex/Menu/HighScores.Tex",
    "Tex/Menu/Options.Tex",      "Tex/Menu/Music.Tex",      "Tex/Menu/Sound.Tex",    "Tex/Menu/Button.Tex",
    "Tex/Menu/Picture.Tex",      "Tex/Menu/Back.Tex",       "Tex/Menu/Resume.Tex",   "Tex/Menu/Help.Tex",
    "Tex/Menu/Exit.Tex",         "Tex/Won.Tex",             "Tex/HelpPage.Tex",      "Tex/HighScore.Tex",
    "Tex/Hyphen.Tex",            "Tex/Digit.Tex",           "Tex/Menu/ShuffleAgain.Tex", "Tex/Menu/NextLevel.Tex",
    "Tex/Menu/PictureLeft.Tex",  "Tex/Menu/PictureRight.Tex", "Tex/Numbers.Tex",       "Tex/Dash.Tex",
    "Tex/Menu/Numbers.Tex",      "Tex/GridSize.Tex",        "Tex/Par.Tex",           "Tex/HelpKeysPage.Tex",
    "Tex/Menu/HelpKeys.Tex",     "Tex/Menu/HelpRules.Tex",  "Tex/Preparing.Tex",
};

TEST(Images, HaveTheSizesTheScreensRelyOn) {
    for (const Size& s : kSizes) {
        Pixels p = load(s.file);
        EXPECT_EQ(p.w, s.w) << s.file;
        EXPECT_EQ(p.h, s.h) << s.file;
    }
}

TEST(Images, AreBottomUp24BitBitmaps) {
    std::vector<std::string> files;
    for (const Size& s : kSizes) files.push_back(s.file);
    for (const char* k : kKeyed) files.push_back(k);
    for (const std::string& f : files) {
        std::string b = slurp(kDir + "/" + f);
        ASSERT_GE(b.size(), 54u) << f;
        auto u32 = [&](size_t o) { return uint32_t(uint8_t(b[o])) | uint32_t(uint8_t(b[o + 1])) << 8 |
                                          uint32_t(uint8_t(b[o + 2])) << 16 | uint32_t(uint8_t(b[o + 3])) << 24; };
        EXPECT_EQ(b.substr(0, 2), "BM") << f;
        EXPECT_EQ(u32(14), 40u) << f << ": BITMAPINFOHEADER";
        EXPECT_GT(int32_t(u32(22)), 0) << f << ": bottom-up rows";
        EXPECT_EQ(uint8_t(b[28]) | uint8_t(b[29]) << 8, 24) << f;
        EXPECT_EQ(u32(30), 0u) << f << ": uncompressed";
        EXPECT_EQ(u32(2), b.size()) << f;
    }
}

TEST(Images, KeyedImagesHoldNoNearlyGreenPixel) {
    for (const char* f : kKeyed) {
        Pixels p = load(f);
        int bad = 0, keyed = 0, solid = 0;
        for (Rgb c : p.px) {
            bad += nearKey(c);
            keyed += isKey(c);
            solid += !isKey(c);
        }
        EXPECT_EQ(bad, 0) << f;
        EXPECT_GT(keyed, 0) << f << " has no transparent pixel";
        EXPECT_GT(solid, 0) << f << " is empty";
    }
}

TEST(Images, OpaqueImagesHoldNoKeyColourNearTheirEdges) {
    // Backgrounds and the frame are drawn opaque; the key has no business there.
    for (const char* f : {"Tex/Background.Tex", "Tex/BackgroundOptions.Tex", "Tex/Border.Tex"}) {
        Pixels p = load(f);
        int keyed = 0;
        for (Rgb c : p.px) keyed += isKey(c) || nearKey(c);
        EXPECT_EQ(keyed, 0) << f;
    }
}

struct Control {
    const char* file;
    int w, h;
};
const Control kControls[] = {
    {"Tex/Menu/Shuffle.Tex", 88, 27},      {"Tex/Menu/Tile.Tex", 88, 27},       {"Tex/Menu/Resume.Tex", 88, 27},
    {"Tex/Menu/Options.Tex", 88, 27},      {"Tex/Menu/HighScores.Tex", 88, 27}, {"Tex/Menu/Help.Tex", 88, 27},
    {"Tex/Menu/Exit.Tex", 88, 27},        {"Tex/Menu/ShuffleAgain.Tex", 205, 42}, {"Tex/Menu/NextLevel.Tex", 173, 41},
    {"Tex/Menu/Back.Tex", 148, 67},        {"Tex/Menu/Music.Tex", 105, 32},     {"Tex/Menu/Sound.Tex", 125, 42},
    {"Tex/Menu/Picture.Tex", 150, 40},     {"Tex/Menu/PictureLeft.Tex", 26, 30}, {"Tex/Menu/PictureRight.Tex", 26, 30},
    {"Tex/Menu/Numbers.Tex", 125, 32},     {"Tex/Menu/HelpKeys.Tex", 180, 67},  {"Tex/Menu/HelpRules.Tex", 180, 67},
};

TEST(Controls, HoldANormalAndABrighterHoveredFrame) {
    for (const Control& c : kControls) {
        Pixels p = load(c.file);
        ASSERT_EQ(p.w, 2 * c.w) << c.file;
        double lit[2] = {0, 0};
        int solid[2] = {0, 0};
        for (int f = 0; f < 2; ++f)
            for (int y = 0; y < c.h; ++y)
                for (int x = 0; x < c.w; ++x) {
                    Rgb px = p.at(f * c.w + x, y);
                    if (isKey(px)) continue;
                    ++solid[f];
                    lit[f] += lum(px);
                }
        for (int f = 0; f < 2; ++f) EXPECT_GT(solid[f], c.w * c.h * 8 / 10) << c.file << " frame " << f;
        EXPECT_GT(lit[1] / solid[1], lit[0] / solid[0] + 25) << c.file << ": the hovered frame is not lit";
        // The plate fills its frame: the middle of each frame is solid.
        EXPECT_FALSE(isKey(p.at(c.w / 2, c.h / 2))) << c.file;
        EXPECT_FALSE(isKey(p.at(c.w + c.w / 2, c.h / 2))) << c.file;
    }
}

TEST(Controls, TickBoxShowsOnAndOff) {
    Pixels p = load("Tex/Menu/Button.Tex");
    ASSERT_EQ(p.w, 50);
    int diff = 0;
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 25; ++x) diff += !(p.at(x, y) == p.at(25 + x, y));
    EXPECT_GT(diff, 40) << "ticked and unticked boxes look alike";
    EXPECT_FALSE(isKey(p.at(12, 16)));
    EXPECT_FALSE(isKey(p.at(37, 16)));
}

TEST(Pointer, TipIsTheTopLeftPixelOfEveryFrame) {
    Pixels p = load("Tex/MousePtr.Tex");
    ASSERT_EQ(p.w, 20 * 38);
    std::set<std::vector<int>> distinct;
    for (int f = 0; f < 20; ++f) {
        EXPECT_FALSE(isKey(p.at(38 * f, 0))) << "frame " << f;
        // Nothing of the pointer lies above or left of the tip, so the
        // frame's corners away from the arrow are transparent.
        EXPECT_TRUE(isKey(p.at(38 * f + 37, 26))) << "frame " << f;
        EXPECT_TRUE(isKey(p.at(38 * f + 20, 0))) << "frame " << f;
        std::vector<int> frame;
        for (int y = 0; y < 27; ++y)
            for (int x = 0; x < 38; ++x) {
                Rgb c = p.at(38 * f + x, y);
                frame.push_back(c.r << 16 | c.g << 8 | c.b);
            }
        distinct.insert(frame);
    }
    EXPECT_GE(distinct.size(), 10u) << "the pointer hardly animates";
}

TEST(Numbers, TenDistinctDigitsAndASmallSeparator) {
    Pixels d = load("Tex/Digit.Tex");
    ASSERT_EQ(d.w, 260);
    std::set<std::vector<bool>> glyphs;
    for (int k = 0; k < 10; ++k) {
        std::vector<bool> mask;
        int solid = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 26; ++x) {
                bool s = !isKey(d.at(26 * k + x, y));
                mask.push_back(s);
                solid += s;
            }
        EXPECT_GT(solid, 60) << "digit " << k;
        glyphs.insert(mask);
    }
    EXPECT_EQ(glyphs.size(), 10u);
    Pixels h = load("Tex/Hyphen.Tex");
    EXPECT_LE(h.w, 10);
    EXPECT_LE(h.h, 26);
}

TEST(Pages, FitTheirPlacesOnScreen) {
    Pixels won = load("Tex/Won.Tex");
    // Drawn at (130, 120) over the picture, clear of the buttons at y 500;
    // the time follows at (200, 350) and the moves at (402, 350), each on a
    // dark slot of the banner's own.
    EXPECT_LE(130 + won.w, 550);
    EXPECT_LE(120 + won.h, 500);
    for (auto [left, right] : {std::pair{200, 376}, std::pair{402, 494}})
        for (int y = 350; y < 380; ++y)
            for (int x = left; x < right; ++x) {
                Rgb c = won.at(x - 130, y - 120);
                ASSERT_FALSE(isKey(c)) << "no slot under the count at " << x << "," << y;
                ASSERT_LT(lum(c), 60) << "the count's slot is not dark at " << x << "," << y;
            }
    Pixels hs = load("Tex/HighScore.Tex");
    EXPECT_LE(145 + hs.w, 800);
    EXPECT_LE(36 + hs.h, 450) << "runs into the Back control";
    // A row label left of each row's fewest moves at (289, 110 + 70k), and
    // the time at (400, 110 + 70k) beside them.
    for (int k = 0; k < 5; ++k) {
        int solid = 0, bright = 0;
        for (int y = 110 + 70 * k; y < 140 + 70 * k; ++y)
            for (int x = 200; x < 281; ++x) {
                Rgb c = hs.at(x - 145, y - 36);
                solid += !isKey(c);
                bright += !isKey(c) && lum(c) > 180;
            }
        EXPECT_GT(bright, 40) << "no label for row " << k;
        EXPECT_GT(solid, 1000) << "row " << k;
    }
    for (const char* page : {"Tex/HelpPage.Tex", "Tex/HelpKeysPage.Tex"}) {
        Pixels help = load(page);
        EXPECT_LE(69 + help.w, 800) << page;
        EXPECT_LE(113 + help.h, 450) << page << " runs into the Back control";
    }
}

// A box of pixels, edges included.
struct Box {
    int x0, y0, x1, y1;
    int w() const { return x1 - x0 + 1; }
    int h() const { return y1 - y0 + 1; }
    bool holds(const Box& o) const { return x0 < o.x0 && y0 < o.y0 && o.x1 < x1 && o.y1 < y1; }
};

// The bright shapes of a page drawn on a dark panel: each set of touching
// pixels brighter than half way, as the box around it.
std::vector<Box> brightShapes(const Pixels& p) {
    std::vector<char> seen(p.px.size(), 0);
    auto bright = [&](int x, int y) { return !isKey(p.at(x, y)) && lum(p.at(x, y)) >= 140; };
    std::vector<Box> shapes;
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) {
            if (seen[size_t(y) * p.w + x] || !bright(x, y)) continue;
            Box b{x, y, x, y};
            std::vector<std::pair<int, int>> todo{{x, y}};
            seen[size_t(y) * p.w + x] = 1;
            while (!todo.empty()) {
                auto [cx, cy] = todo.back();
                todo.pop_back();
                b = {std::min(b.x0, cx), std::min(b.y0, cy), std::max(b.x1, cx), std::max(b.y1, cy)};
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = cx + dx, ny = cy + dy;
                        if (nx < 0 || ny < 0 || nx >= p.w || ny >= p.h) continue;
                        if (seen[size_t(ny) * p.w + nx] || !bright(nx, ny)) continue;
                        seen[size_t(ny) * p.w + nx] = 1;
                        todo.push_back({nx, ny});
                    }
            }
            shapes.push_back(b);
        }
    return shapes;
}

// How high the letters of a page's smallest piece of text stand, in pixels.
// The glyphs are the bright shapes, less the panel's rim, the rules across
// it and the key caps' rims (a shape with others inside it). Glyphs whose
// rows overlap make a line; a wide gap splits a line into pieces. A piece's
// letters stand as high as the median of its glyphs: the x-height for lower
// case, the capital height for capitals. `pieces` counts what was measured.
int smallestLettering(const Pixels& p, int* pieces, std::string* where) {
    std::vector<Box> all = brightShapes(p), glyphs;
    for (const Box& b : all) {
        if (b.w() > p.w / 2 || b.h() > p.h / 2) continue;  // the rim
        if (b.h() <= 3 && b.w() >= 30) continue;           // a rule
        if (std::any_of(all.begin(), all.end(), [&](const Box& o) { return b.holds(o); })) continue;
        glyphs.push_back(b);
    }
    std::sort(glyphs.begin(), glyphs.end(), [](const Box& a, const Box& b) { return a.y0 < b.y0; });
    int smallest = INT32_MAX;
    *pieces = 0;
    for (size_t i = 0; i < glyphs.size();) {
        // A line: every glyph whose rows meet those of the line so far.
        int bottom = glyphs[i].y1;
        size_t end = i + 1;
        while (end < glyphs.size() && glyphs[end].y0 <= bottom) bottom = std::max(bottom, glyphs[end++].y1);
        std::vector<Box> line(glyphs.begin() + long(i), glyphs.begin() + long(end));
        const int lineHeight = bottom - glyphs[i].y0 + 1;
        std::sort(line.begin(), line.end(), [](const Box& a, const Box& b) { return a.x0 < b.x0; });
        for (size_t k = 0; k < line.size();) {
            size_t stop = k + 1;
            int right = line[k].x1;
            while (stop < line.size() && line[stop].x0 - right <= 2 * lineHeight) right = std::max(right, line[stop++].x1);
            std::vector<int> heights;
            for (size_t g = k; g < stop; ++g) heights.push_back(line[g].h());
            std::sort(heights.begin(), heights.end());
            const int median = heights[(heights.size() - 1) / 2];
            ++*pieces;
            if (median < smallest) {
                smallest = median;
                *where = "x " + std::to_string(line[k].x0) + ".." + std::to_string(right) + ", y " +
                         std::to_string(glyphs[i].y0) + ".." + std::to_string(bottom);
            }
            k = stop;
        }
        i = end;
    }
    return smallest;
}

// On a handheld's 1280 x 720 screen the frame is shown 1.2 times as large:
// letters 7.5 frame pixels high there stand 9 screen pixels.
TEST(Pages, TheHelpsSmallestLettersStayReadableOnAHandheld) {
    for (const char* page : {"Tex/HelpPage.Tex", "Tex/HelpKeysPage.Tex"}) {
        int pieces = 0;
        std::string where;
        const int smallest = smallestLettering(load(page), &pieces, &where);
        std::cout << page << ": smallest lettering " << smallest << " px high (" << where << "), of " << pieces
                  << " pieces of text" << std::endl;
        ::testing::Test::RecordProperty(std::string(page) + " smallest lettering", std::to_string(smallest));
        EXPECT_GE(pieces, 12) << page << ": the measure found hardly any text";
        EXPECT_GE(smallest, 7.5) << page << ": at " << where;
    }
}

TEST(Pictures, BlankTileIsADarkSlotAtEverySize) {
    for (const char* name : {"Tiger", "Bird", "Flower"}) {
        Pixels pic = load(std::string("Tex/") + name + ".Tex");
        Pixels hol = load(std::string("Tex/") + name + "Hollow.Tex");
        for (int s : {248, 164, 123, 98, 81}) {
            double a = 0, b = 0;
            for (int y = 0; y < s; ++y)
                for (int x = 0; x < s; ++x) {
                    a += lum(hol.at(x, y));
                    b += lum(pic.at(x, y));
                }
            a /= s * s;
            b /= s * s;
            EXPECT_LT(a, 70) << name << " " << s;
            EXPECT_LT(a, b * 0.6) << name << " " << s;
            // Its top and left edges lie in shadow, deeper than the slot as a whole.
            double left = 0, top = 0;
            for (int i = 0; i < s; ++i)
                for (int d = 0; d < 3; ++d) {
                    left += lum(hol.at(d, i));
                    top += lum(hol.at(i, d));
                }
            EXPECT_LT(left / (3 * s), a) << name << " " << s;
            EXPECT_LT(top / (3 * s), a) << name << " " << s;
        }
    }
}

// Mean absolute difference of the two closest tiles at 6 x 6, on colours
// as the 16-bit display shows them.
double closestTiles(const Pixels& p, int* ta, int* tb) {
    auto q = [](Rgb c) {
        int r = c.r >> 3, g = c.g >> 2, b = c.b >> 3;
        return std::array<int, 3>{(r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)};
    };
    std::vector<std::vector<int>> tiles;
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 6; ++c) {
            std::vector<int> t;
            for (int y = 0; y < 81; ++y)
                for (int x = 0; x < 81; ++x)
                    for (int v : q(p.at(c * 83 + x, r * 83 + y))) t.push_back(v);
            tiles.push_back(t);
        }
    double best = 1e9;
    for (size_t i = 0; i < tiles.size(); ++i)
        for (size_t j = i + 1; j < tiles.size(); ++j) {
            long s = 0;
            for (size_t k = 0; k < tiles[i].size(); ++k) s += std::abs(tiles[i][k] - tiles[j][k]);
            double m = double(s) / tiles[i].size();
            if (m < best) best = m, *ta = int(i), *tb = int(j);
        }
    return best;
}

TEST(Pictures, EveryTileAt6x6StandsApart) {
    for (const char* name : {"Tiger", "Bird", "Flower"}) {
        Pixels p = load(std::string("Tex/") + name + ".Tex");
        int a = 0, b = 0;
        double m = closestTiles(p, &a, &b);
        std::cout << name << ": closest tiles at 6x6 are " << a << " and " << b << ", mean difference " << m
                  << std::endl;
        ::testing::Test::RecordProperty(std::string(name) + "ClosestTiles", std::to_string(m));
        EXPECT_GE(m, 20.0) << name;
    }
}

TEST(Frame, InsideShowsThroughGapsAndRingsTheThumbnails) {
    Pixels b = load("Tex/Border.Tex");
    ASSERT_EQ(b.w, 510);
    // The seams between tiles show the inside; it must read against the picture
    // yet not be black, and the thumbnail rings are lit on top and left.
    Rgb inside = b.at(255, 5);
    EXPECT_GT(lum(inside), 60);
    EXPECT_GT(lum(b.at(1, 30)), lum(b.at(62, 30)));
    EXPECT_GT(lum(b.at(30, 1)), lum(b.at(30, 63)));
}

struct Wav {
    int channels = 0, rate = 0;
    std::vector<int16_t> s;
    size_t frames() const { return channels ? s.size() / channels : 0; }
    double seconds() const { return rate ? double(frames()) / rate : 0; }
};

Wav loadWav(const std::string& rel) {
    Wav w;
    SDL_AudioSpec spec;
    Uint8* buf = nullptr;
    Uint32 len = 0;
    if (!SDL_LoadWAV((kDir + "/" + rel).c_str(), &spec, &buf, &len)) {
        ADD_FAILURE() << rel << ": " << SDL_GetError();
        return w;
    }
    EXPECT_EQ(spec.format, AUDIO_S16LSB) << rel;
    w.channels = spec.channels;
    w.rate = spec.freq;
    w.s.assign(reinterpret_cast<int16_t*>(buf), reinterpret_cast<int16_t*>(buf) + len / 2);
    SDL_FreeWAV(buf);
    return w;
}

int peakOf(const Wav& w) {
    int p = 0;
    for (int16_t v : w.s) p = std::max(p, std::abs(int(v)));
    return p;
}

TEST(Sound, TuneIsLongQuietEnoughAndLoopsWithoutAClick) {
    Wav w = loadWav("Audio/BkGnd.mus");
    ASSERT_GT(w.channels, 0);
    EXPECT_EQ(w.rate, 44100);
    EXPECT_GE(w.seconds(), 30.0);
    const int peak = peakOf(w);
    const double peakDb = 20 * std::log10(peak / 32768.0);
    std::cout << "tune: " << w.seconds() << " s, peak " << peakDb << " dBFS" << std::endl;
    EXPECT_LE(peakDb, -3.0);
    EXPECT_GE(peakDb, -12.0) << "too quiet";
    const size_t n = w.frames();
    for (int c = 0; c < w.channels; ++c) {
        double meanStep = 0, mean = 0;
        for (size_t i = 1; i < n; ++i) meanStep += std::abs(w.s[i * w.channels + c] - w.s[(i - 1) * w.channels + c]);
        meanStep /= double(n - 1);
        for (size_t i = 0; i < n; ++i) mean += w.s[i * w.channels + c];
        mean /= double(n);
        const int seam = std::abs(w.s[c] - w.s[(n - 1) * w.channels + c]);
        std::cout << "tune channel " << c << ": seam step " << seam << ", mean step " << meanStep << ", mean "
                  << mean << std::endl;
        EXPECT_LE(seam, std::max(48.0, 4 * meanStep)) << "channel " << c;
        EXPECT_LT(std::abs(mean), 60.0) << "channel " << c << " carries DC";
        // Nor is the seam a jump next to the steps around it.
        int local = 0;
        for (size_t i = 1; i < 200; ++i) {
            local = std::max(local, std::abs(w.s[i * w.channels + c] - w.s[(i - 1) * w.channels + c]));
            local = std::max(local, std::abs(w.s[(n - i) * w.channels + c] - w.s[(n - i - 1) * w.channels + c]));
        }
        EXPECT_LE(seam, local + 16) << "channel " << c;
    }
}

TEST(Sound, EffectsHaveTheirLengths) {
    struct Effect {
        const char* file;
        double minS, maxS;
    } effects[] = {{"Audio/Button.aud", 0.02, 0.25}, {"Audio/Tile.aud", 0.08, 0.6}, {"Audio/Success.aud", 1.0, 2.0}};
    for (const Effect& e : effects) {
        Wav w = loadWav(e.file);
        ASSERT_GT(w.channels, 0) << e.file;
        EXPECT_EQ(w.rate, 44100) << e.file;
        EXPECT_GE(w.seconds(), e.minS) << e.file;
        EXPECT_LE(w.seconds(), e.maxS) << e.file;
        EXPECT_GT(peakOf(w), 8000) << e.file << " is nearly silent";
        EXPECT_LT(peakOf(w), 32767) << e.file << " clips";
        EXPECT_LT(std::abs(int(w.s.back())), 200) << e.file << " ends with a click";
    }
}

using Board = std::array<int, 4>;

std::set<Board> solvableBoards() {
    std::set<Board> seen{{0, 1, 2, 3}};
    std::queue<Board> todo;
    todo.push({0, 1, 2, 3});
    while (!todo.empty()) {
        Board b = todo.front();
        todo.pop();
        int blank = int(std::find(b.begin(), b.end(), 0) - b.begin());
        for (int o : {blank ^ 1, blank ^ 2}) {
            Board n = b;
            std::swap(n[size_t(blank)], n[size_t(o)]);
            if (seen.insert(n).second) todo.push(n);
        }
    }
    return seen;
}

TEST(Data, ShuffleFileHoldsTenDistinctSolvableUnsolvedDeals) {
    const std::set<Board> solvable = solvableBoards();
    ASSERT_EQ(solvable.size(), 12u);
    FILE* f = std::fopen((kDir + "/Shuffle.txt").c_str(), "r+");
    ASSERT_NE(f, nullptr);
    std::set<Board> seen;
    int v[8];
    int records = 0;
    while (std::fscanf(f, " %d %d %d %d %d %d %d %d \n", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7]) ==
           8) {
        ++records;
        Board b;
        for (int k = 0; k < 4; ++k) {
            ASSERT_TRUE(v[2 * k] == 0 || v[2 * k] == 1) << "record " << records;
            ASSERT_TRUE(v[2 * k + 1] == 0 || v[2 * k + 1] == 1) << "record " << records;
            b[size_t(k)] = v[2 * k] * 2 + v[2 * k + 1];
        }
        EXPECT_EQ(std::set<int>(b.begin(), b.end()).size(), 4u) << "record " << records;
        EXPECT_NE(b, (Board{0, 1, 2, 3})) << "record " << records << " is already solved";
        EXPECT_TRUE(solvable.count(b)) << "record " << records << " cannot be solved";
        EXPECT_TRUE(seen.insert(b).second) << "record " << records << " repeats";
    }
    std::fclose(f);
    EXPECT_EQ(records, 10);
    // One record a line, in the file's own layout.
    std::string text = slurp(kDir + "/Shuffle.txt");
    std::istringstream lines(text);
    std::string line;
    int n = 0;
    while (std::getline(lines, line)) {
        ++n;
        EXPECT_EQ(line.size(), 17u) << line;
        EXPECT_EQ(line.front(), ' ');
        EXPECT_EQ(line.back(), ' ');
    }
    EXPECT_EQ(n, 10);
}

// Runs the generator into a fresh folder of its own and returns the folder
// (a new one each time: suites run side by side never share it).
std::string GenerateAfresh(const std::string& name) {
    std::string pattern = ::testing::TempDir() + name + "-XXXXXX";
    const char* made = mkdtemp(pattern.data());
    EXPECT_NE(made, nullptr) << pattern;
    const std::string dir = made ? made : pattern;
    const std::string cmd = std::string("\"") + VESK_ASSETGEN + "\" \"" + dir + "\"";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    return dir;
}

TEST(Data, ScoreFileStartsAtTheLongestTimeAndIsNeverWrittenOver) {
    const std::string dir = GenerateAfresh("vesk-assets-scores");
    const std::string fresh = " 2  359999 \n 3  359999 \n 4  359999 \n 5  359999 \n 6  359999 \n";
    EXPECT_EQ(slurp(dir + "/ScoreFile.txt"), fresh);
    // A player's best times survive the next build.
    const std::string played = " 2  17 \n 3  359999 \n 4  359999 \n 5  359999 \n 6  359999 \n";
    {
        std::ofstream out(dir + "/ScoreFile.txt", std::ios::binary | std::ios::trunc);
        out << played;
    }
    const std::string cmd = std::string("\"") + VESK_ASSETGEN + "\" \"" + dir + "\"";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    EXPECT_EQ(slurp(dir + "/ScoreFile.txt"), played);
    std::filesystem::remove_all(dir);
}

// Every caption, but the help page's (drawn apart), stands at least 9 screen
// pixels tall (its capitals) in the smallest window the game allows, and so
// on every larger screen: 1280x720 and 1280x800 handhelds among them.
TEST(Captions, StayReadableInTheSmallestWindow) {
    std::string pattern = ::testing::TempDir() + "vesk-assets-captions-XXXXXX";
    const char* made = mkdtemp(pattern.data());
    ASSERT_NE(made, nullptr) << pattern;
    const std::string dir = made;
    const std::string cmd = std::string("\"") + VESK_ASSETGEN + "\" \"" + dir + "\" --only interface --captions";
    FILE* pipe = popen(cmd.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string listing;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) listing.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0);
    std::filesystem::remove_all(dir);

    const double scale = std::min(kSmallestWindowWidth / 800.0, kSmallestWindowHeight / 600.0);
    std::istringstream lines(listing);
    std::string line, smallest;
    double least = 1e9;
    int captions = 0;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string image, size, cap, x, text;
        if (!std::getline(fields, image, '\t') || !std::getline(fields, size, '\t') ||
            !std::getline(fields, cap, '\t') || !std::getline(fields, x, '\t')) {
            ADD_FAILURE() << "not a caption line: " << line;
            continue;
        }
        std::getline(fields, text);
        if (image == "HelpPage.Tex" || text.find_first_not_of(' ') == std::string::npos) continue;
        ++captions;
        const double height = std::stod(cap) * scale;
        EXPECT_GE(height, kLeastCaptionPixels) << image << " \"" << text << "\" at " << size << " px";
        if (height < least) {
            least = height;
            smallest = image + " \"" + text + "\"";
        }
    }
    EXPECT_GT(captions, 40);
    std::cout << "smallest caption: " << smallest << ", capitals " << least << " px in a " << kSmallestWindowWidth
              << "x" << kSmallestWindowHeight << " window, " << least / scale * 1.2 << " px at 1280x720, "
              << least / scale * 800 / 600 << " px at 1280x800\n";
}

TEST(Generator, WritesTheSameBytesEveryRun) {
    const std::string dir = GenerateAfresh("vesk-assets-again");
    const std::string other = GenerateAfresh("vesk-assets-again-2");
    std::vector<std::string> files;
    for (const Size& s : kSizes) files.push_back(s.file);
    for (const char* k : kKeyed) files.push_back(k);
    for (const char* f : {"Audio/BkGnd.mus", "Audio/Button.aud", "Audio/Tile.aud", "Audio/Success.aud",
                          "Shuffle.txt"})
        files.push_back(f);
    for (const std::string& f : files) {
        std::string a = slurp(kDir + "/" + f), b = slurp(dir + "/" + f);
        EXPECT_FALSE(a.empty()) << f;
        EXPECT_TRUE(a == b) << f << " differs between runs";
    }
    EXPECT_EQ(slurp(dir + "/ScoreFile.txt"), slurp(other + "/ScoreFile.txt"));
    std::filesystem::remove_all(dir);
    std::filesystem::remove_all(other);
}

}  // namespace
