#include "image.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cerrno>
#include <cstdio>

namespace assetgen {

void Image::blit(const Image& src, int dx, int dy) {
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x) {
            int tx = dx + x, ty = dy + y;
            if (tx >= 0 && ty >= 0 && tx < w && ty < h) at(tx, ty) = src.at(x, y);
        }
}

void Image::blitKeyed(const Image& src, int dx, int dy) {
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x) {
            int tx = dx + x, ty = dy + y;
            if (tx >= 0 && ty >= 0 && tx < w && ty < h && !(src.at(x, y) == kKey)) at(tx, ty) = src.at(x, y);
        }
}

Image Image::crop(int x0, int y0, int cw, int ch) const {
    Image out(cw, ch);
    for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x) out.at(x, y) = at(x0 + x, y0 + y);
    return out;
}

Canvas::Canvas(int w, int h) : w_(w), h_(h) {
    surf_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cr_ = cairo_create(surf_);
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surf_);
}

uint32_t Canvas::argb(int x, int y) const {
    cairo_surface_flush(surf_);
    const unsigned char* data = cairo_image_surface_get_data(surf_);
    int stride = cairo_image_surface_get_stride(surf_);
    return reinterpret_cast<const uint32_t*>(data + size_t(y) * stride)[x];
}

Image Canvas::toImage() const {
    Image img(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            uint32_t p = argb(x, y);
            img.at(x, y) = Rgb{uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
        }
    return img;
}

Image Canvas::toKeyed(Rgb matte, int threshold) const {
    Image img(w_, h_, kKey);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            uint32_t p = argb(x, y);
            int a = int(p >> 24);
            if (a < threshold) continue;
            auto mix = [&](int c, int m) { return uint8_t(std::min(255, c + (255 - a) * m / 255)); };
            img.at(x, y) = Rgb{mix(int((p >> 16) & 255), matte.r), mix(int((p >> 8) & 255), matte.g),
                               mix(int(p & 255), matte.b)};
        }
    clearNearKey(img);
    return img;
}

void Canvas::put(const Image& img, int x0, int y0) {
    cairo_surface_flush(surf_);
    unsigned char* data = cairo_image_surface_get_data(surf_);
    int stride = cairo_image_surface_get_stride(surf_);
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            int tx = x0 + x, ty = y0 + y;
            if (tx < 0 || ty < 0 || tx >= w_ || ty >= h_) continue;
            Rgb c = img.at(x, y);
            reinterpret_cast<uint32_t*>(data + size_t(ty) * stride)[tx] =
                0xFF000000u | (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b;
        }
    cairo_surface_mark_dirty(surf_);
}

void clearNearKey(Image& img) {
    for (Rgb& c : img.px)
        if (nearKey(c)) {
            c.r = std::max<uint8_t>(c.r, 72);
            c.b = std::max<uint8_t>(c.b, 72);
            c.g = std::min<uint8_t>(c.g, 190);
        }
}

static void put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
static void put32(std::vector<uint8_t>& v, uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

static bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool writeBmp(const std::string& path, const Image& img) {
    const uint32_t rowBytes = (uint32_t(img.w) * 3 + 3) & ~3u;
    const uint32_t dataSize = rowBytes * uint32_t(img.h);
    std::vector<uint8_t> v;
    v.reserve(54 + dataSize);
    v.push_back('B');
    v.push_back('M');
    put32(v, 54 + dataSize);
    put32(v, 0);
    put32(v, 54);
    put32(v, 40);  // BITMAPINFOHEADER
    put32(v, uint32_t(img.w));
    put32(v, uint32_t(img.h));  // positive: bottom-up rows
    put16(v, 1);
    put16(v, 24);
    put32(v, 0);  // BI_RGB
    put32(v, dataSize);
    put32(v, 2835);  // 72 dpi
    put32(v, 2835);
    put32(v, 0);
    put32(v, 0);
    for (int y = img.h - 1; y >= 0; --y) {
        for (int x = 0; x < img.w; ++x) {
            Rgb c = img.at(x, y);
            v.push_back(c.b);
            v.push_back(c.g);
            v.push_back(c.r);
        }
        for (uint32_t pad = uint32_t(img.w) * 3; pad < rowBytes; ++pad) v.push_back(0);
    }
    return writeFile(path, v);
}

bool writeWav(const std::string& path, const std::vector<int16_t>& samples, int channels, int rate) {
    const uint32_t dataSize = uint32_t(samples.size() * 2);
    std::vector<uint8_t> v;
    v.reserve(44 + dataSize);
    for (char c : std::string("RIFF")) v.push_back(uint8_t(c));
    put32(v, 36 + dataSize);
    for (char c : std::string("WAVEfmt ")) v.push_back(uint8_t(c));
    put32(v, 16);
    put16(v, 1);  // PCM
    put16(v, uint32_t(channels));
    put32(v, uint32_t(rate));
    put32(v, uint32_t(rate * channels * 2));
    put16(v, uint32_t(channels * 2));
    put16(v, 16);
    for (char c : std::string("data")) v.push_back(uint8_t(c));
    put32(v, dataSize);
    for (int16_t s : samples) put16(v, uint16_t(s));
    return writeFile(path, v);
}

void makeDirs(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '/') {
            std::string part = path.substr(0, i);
            if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return;
        }
}

void roundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

}  // namespace assetgen
