#include "fakes/TestFolder.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/Paths.h"

namespace fs = std::filesystem;

const char* const kMenuFiles[kMenuCount] = {
    "Shuffle", "Tile",    "HighScores", "Options",      "Resume",    "Music", "Sound",       "Button",
    "Back",    "Picture", "Help",       "ShuffleAgain", "NextLevel", "Exit",  "PictureLeft", "PictureRight",
    "Numbers", "HelpKeys", "HelpRules"};

namespace {

struct MenuSize {
    int w, h;  // the whole image: two frames side by side
};
// The sidebar's six (and Resume) are drawn as one column of 88 x 27 plates.
const MenuSize kMenuSizes[kMenuCount] = {{176, 27}, {176, 27}, {176, 27}, {176, 27}, {176, 27}, {210, 32},
                                         {250, 42}, {50, 29},  {296, 67}, {300, 40}, {176, 27}, {410, 42},
                                         {346, 41}, {176, 27}, {52, 30},  {52, 30},  {250, 32},
                                         {360, 67}, {360, 67}};

}  // namespace

namespace testart {
Rgb MenuNormal(int i) { return Rgb{200, static_cast<uint8_t>(40 + i * 8), 40}; }
Rgb MenuHovered(int i) { return Rgb{40, static_cast<uint8_t>(40 + i * 8), 200}; }
Rgb Badge(int n) { return Rgb{250, static_cast<uint8_t>(n * 7), 60}; }
Rgb Digit(int d) { return Rgb{static_cast<uint8_t>(20 + d * 20), 100, static_cast<uint8_t>(220 - d * 20)}; }
Rgb PicturePixel(int p, int x, int y) {
    return Rgb{static_cast<uint8_t>(x / 2), static_cast<uint8_t>(y / 2), static_cast<uint8_t>(40 + p * 80 + (x + y) % 8)};
}
Rgb GridSizeRow(int n) { return Rgb{static_cast<uint8_t>(n * 40), 220, 60}; }
uint16_t To565(Rgb c) {
    return static_cast<uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}
}  // namespace testart

using namespace testart;

void TestFolder::WriteBitmap(const std::string& name, int w, int h, const std::function<Rgb(int, int)>& pixel) const {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_RGB24);
    if (!s) throw std::runtime_error("no surface");
    for (int y = 0; y < h; ++y) {
        auto* row = static_cast<uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch;
        for (int x = 0; x < w; ++x) {
            const Rgb c = pixel(x, y);
            row[3 * x] = c.r;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.b;
        }
    }
    const fs::path file = fs::path(path_) / name;
    fs::create_directories(file.parent_path());
    if (SDL_SaveBMP(s, file.c_str()) != 0) {
        SDL_FreeSurface(s);
        throw std::runtime_error("cannot write " + file.string());
    }
    SDL_FreeSurface(s);
}

