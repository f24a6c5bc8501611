// BMP pictures: the headers looked at before SDL reads the file, so that a
// header too short for what it announces, or pixel rows the file cannot
// hold, are refused before any pixel memory is taken; then SDL's reader, and
// the centre square gathered from its rows in bands.
#include <cstring>

#include "pictures/PhotoDecode.h"

namespace photo {

namespace {

constexpr size_t kFileHeader = 14;
constexpr int kBand = 64;

uint32_t Le16(const uint8_t* b) { return uint32_t(b[0]) | uint32_t(b[1]) << 8; }
uint32_t Le32(const uint8_t* b) { return Le16(b) | Le16(b + 2) << 16; }

struct BmpHeader {
    int64_t w = 0, h = 0;
    uint32_t bits = 0, compression = 0, dataOffset = 0;
};

bool ReadHeader(FILE* file, uint64_t fileBytes, BmpHeader& head, std::string& why) {
    uint8_t b[kFileHeader + 40] = {};
    const size_t got = std::fread(b, 1, sizeof b, file);
    std::rewind(file);
    if (got < kFileHeader + 4) {
        why = "the BMP header is cut short";
        return false;
    }
    const uint32_t infoBytes = Le32(b + 14);
    const bool core = infoBytes == 12;
    if (!core && infoBytes < 40) {
        why = "it cannot be decoded (an unknown BMP header)";
        return false;
    }
    if (fileBytes < kFileHeader + infoBytes || got < kFileHeader + (core ? 12 : 40)) {
        why = "the BMP header is cut short";
        return false;
    }
    head.dataOffset = Le32(b + 10);
    if (core) {
        head.w = Le16(b + 18);
        head.h = Le16(b + 20);
        head.bits = Le16(b + 24);
    } else {
        head.w = static_cast<int32_t>(Le32(b + 18));
        head.h = static_cast<int32_t>(Le32(b + 22));
        head.bits = Le16(b + 28);
        head.compression = Le32(b + 30);
    }
    if (head.w < 0) head.w = -head.w;
    if (head.h < 0) head.h = -head.h;
    return true;
}

}  // namespace

bool ProbeBmp(FILE* file, uint64_t fileBytes, int& w, int& h, std::string& why) {
    BmpHeader head;
    if (!ReadHeader(file, fileBytes, head, why)) return false;
    // But for run-length coded ones (whose rows SDL checks as it reads them),
    // the rows lie in the file whole: SDL reads any other kind, even one it
    // does not know, as uncompressed rows into a surface of the declared size.
    const bool plain = head.compression != 1 && head.compression != 2;
    if (plain && head.w > 0 && head.h > 0) {
        const uint64_t rowBytes = (static_cast<uint64_t>(head.w) * head.bits + 31) / 32 * 4;
        if (static_cast<uint64_t>(head.dataOffset) + rowBytes * static_cast<uint64_t>(head.h) > fileBytes) {
            why = "the BMP file cannot hold the " + std::to_string(head.w) + "x" + std::to_string(head.h) +
                  " pixels it declares";
            return false;
        }
    }
    w = static_cast<int>(std::min<int64_t>(head.w, INT32_MAX));
    h = static_cast<int>(std::min<int64_t>(head.h, INT32_MAX));
    return true;
}

SurfaceOwner ReadBmp(FILE* file, uint64_t, const ReadLimits& limits, std::string& why) {
    SDL_RWops* rw = SDL_RWFromFP(file, SDL_FALSE);
    if (!rw) return nullptr;
    SurfaceOwner image(SDL_LoadBMP_RW(rw, 1));
    if (!image) {
        why = std::string("it cannot be decoded (") + SDL_GetError() + ")";
        return nullptr;
    }
    if (limits.Over(why)) return nullptr;
    SquareReducer square(image->w, image->h);
    SurfaceOwner band(SDL_CreateRGBSurfaceWithFormat(0, image->w, kBand, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!band) return nullptr;
    SDL_SetSurfaceBlendMode(image.get(), SDL_BLENDMODE_NONE);
    for (int top = 0; top < image->h; top += kBand) {
        SDL_Rect from{0, top, image->w, std::min(kBand, image->h - top)};
        if (SDL_BlitSurface(image.get(), &from, band.get(), nullptr) != 0) return nullptr;
        for (int y = 0; y < from.h; ++y) {
            square.AddRow(top + y, reinterpret_cast<const uint32_t*>(static_cast<uint8_t*>(band->pixels) +
                                                                    static_cast<size_t>(y) * band->pitch));
        }
    }
    return square.Finish();
}

}  // namespace photo
