// Pixel buffers, cairo glue and the BMP / WAV writers of the asset generator.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kKey{0, 255, 0};  // the transparent colour of keyed images

// An opaque 24-bit image, top row first.
struct Image {
    int w = 0, h = 0;
    std::vector<Rgb> px;
    Image() = default;
    Image(int width, int height, Rgb fill = {}) : w(width), h(height), px(size_t(width) * height, fill) {}
    Rgb& at(int x, int y) { return px[size_t(y) * w + x]; }
    const Rgb& at(int x, int y) const { return px[size_t(y) * w + x]; }
    void blit(const Image& src, int dx, int dy);                      // opaque copy
    void blitKeyed(const Image& src, int dx, int dy);                 // skips kKey pixels
    Image crop(int x, int y, int cw, int ch) const;
};

// A cairo ARGB32 surface with its context, freed on scope exit.
class Canvas {
public:
    Canvas(int w, int h);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    cairo_t* cr() const { return cr_; }
    cairo_surface_t* surface() const { return surf_; }
    int w() const { return w_; }
    int h() const { return h_; }
    // Premultiplied ARGB of one pixel (after flushing).
    uint32_t argb(int x, int y) const;
    // The whole canvas as an opaque image (alpha composited over black).
    Image toImage() const;
    // Keyed conversion: pixels of alpha >= threshold keep their colour, blended
    // over `matte` (the colour the image is expected to be shown on); the rest
    // become the key colour. The result never holds a near-key pixel.
    Image toKeyed(Rgb matte, int threshold = 96) const;
    // Loads an image into the canvas at (x, y).
    void put(const Image& img, int x, int y);

private:
    int w_, h_;
    cairo_surface_t* surf_;
    cairo_t* cr_;
};

// True for a colour that a 16-bit display could not tell from the key, or
// that would read as a green halo next to keyed areas.
inline bool nearKey(Rgb c) { return !(c == kKey) && c.r <= 40 && c.b <= 40 && c.g >= 200; }
void clearNearKey(Image& img);

bool writeBmp(const std::string& path, const Image& img);

// 16-bit PCM WAV, interleaved when channels == 2.
bool writeWav(const std::string& path, const std::vector<int16_t>& samples, int channels, int rate);

// Adds a rectangle with corners rounded by radius r to the path.
void roundRect(cairo_t* cr, double x, double y, double w, double h, double r);

// Makes every directory of `path` that does not exist yet.
void makeDirs(const std::string& path);

// Deterministic generator (SplitMix64).
class Rng {
public:
    explicit Rng(uint64_t seed) : s_(seed) {}
    uint64_t next() {
        uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }  // [0,1)
    double range(double a, double b) { return a + (b - a) * uniform(); }

private:
    uint64_t s_;
};

}  // namespace assetgen
