// The common kind of bitmap, the kind every picture of the game is: no
// compression, 24 bits a pixel, the 40-byte header. Read straight from the
// file into the game's 5-6-5 pixels (or 32-bit ones for a filtering scale),
// only the rows asked for, with none of the whole-image copies SDL's reader
// and a format conversion make. Pixel for pixel what SDL's reader and that
// conversion give; files of any other kind are left to them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "gfx/Surface.h"

class PlainBitmap {
public:
    // The file, when it is of the common kind and its headers pass the checks
    // every image passes (BitmapHeaderFits); null otherwise, and for a file
    // that cannot be opened.
    static std::unique_ptr<PlainBitmap> Open(const std::string& hostPath);
    ~PlainBitmap();
    PlainBitmap(const PlainBitmap&) = delete;
    PlainBitmap& operator=(const PlainBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Fills `out` with the out.Width() x out.Height() rectangle of the bitmap
    // at (sx, sy); pixels outside the bitmap are left as they are. False when
    // the file could not be read.
    bool Read565(int sx, int sy, Surface& out);
    // Every pixel as 0xFFRRGGBB, rows `pitch` bytes apart.
    bool ReadArgb(uint32_t* pixels, int pitch);

private:
    PlainBitmap() = default;
    // Calls row(top-down row index, its bytes) for the rows [first, last).
    template <typename RowFn>
    bool ReadRows(int first, int last, RowFn&& row);

    std::FILE* file_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    bool topDown_ = false;
    uint32_t pixelsAt_ = 0;
    size_t rowBytes_ = 0;  // each row padded to four bytes
};
