// The centre square gathered row by row at reduced size, and turned upright.
#include <algorithm>
#include <new>

#include "pictures/PhotoDecode.h"

namespace photo {

namespace {

uint32_t* Row(SDL_Surface* s, int y) {
    return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch);
}

}  // namespace

int SquareReducer::FactorFor(int side) { return side < 2 * kLeastSquare ? 1 : side / kLeastSquare; }

SquareReducer::SquareReducer(int w, int h) {
    const int side = std::max(0, std::min(w, h));
    left_ = (w - side) / 2;
    top_ = (h - side) / 2;
    factor_ = FactorFor(side);
    out_ = side / factor_;
    sums_.assign(static_cast<size_t>(out_) * out_ * 3, 0);
}

void SquareReducer::Add(int y, int x, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    uint32_t* box = &sums_[(static_cast<size_t>((y - top_) / factor_) * out_ + (x - left_) / factor_) * 3];
    if (a != 0xFF) {
        r = (r * a + 127) / 255;
        g = (g * a + 127) / 255;
        b = (b * a + 127) / 255;
    }
    box[0] += r;
    box[1] += g;
    box[2] += b;
}

void SquareReducer::AddRow(int y, const uint32_t* argb, int first, int step) {
    const int span = out_ * factor_;
    if (y < top_ || y >= top_ + span || step < 1) return;
    int x = first;
    if (x < left_) x += (left_ - x + step - 1) / step * step;
    for (; x < left_ + span; x += step) {
        const uint32_t p = argb[x];
        Add(y, x, (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF, p >> 24);
    }
}

void SquareReducer::AddRgbaRow(int y, const uint8_t* rgba, int first, int step) {
    const int span = out_ * factor_;
    if (y < top_ || y >= top_ + span || step < 1) return;
    int x = first;
    if (x < left_) x += (left_ - x + step - 1) / step * step;
    for (; x < left_ + span; x += step) {
        const uint8_t* p = rgba + static_cast<size_t>(x) * 4;
        Add(y, x, p[0], p[1], p[2], p[3]);
    }
}

SurfaceOwner SquareReducer::Finish() const {
    if (out_ <= 0) return nullptr;
    SurfaceOwner square(SDL_CreateRGBSurfaceWithFormat(0, out_, out_, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!square) return nullptr;
    const uint32_t area = static_cast<uint32_t>(factor_ * factor_);
    for (int y = 0; y < out_; ++y) {
        uint32_t* row = Row(square.get(), y);
        const uint32_t* box = &sums_[static_cast<size_t>(y) * out_ * 3];
        for (int x = 0; x < out_; ++x, box += 3) {
            const auto mean = [area](uint32_t sum) { return (sum + area / 2) / area; };
            row[x] = 0xFF000000u | mean(box[0]) << 16 | mean(box[1]) << 8 | mean(box[2]);
        }
    }
    return square;
}

SurfaceOwner Upright(SurfaceOwner square, int orientation) {
    if (!square || orientation < 2 || orientation > 8) return square;
    const int n = square->w;
    SurfaceOwner turned(SDL_CreateRGBSurfaceWithFormat(0, n, n, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!turned) return nullptr;
    for (int y = 0; y < n; ++y) {
        uint32_t* out = Row(turned.get(), y);
        for (int x = 0; x < n; ++x) {
            // Where the pixel shown at (x, y) is stored.
            int sx = x, sy = y;
            switch (orientation) {
                case 2: sx = n - 1 - x; break;
                case 3: sx = n - 1 - x; sy = n - 1 - y; break;
                case 4: sy = n - 1 - y; break;
                case 5: sx = y; sy = x; break;
                case 6: sx = y; sy = n - 1 - x; break;
                case 7: sx = n - 1 - y; sy = n - 1 - x; break;
                case 8: sx = n - 1 - y; sy = x; break;
            }
            out[x] = Row(square.get(), sy)[sx];
        }
    }
    return turned;
}

}  // namespace photo
