// What the picture readers of each format share: the limits a read runs
// under, the checks of a declared size, and the centre square that the
// decoded rows are reduced into as they come.
#pragma once

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace photo {

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfaceOwner = std::unique_ptr<SDL_Surface, SurfaceFree>;

struct FileClose {
    void operator()(FILE* f) const { std::fclose(f); }
};
using FileOwner = std::unique_ptr<FILE, FileClose>;

constexpr int kMinSide = 64;
constexpr int kMaxSide = 8192;
constexpr int kMaxAspect = 4;
// The smallest a decoder scales a picture's square to before its last scaling.
constexpr int kLeastSquare = 500;
// A progressive JPEG of more scans than this is refused.
constexpr int kMaxScans = 500;
constexpr std::chrono::seconds kMaxReadTime{5};

// A read is given up when `stop` becomes true or its time runs out.
struct ReadLimits {
    const std::atomic<bool>* stop = nullptr;
    std::chrono::steady_clock::time_point deadline;
    // True, with the reason in `why`, when the read must end now.
    bool Over(std::string& why) const;
};

// What keeps an image of w x h out of the game; empty when nothing does.
std::string SizeProblem(int64_t w, int64_t h);

// The centre square of a w x h image, gathered from the image's rows as a
// decoder gives them: each pixel is made to show over black and added into
// the box of factor x factor pixels it falls in, so that the square comes out
// `factor` times smaller than the image's short side but at least
// kLeastSquare (when the image is that large).
class SquareReducer {
public:
    SquareReducer(int w, int h);
    // The largest whole factor that leaves at least kLeastSquare on a side.
    static int FactorFor(int side);
    // The pixels of row y at x = first, first + step, ... in ARGB8888.
    void AddRow(int y, const uint32_t* argb, int first = 0, int step = 1);
    // The same, from RGBA bytes.
    void AddRgbaRow(int y, const uint8_t* rgba, int first = 0, int step = 1);
    // The square, ARGB8888, opaque; null when out of memory.
    SurfaceOwner Finish() const;
    int Side() const { return out_; }

private:
    void Add(int y, int x, uint32_t r, uint32_t g, uint32_t b, uint32_t a);
    int left_ = 0, top_ = 0, factor_ = 1, out_ = 0;
    std::vector<uint32_t> sums_;  // r, g, b of each box
};

// A square turned upright as an EXIF orientation (1 to 8) says.
SurfaceOwner Upright(SurfaceOwner square, int orientation);

// The readers of each format: the size, and the upright reduced square.
bool ProbeJpeg(FILE* file, int& w, int& h, std::string& why);
SurfaceOwner ReadJpeg(FILE* file, const ReadLimits& limits, std::string& why);
bool ProbePng(FILE* file, int& w, int& h, std::string& why);
SurfaceOwner ReadPng(FILE* file, const ReadLimits& limits, std::string& why);
bool ProbeWebp(FILE* file, int& w, int& h, std::string& why);
SurfaceOwner ReadWebp(FILE* file, const ReadLimits& limits, std::string& why);
bool ProbeBmp(FILE* file, uint64_t fileBytes, int& w, int& h, std::string& why);
SurfaceOwner ReadBmp(FILE* file, uint64_t fileBytes, const ReadLimits& limits, std::string& why);

}  // namespace photo