TestFolder::TestFolder() {
    char pattern[] = "/tmp/vesk-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) throw std::runtime_error("mkdtemp");
    path_ = made;
    SetGameFolder(path_);

    const char* pictures[3] = {"Tiger", "Bird", "Flower"};
    for (int p = 0; p < 3; ++p) {
        WriteBitmap(std::string("Tex/") + pictures[p] + ".Tex", 500, 500,
                    [p](int x, int y) { return PicturePixel(p, x, y); });
        WriteBitmap(std::string("Tex/") + pictures[p] + "Hollow.Tex", 500, 500,
                    [p](int, int) { return Rgb{kHollow.r, kHollow.g, static_cast<uint8_t>(kHollow.b + p)}; });
    }
    for (int i = 0; i < kMenuCount; ++i) {
        const MenuSize size = kMenuSizes[i];
        const std::string file = std::string("Tex/Menu/") + kMenuFiles[i] + ".Tex";
        if (std::string(kMenuFiles[i]) == "Button") {
            WriteBitmap(file, size.w, size.h, [](int x, int) { return x < 25 ? kTickOn : kTickOff; });
            continue;
        }
        // The bottom-right pixel of each frame is see-through.
        const int fw = size.w / 2;
        WriteBitmap(file, size.w, size.h, [i, fw, size](int x, int y) {
            if ((x == fw - 1 || x == size.w - 1) && y == size.h - 1) return kGreen;
            return x < fw ? MenuNormal(i) : MenuHovered(i);
        });
    }
    WriteBitmap("Tex/Background.Tex", 800, 600, [](int, int) { return kBackground; });
    WriteBitmap("Tex/BackgroundOptions.Tex", 800, 600, [](int, int) { return kBackgroundOptions; });
    WriteBitmap("Tex/Border.Tex", 510, 510, [](int, int) { return kBorder; });
    // The won banner is see-through in its right half.
    WriteBitmap("Tex/Won.Tex", 300, 100, [](int x, int) { return x < 150 ? kWon : kGreen; });
    WriteBitmap("Tex/HelpPage.Tex", 600, 300, [](int x, int) { return x < 300 ? kHelp : kGreen; });
    WriteBitmap("Tex/HelpKeysPage.Tex", 600, 300, [](int x, int) { return x < 300 ? kHelpKeys : kGreen; });
    WriteBitmap("Tex/HighScore.Tex", 200, 300, [](int, int) { return kHighScore; });
    // Pointer frame k: pure red with frame number in blue at its tip row;
    // everything but the top-left 10 x 10 corner is see-through.
    WriteBitmap("Tex/MousePtr.Tex", 760, 27, [](int x, int y) {
        const int k = x / 38;
        if (x % 38 >= 10 || y >= 10) return kGreen;
        return Rgb{kPointer.r, kPointer.g, static_cast<uint8_t>(k * 8)};
    });
    WriteBitmap("Tex/Digit.Tex", 260, 30, [](int x, int y) { return (x % 26 == 25 || y == 29) ? kGreen : Digit(x / 26); });
    WriteBitmap("Tex/Hyphen.Tex", 10, 4, [](int, int) { return kHyphen; });
    // Number badges of 26 x 18, 1 to 35; each one's bottom row see-through.
    WriteBitmap("Tex/Numbers.Tex", 26 * 35, 18, [](int x, int y) { return y == 17 ? kGreen : Badge(x / 26 + 1); });
    WriteBitmap("Tex/Dash.Tex", 40, 30, [](int, int y) { return y < 10 ? kGreen : kDash; });
    WriteBitmap("Tex/GridSize.Tex", 120, 170, [](int, int y) { return GridSizeRow(2 + y / 34); });
    // The par line's two slots, their words in the left 140 pixels.
    WriteBitmap("Tex/Par.Tex", 240, 80, [](int x, int y) {
        return x >= 140 ? kGreen : y < 40 ? kParShortest : kParBestKnown;
    });
    WriteBitmap("Tex/Preparing.Tex", 300, 64, [](int x, int) { return x < 4 ? kGreen : kPreparing; });

    WriteText("Shuffle.txt", "0 1 1 1 1 0 0 0\n");
    WriteText("ScoreFile.txt", " 2  359999 \n 3  359999 \n 4  359999 \n 5  359999 \n 6  359999 \n");
}

TestFolder::~TestFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
    SetGameFolder("");
}

ScratchFolder::ScratchFolder() {
    char pattern[] = "/tmp/vesk-scratch-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) throw std::runtime_error("mkdtemp");
    path_ = made;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void TestFolder::WriteText(const std::string& name, const std::string& text) const {
    std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
    out << text;
}

std::string TestFolder::ReadText(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void TestFolder::Remove(const std::string& name) const {
    std::error_code ec;
    fs::remove(File(name), ec);
}

bool TestFolder::Exists(const std::string& name) const { return fs::exists(File(name)); }
