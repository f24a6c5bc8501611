#include "capture/Capture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "gfx/Surface.h"
#include "platform/Paths.h"

namespace {

int32_t captureCounter = 0;

void Put16(uint8_t* at, uint16_t v) {
    at[0] = v & 0xFF;
    at[1] = v >> 8;
}

void Put32(uint8_t* at, uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = (v >> (8 * i)) & 0xFF;
}

uint32_t Get32(const uint8_t* at) {
    return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

uint16_t Get16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

uint32_t ColorTableBytes(const uint8_t* header) {
    const uint32_t clrUsed = Get32(header + 32);
    const uint16_t bitCount = Get16(header + 14);
    uint32_t entries = clrUsed;
    if (entries == 0) entries = bitCount == 1 ? 2 : bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0;
    return entries * 4;
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

int32_t CaptureCounter() { return captureCounter; }
void ResetCaptureCounter() { captureCounter = 0; }

std::optional<DibFormat> SettleDibFormat(uint16_t bitCount, uint32_t compression) {
    switch (bitCount) {
        case 0:
            if (compression == kBiRle4) return DibFormat{4, kBiRle4};
            if (compression == kBiRle8) return DibFormat{8, kBiRle8};
            return std::nullopt;
        case 1:
            if (compression == kBiRgb) return DibFormat{1, kBiRgb};
            return std::nullopt;
        case 4:
            if (compression == kBiRgb || compression == kBiRle4) return DibFormat{4, compression};
            return std::nullopt;
        case 8:
            if (compression == kBiRgb || compression == kBiRle8) return DibFormat{8, compression};
            return std::nullopt;
        case 24:
            if (compression == kBiRgb) return DibFormat{24, kBiRgb};
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::optional<PackedDib> ConvertToDib(const Surface& shown, uint16_t bitCount, uint32_t compression) {
    const std::optional<DibFormat> format = SettleDibFormat(bitCount, compression);
    if (!format || format->bitCount != 24) return std::nullopt;
    const int width = shown.Width();
    const int height = shown.Height();
    const uint32_t rowBytes = ((24u * width + 31) / 32) * 4;
    const uint32_t imageBytes = rowBytes * height;
    PackedDib dib(40 + imageBytes, 0);
    Put32(&dib[0], 40);
    Put32(&dib[4], static_cast<uint32_t>(width));
    Put32(&dib[8], static_cast<uint32_t>(height));
    Put16(&dib[12], 1);
    Put16(&dib[14], 24);
    Put32(&dib[16], kBiRgb);
    Put32(&dib[20], imageBytes);
    for (int y = 0; y < height; ++y) {
        // Bottom row first.
        uint8_t* out = &dib[40 + static_cast<size_t>(height - 1 - y) * rowBytes];
        const uint16_t* in = shown.Row(y);
        for (int x = 0; x < width; ++x) {
            const uint16_t p = in[x];
            const uint8_t r5 = p >> 11, g6 = (p >> 5) & 0x3F, b5 = p & 0x1F;
            out[3 * x + 0] = static_cast<uint8_t>((b5 << 3) | (b5 >> 2));
            out[3 * x + 1] = static_cast<uint8_t>((g6 << 2) | (g6 >> 4));
            out[3 * x + 2] = static_cast<uint8_t>((r5 << 3) | (r5 >> 2));
        }
    }
    return dib;
}

uint16_t WriteBitmapFile(const PackedDib* dib, const std::string& path) {
    if (!dib || dib->size() < 40) return kWriteNoDib;
    const uint8_t* header = dib->data();
    if (Get32(header) != 40) return kWriteFailed;
    const uint32_t tableBytes = ColorTableBytes(header);
    const uint32_t compression = Get32(header + 16);
    uint32_t imageBytes;
    if (compression == kBiRle8 || compression == kBiRle4) {
        imageBytes = Get32(header + 20);
    } else {
        const uint32_t width = Get32(header + 4);
        const uint32_t height = Get32(header + 8);
        imageBytes = ((Get16(header + 14) * width + 31) / 32) * 4 * height;
    }
    const size_t dibBytes = 40 + static_cast<size_t>(tableBytes) + imageBytes;
    if (dibBytes > dib->size()) return kWriteFailed;

    uint8_t fileHeader[14] = {'B', 'M'};
    Put32(fileHeader + 2, static_cast<uint32_t>(14 + dibBytes));
    Put32(fileHeader + 10, 14 + 40 + tableBytes);

    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return kWriteFailed;
    // The DIB's own image size is the one the file records.
    PackedDib copy(dib->begin(), dib->begin() + static_cast<std::ptrdiff_t>(dibBytes));
    Put32(&copy[20], imageBytes);
    bool ok = WriteAll(fd, fileHeader, sizeof fileHeader) && WriteAll(fd, copy.data(), copy.size());
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        std::remove(path.c_str());
        return kWriteFailed;
    }
    return kWriteOk;
}

void CaptureScreen(const Surface& shown) {
    const std::optional<PackedDib> dib = ConvertToDib(shown, 24, kBiRgb);
    // Earlier captures are kept: numbers whose file exists are passed over.
    for (int tries = 0; tries < 100000; ++tries) {
        char name[32];
        std::snprintf(name, sizeof name, "GAME%d.bmp", captureCounter);
        const std::string path = HostPath(name);
        if (::access(path.c_str(), F_OK) == 0) {
            ++captureCounter;
            continue;
        }
        WriteBitmapFile(dib ? &*dib : nullptr, path);
        break;
    }
    ++captureCounter;
}
