// WebP pictures with libwebp: the size from its header, then the file fed in
// pieces to the incremental decoder, cropped to the centre square and scaled
// while decoding, the stop checked between pieces.
#include <webp/decode.h>

#include "pictures/PhotoDecode.h"

namespace photo {

namespace {

constexpr size_t kPiece = 64 << 10;
// Enough for any WebP header: the RIFF header and the first chunk's.
constexpr size_t kHeaderBytes = 64;

std::string Problem(VP8StatusCode status) {
    switch (status) {
        case VP8_STATUS_OUT_OF_MEMORY: return "there is not enough memory to read it";
        case VP8_STATUS_UNSUPPORTED_FEATURE: return "it cannot be decoded (an animation or an unknown feature)";
        case VP8_STATUS_NOT_ENOUGH_DATA: return "the WebP file is cut short";
        default: return "it cannot be decoded (damaged WebP data)";
    }
}

struct Decoder {
    WebPIDecoder* idec = nullptr;
    ~Decoder() { WebPIDelete(idec); }
};

}  // namespace

bool ProbeWebp(FILE* file, int& w, int& h, std::string& why) {
    uint8_t head[kHeaderBytes];
    const size_t got = std::fread(head, 1, sizeof head, file);
    WebPBitstreamFeatures features{};
    const VP8StatusCode status = WebPGetFeatures(head, got, &features);
    if (status != VP8_STATUS_OK) {
        why = Problem(status);
        return false;
    }
    w = features.width;
    h = features.height;
    return true;
}

SurfaceOwner ReadWebp(FILE* file, const ReadLimits& limits, std::string& why) {
    int w = 0, h = 0;
    if (!ProbeWebp(file, w, h, why)) return nullptr;
    std::rewind(file);
    const int side = std::min(w, h), out = side / SquareReducer::FactorFor(side);
    SurfaceOwner square(SDL_CreateRGBSurfaceWithFormat(0, out, out, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!square) return nullptr;

    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return nullptr;
    config.options.use_cropping = 1;
    config.options.crop_left = (w - side) / 2;
    config.options.crop_top = (h - side) / 2;
    config.options.crop_width = config.options.crop_height = side;
    if (out != side) {
        config.options.use_scaling = 1;
        config.options.scaled_width = config.options.scaled_height = out;
    }
    // Premultiplied: each pixel as it shows over black.
    config.output.colorspace = MODE_bgrA;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = static_cast<uint8_t*>(square->pixels);
    config.output.u.RGBA.stride = square->pitch;
    config.output.u.RGBA.size = static_cast<size_t>(square->pitch) * out;

    Decoder decoder;
    decoder.idec = WebPIDecode(nullptr, 0, &config);
    if (!decoder.idec) return nullptr;
    std::vector<uint8_t> piece(kPiece);
    VP8StatusCode status = VP8_STATUS_SUSPENDED;
    while (status == VP8_STATUS_SUSPENDED) {
        if (limits.Over(why)) return nullptr;
        const size_t got = std::fread(piece.data(), 1, piece.size(), file);
        if (got == 0) {
            status = VP8_STATUS_NOT_ENOUGH_DATA;
            break;
        }
        status = WebPIAppend(decoder.idec, piece.data(), got);
    }
    if (status != VP8_STATUS_OK) {
        why = Problem(status);
        return nullptr;
    }
    for (int y = 0; y < out; ++y) {
        auto* row =
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(square->pixels) + static_cast<size_t>(y) * square->pitch);
        for (int x = 0; x < out; ++x) row[x] |= 0xFF000000u;
    }
    return square;
}

}  // namespace photo
