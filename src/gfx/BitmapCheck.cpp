#include "gfx/BitmapCheck.h"

#include <SDL.h>

namespace {

uint32_t Le16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

constexpr uint32_t kCoreHeader = 12;  // the old header: 16-bit sizes, no compression
constexpr uint32_t kInfoHeader = 40;  // and every later one, which starts the same way
constexpr uint32_t kPlain = 0;        // no compression
constexpr uint32_t kBitFields = 3;    // no compression, channels by masks

}  // namespace

bool BitmapHeaderFits(const uint8_t* head, size_t headBytes, uint64_t fileBytes) {
    if (headBytes < 14 + kCoreHeader || head[0] != 'B' || head[1] != 'M') return false;
    const uint32_t pixelsAt = Le32(head + 10);
    const uint32_t infoSize = Le32(head + 14);
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bits = 0;
    uint32_t compression = kPlain;
    if (infoSize == kCoreHeader) {
        width = Le16(head + 18);
        height = Le16(head + 20);
        bits = Le16(head + 24);
    } else if (infoSize >= kInfoHeader && headBytes >= 14 + kInfoHeader) {
        width = static_cast<int32_t>(Le32(head + 18));
        height = static_cast<int32_t>(Le32(head + 22));  // negative: rows from the top down
        bits = Le16(head + 28);
        compression = Le32(head + 30);
    } else {
        return false;
    }
    if (height < 0) height = -height;
    if (width < 1 || width > kMaxBitmapSide || height < 1 || height > kMaxBitmapSide) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    // Run-length coded pixels are not refused for their size alone: a few
    // bytes can declare any image. The game's own files are never coded.
    if (compression != kPlain && !(compression == kBitFields && (bits == 16 || bits == 32))) return false;
    // The pixels follow the headers, and every row (padded to four bytes) is there.
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    const uint64_t pixelBytes = rowBytes * static_cast<uint64_t>(height);
    return pixelsAt >= 14 + static_cast<uint64_t>(infoSize) && pixelsAt <= fileBytes &&
           pixelBytes <= fileBytes - pixelsAt;
}

SDL_Surface* ReadCheckedBitmap(SDL_RWops* file) {
    const Sint64 start = SDL_RWtell(file);
    const Sint64 end = SDL_RWsize(file);
    if (start < 0 || end < start) return nullptr;
    uint8_t head[kBitmapHeadBytes] = {};
    const size_t got = SDL_RWread(file, head, 1, sizeof head);
    if (!BitmapHeaderFits(head, got, static_cast<uint64_t>(end - start))) return nullptr;
    if (SDL_RWseek(file, start, RW_SEEK_SET) != start) return nullptr;
    return SDL_LoadBMP_RW(file, 0);
}
