// PNG pictures with libspng: the header read with the library's own size
// limits set to the game's, and the rows decoded one at a time into the
// reduced square, so that no whole image is ever held.
#include <spng.h>

#include <cstring>

#include "pictures/PhotoDecode.h"

namespace photo {

namespace {

// A chunk larger than a picture file may be, or more of the chunks kept
// beside the image (text, colour profiles) than the second, is refused.
constexpr size_t kMaxChunkBytes = 256u << 20;
constexpr size_t kMaxChunkCache = 32u << 20;
// Where each of the seven passes of an interlaced image puts its pixels in a row.
constexpr int kPassFirst[7] = {0, 4, 0, 2, 0, 1, 0};
constexpr int kPassStep[7] = {8, 8, 4, 4, 2, 2, 1};

struct Png {
    spng_ctx* ctx = spng_ctx_new(0);
    ~Png() { spng_ctx_free(ctx); }
};

std::string Problem(int ret) { return std::string("it cannot be decoded (") + spng_strerror(ret) + ")"; }

// The header; false with the reason. A size over the library's limits is
// named as any other too large picture.
bool Header(Png& png, FILE* file, spng_ihdr& ihdr, std::string& why) {
    if (!png.ctx) {
        why = "there is not enough memory to read it";
        return false;
    }
    spng_set_image_limits(png.ctx, kMaxSide, kMaxSide);
    spng_set_chunk_limits(png.ctx, kMaxChunkBytes, kMaxChunkCache);
    spng_set_png_file(png.ctx, file);
    const int ret = spng_get_ihdr(png.ctx, &ihdr);
    if (ret == SPNG_EUSER_WIDTH || ret == SPNG_EUSER_HEIGHT) {
        // The size as the header gives it, for the message.
        uint8_t b[8] = {};
        std::rewind(file);
        const bool read = std::fseek(file, 16, SEEK_SET) == 0 && std::fread(b, 1, 8, file) == 8;
        const auto be32 = [&b](int i) { return int64_t(b[i]) << 24 | b[i + 1] << 16 | b[i + 2] << 8 | b[i + 3]; };
        why = read ? SizeProblem(be32(0), be32(4)) : "it is larger than 8192 on a side";
        return false;
    }
    if (ret != 0) {
        why = Problem(ret);
        return false;
    }
    return true;
}

}  // namespace

bool ProbePng(FILE* file, int& w, int& h, std::string& why) {
    Png png;
    spng_ihdr ihdr{};
    if (!Header(png, file, ihdr, why)) return false;
    w = static_cast<int>(ihdr.width);
    h = static_cast<int>(ihdr.height);
    return true;
}

SurfaceOwner ReadPng(FILE* file, const ReadLimits& limits, std::string& why) {
    Png png;
    spng_ihdr ihdr{};
    if (!Header(png, file, ihdr, why)) return nullptr;
    int ret = spng_decode_image(png.ctx, nullptr, 0, SPNG_FMT_RGBA8, SPNG_DECODE_PROGRESSIVE | SPNG_DECODE_TRNS);
    if (ret != 0) {
        why = Problem(ret);
        return nullptr;
    }
    const int w = static_cast<int>(ihdr.width), h = static_cast<int>(ihdr.height);
    SquareReducer square(w, h);
    std::vector<uint8_t> row(static_cast<size_t>(w) * 4);
    const bool interlaced = ihdr.interlace_method != 0;
    do {
        if (limits.Over(why)) return nullptr;
        spng_row_info info{};
        ret = spng_get_row_info(png.ctx, &info);
        if (ret != 0) break;
        ret = spng_decode_row(png.ctx, row.data(), row.size());
        if (ret != 0 && ret != SPNG_EOI) break;
        const int pass = interlaced && info.pass >= 0 && info.pass < 7 ? info.pass : 6;
        square.AddRgbaRow(static_cast<int>(info.row_num), row.data(), kPassFirst[pass], kPassStep[pass]);
    } while (ret == 0);
    if (ret != SPNG_EOI) {
        why = Problem(ret);
        return nullptr;
    }
    return square.Finish();
}

}  // namespace photo
