// A throw-away game folder with small images of the game's layouts, so tests
// do not depend on the generated art. Every image has colours of its own
// that tests can look for in presented frames.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct Rgb {
    uint8_t r, g, b;
};

// Colours of the test images.
namespace testart {
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBackground{10, 20, 30};
constexpr Rgb kBackgroundOptions{30, 20, 10};
constexpr Rgb kBorder{90, 90, 90};
constexpr Rgb kWon{250, 250, 0};
constexpr Rgb kHelp{0, 200, 200};
constexpr Rgb kHelpKeys{200, 200, 0};  // the help's second page
constexpr Rgb kHighScore{200, 0, 200};
constexpr Rgb kHyphen{255, 255, 255};
constexpr Rgb kPointer{255, 0, 0};
constexpr Rgb kHollow{60, 30, 90};
constexpr Rgb kTickOn{0, 0, 255};
constexpr Rgb kTickOff{128, 0, 0};
constexpr Rgb kDash{250, 120, 60};
// The par line's words: "shortest" and "best known".
constexpr Rgb kParShortest{60, 250, 120};
constexpr Rgb kParBestKnown{120, 60, 250};
constexpr Rgb kPreparing{220, 180, 40};
// Menu images: normal frame and hovered frame, by file.
Rgb MenuNormal(int menuIndex);
Rgb MenuHovered(int menuIndex);
// Digit d, and the picture's pixel at (x, y) for picture p.
Rgb Digit(int d);
// The badge of tile number n (1..35), in its top-left pixel.
Rgb Badge(int n);
// The row of the grid-size image for size n.
Rgb GridSizeRow(int n);
Rgb PicturePixel(int picture, int x, int y);
uint16_t To565(Rgb c);
}  // namespace testart

class TestFolder {
public:
    TestFolder();  // makes every file and points the game at the folder
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

    void WriteText(const std::string& name, const std::string& text) const;
    std::string ReadText(const std::string& name) const;
    void Remove(const std::string& name) const;
    bool Exists(const std::string& name) const;
    // Writes a 24-bit BMP of w x h whose pixel (x, y) is pixel(x, y).
    void WriteBitmap(const std::string& name, int w, int h, const std::function<Rgb(int, int)>& pixel) const;

private:
    std::string path_;
};

// An empty throw-away folder (removed with everything in it), for a player
// folder kept apart from the game's data.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Menu file names in the order MenuNormal/MenuHovered index them.
constexpr int kMenuCount = 19;
extern const char* const kMenuFiles[kMenuCount];
