// Our own software frame: 16-bit RGB565 images in memory, copied onto each
// other whole or by a source rectangle, opaque or skipping a colour key.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "gfx/Unfilled.h"

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

// Left, top, right, bottom; right and bottom exclusive.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// 8-bit red, green, blue to the frame's 5-6-5 pixel value.
constexpr uint16_t Rgb565(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

enum class BlitMode {
    Opaque,  // every pixel is copied
    Keyed,   // pixels equal to the source's colour key are skipped
};

// Asks for a surface whose pixels are left unset, to be written whole at once.
struct Unfilled {};

class Surface {
public:
    Surface(int width, int height, uint16_t fill = 0);
    Surface(int width, int height, Unfilled);
    // A copy is an image of its own: it gets a stamp of its own.
    Surface(const Surface& other);
    Surface& operator=(const Surface& other);

    int Width() const { return width_; }
    int Height() const { return height_; }

    uint16_t Pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    void SetPixel(int x, int y, uint16_t v) {
        Touch();
        pixels_[static_cast<size_t>(y) * width_ + x] = v;
    }
    uint16_t* Row(int y) {
        Touch();
        return pixels_.data() + static_cast<size_t>(y) * width_;
    }
    const uint16_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }

    void Fill(uint16_t value);
    // Fills the part of `area` that lies on the surface.
    void FillRect(const Rect& area, uint16_t value);

    void SetColorKey(uint16_t key) {
        Touch();
        colorKey_ = key;
    }
    std::optional<uint16_t> ColorKey() const { return colorKey_; }

    // Copies src (or its rectangle srcRect) so that its top-left lands at
    // (x, y). Nothing is clipped: a copy whose source rectangle does not lie
    // inside src, or whose destination does not lie inside this surface, is
    // refused whole and false is returned.
    bool Blit(int32_t x, int32_t y, const Surface& src, const Rect* srcRect, BlitMode mode);

    // Changes whenever the pixels or the colour key may have changed, and is
    // never the same for two images of one run: equal stamps, equal looks.
    uint64_t Stamp() const { return stamp_; }

private:
    void Touch();

    int width_;
    int height_;
    std::vector<uint16_t, UnfilledAllocator<uint16_t>> pixels_;
    std::optional<uint16_t> colorKey_;
    uint64_t stamp_ = 0;
};

// The source rectangle of a copy of src (or its srcRect) to (x, y) on a
// width x height surface; none when the copy doesn't lie wholly inside both.
std::optional<Rect> CopySource(int32_t x, int32_t y, const Surface& src, const Rect* srcRect, int width, int height);

// Images are shared: a board keeps the tiles it shows alive after a new cut.
using SurfacePtr = std::shared_ptr<Surface>;
