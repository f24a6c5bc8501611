#include "gfx/PlainBitmap.h"

#include <algorithm>
#include <vector>

#include "gfx/BitmapCheck.h"

namespace {

uint32_t Le16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

constexpr uint32_t kInfoHeader = 40;
constexpr size_t kChunkBytes = 64 * 1024;  // read this much at a time

}  // namespace

std::unique_ptr<PlainBitmap> PlainBitmap::Open(const std::string& hostPath) {
    std::FILE* file = std::fopen(hostPath.c_str(), "rb");
    if (!file) return nullptr;
    std::unique_ptr<PlainBitmap> bitmap(new PlainBitmap);
    bitmap->file_ = file;
    uint8_t head[kBitmapHeadBytes] = {};
    const size_t got = std::fread(head, 1, sizeof head, file);
    if (std::fseek(file, 0, SEEK_END) != 0) return nullptr;
    const long size = std::ftell(file);
    if (size < 0 || !BitmapHeaderFits(head, got, static_cast<uint64_t>(size))) return nullptr;
    // The checks passed; now only the one kind.
    if (got < kBitmapHeadBytes || Le32(head + 14) != kInfoHeader || Le16(head + 28) != 24 || Le32(head + 30) != 0) {
        return nullptr;
    }
    const auto height = static_cast<int32_t>(Le32(head + 22));
    bitmap->width_ = static_cast<int32_t>(Le32(head + 18));
    bitmap->height_ = height < 0 ? -height : height;
    bitmap->topDown_ = height < 0;
    bitmap->pixelsAt_ = Le32(head + 10);
    bitmap->rowBytes_ = (static_cast<size_t>(bitmap->width_) * 3 + 3) / 4 * 4;
    // Big reads go straight into our own buffer.
    std::setvbuf(file, nullptr, _IONBF, 0);
    return bitmap;
}

PlainBitmap::~PlainBitmap() {
    if (file_) std::fclose(file_);
}

template <typename RowFn>
bool PlainBitmap::ReadRows(int first, int last, RowFn&& row) {
    if (first >= last) return true;
    // The rows in the order they lie in the file, a chunk at a time.
    const int fileFirst = topDown_ ? first : height_ - last;
    const int fileLast = topDown_ ? last : height_ - first;
    const int perChunk = static_cast<int>(std::max<size_t>(1, kChunkBytes / rowBytes_));
    std::vector<uint8_t> chunk(static_cast<size_t>(std::min(perChunk, fileLast - fileFirst)) * rowBytes_);
    if (std::fseek(file_, static_cast<long>(pixelsAt_ + static_cast<uint64_t>(fileFirst) * rowBytes_), SEEK_SET) != 0) {
        return false;
    }
    for (int at = fileFirst; at < fileLast; at += perChunk) {
        const int rows = std::min(perChunk, fileLast - at);
        if (std::fread(chunk.data(), rowBytes_, static_cast<size_t>(rows), file_) != static_cast<size_t>(rows)) {
            return false;
        }
        for (int r = 0; r < rows; ++r) {
            const int fileRow = at + r;
            row(topDown_ ? fileRow : height_ - 1 - fileRow, chunk.data() + static_cast<size_t>(r) * rowBytes_);
        }
    }
    return true;
}

bool PlainBitmap::Read565(int sx, int sy, Surface& out) {
    const int first = std::max(sy, 0);
    const int last = std::min<int64_t>(static_cast<int64_t>(sy) + out.Height(), height_);
    const int left = std::max(sx, 0);
    const int right = std::min<int64_t>(static_cast<int64_t>(sx) + out.Width(), width_);
    return ReadRows(first, last, [&](int y, const uint8_t* bytes) {
        uint16_t* to = out.Row(y - sy);
        for (int x = left; x < right; ++x) {
            const uint8_t* p = bytes + static_cast<size_t>(x) * 3;  // blue, green, red
            to[x - sx] = Rgb565(p[2], p[1], p[0]);
        }
    });
}

bool PlainBitmap::ReadArgb(uint32_t* pixels, int pitch) {
    return ReadRows(0, height_, [&](int y, const uint8_t* bytes) {
        auto* to = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(pixels) + static_cast<ptrdiff_t>(y) * pitch);
        for (int x = 0; x < width_; ++x) {
            const uint8_t* p = bytes + static_cast<size_t>(x) * 3;
            to[x] = 0xFF000000u | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
        }
    });
}
