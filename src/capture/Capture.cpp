#include "capture/Capture.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <new>

#include <sys/stat.h>
#include <unistd.h>

#include "gfx/Surface.h"
#include "platform/Paths.h"

namespace {

int32_t captureCounter = 0;

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kFileHeaderSize = 14;

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

uint64_t ColorTableBytes(const uint8_t* header) {
    uint64_t entries = Get32(header + 32);  // biClrUsed
    if (entries == 0) {
        const uint16_t bitCount = Get16(header + 14);
        entries = bitCount == 1 ? 2 : bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0;
    }
    return entries * 4;
}

// Rows are padded to whole 32-bit words.
uint64_t ImageBytes(uint64_t bitCount, uint64_t width, uint64_t height) {
    return (bitCount * width + 31) / 32 * 4 * height;
}

// A packed bitmap made ready for a file: the file header, the bitmap header
// as written, and the colour table and pixels that follow them.
struct DibFile {
    uint8_t fileHeader[kFileHeaderSize] = {'B', 'M'};
    uint8_t infoHeader[kInfoHeaderSize] = {};
    const uint8_t* rest = nullptr;
    size_t restBytes = 0;
};

uint16_t PrepareDib(const PackedDib* dib, DibFile& out) {
    if (!dib) return kWriteNoDib;
    if (dib->size() < kInfoHeaderSize) return kWriteNoLock;
    const uint8_t* header = dib->data();
    if (Get32(header) != kInfoHeaderSize) return kWriteFailed;

    const uint64_t tableBytes = ColorTableBytes(header);
    const uint32_t compression = Get32(header + 16);
    uint64_t imageBytes;
    if (compression == kBiRle8 || compression == kBiRle4) {
        imageBytes = Get32(header + 20);
    } else {
        imageBytes = ImageBytes(Get16(header + 14), Get32(header + 4), Get32(header + 8));
    }
    const uint64_t dibBytes = kInfoHeaderSize + tableBytes + imageBytes;
    if (dibBytes > dib->size()) return kWriteNoLock;
    if (kFileHeaderSize + dibBytes > UINT32_MAX) return kWriteFailed;

    Put32(out.fileHeader + 2, static_cast<uint32_t>(kFileHeaderSize + dibBytes));
    Put32(out.fileHeader + 10, static_cast<uint32_t>(kFileHeaderSize + kInfoHeaderSize + tableBytes));
    // The header as written records the image size that follows it.
    std::copy(header, header + kInfoHeaderSize, out.infoHeader);
    Put32(out.infoHeader + 20, static_cast<uint32_t>(imageBytes));
    out.rest = header + kInfoHeaderSize;
    out.restBytes = static_cast<size_t>(dibBytes - kInfoHeaderSize);
    return kWriteOk;
}

bool WriteDibTo(std::FILE* file, const DibFile& dib) {
    bool ok = std::fwrite(dib.fileHeader, 1, kFileHeaderSize, file) == kFileHeaderSize;
    ok = ok && std::fwrite(dib.infoHeader, 1, kInfoHeaderSize, file) == kInfoHeaderSize;
    return ok && (dib.restBytes == 0 || std::fwrite(dib.rest, 1, dib.restBytes, file) == dib.restBytes);
}

enum class Outcome { Written, NameTaken, Failed };

// The writer proper; tells a name already in use apart from other failures.
Outcome WriteNewFile(const DibFile& dib, const std::string& path) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "wbx");  // exclusive: never over an existing file
    if (!file) return errno == EEXIST ? Outcome::NameTaken : Outcome::Failed;
    bool ok = WriteDibTo(file, dib);
    ok = (std::fclose(file) == 0) && ok;
    if (!ok) {
        std::remove(path.c_str());
        return Outcome::Failed;
    }
    return Outcome::Written;
}

std::string CapturePath(const std::string& name) { return PlayerPath(name); }

std::string CaptureName(int32_t number) {
    char name[32];
    std::snprintf(name, sizeof name, "GAME%d.bmp", static_cast<int>(number));
    return name;
}

// Captures written straight under the first free name, each made
// exclusively: for file systems without hard links.
void CaptureByExclusiveCreate(const DibFile& dib) {
    // The bound only keeps a folder full of captures from stalling the frame.
    for (int tries = 0; tries < 100000 && captureCounter < INT32_MAX; ++tries) {
        const std::string path = CapturePath(CaptureName(captureCounter));
        const Outcome outcome = WriteNewFile(dib, path);
        if (outcome == Outcome::Written) ReportSavedFile(path);
        ++captureCounter;
        if (outcome != Outcome::NameTaken) return;
    }
}

// The whole capture in a temporary file of its own, flushed to disk; false
// (and no file left) when it could not be made or written.
bool WriteTemporary(const DibFile& dib, std::string& temp) {
    temp = CapturePath("GAME-XXXXXX.part");
    const int fd = mkstemps(temp.data(), 5);
    if (fd < 0) return false;
    const mode_t mask = umask(0);
    umask(mask);
    bool ok = fchmod(fd, 0666 & ~mask) == 0;
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        unlink(temp.c_str());
        return false;
    }
    ok = ok && WriteDibTo(file, dib);
    ok = ok && std::fflush(file) == 0 && fsync(fd) == 0;
    ok = std::fclose(file) == 0 && ok;
    if (!ok) unlink(temp.c_str());
    return ok;
}

// 5 or 6 bits widened to 8, so that full intensity stays full (0x1F -> 0xFF).
inline uint8_t Widen5(uint32_t v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }
inline uint8_t Widen6(uint32_t v) { return static_cast<uint8_t>((v << 2) | (v >> 4)); }

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
    if (width <= 0 || height <= 0) return std::nullopt;
    const size_t rowBytes = static_cast<size_t>(ImageBytes(24, static_cast<uint64_t>(width), 1));
    const size_t imageBytes = rowBytes * static_cast<size_t>(height);
    if (imageBytes > UINT32_MAX - kInfoHeaderSize - kFileHeaderSize) return std::nullopt;

    PackedDib dib;
    try {
        dib.assign(kInfoHeaderSize + imageBytes, 0);
    } catch (const std::bad_alloc&) {
        return std::nullopt;  // no capture this time; the game goes on
    }
    Put32(&dib[0], kInfoHeaderSize);
    Put32(&dib[4], static_cast<uint32_t>(width));
    Put32(&dib[8], static_cast<uint32_t>(height));  // positive: bottom row first
    Put16(&dib[12], 1);
    Put16(&dib[14], 24);
    Put32(&dib[16], kBiRgb);
    Put32(&dib[20], static_cast<uint32_t>(imageBytes));
    for (int y = 0; y < height; ++y) {
        uint8_t* out = &dib[kInfoHeaderSize + static_cast<size_t>(height - 1 - y) * rowBytes];
        const uint16_t* in = shown.Row(y);
        for (int x = 0; x < width; ++x) {
            const uint32_t p = in[x];
            out[0] = Widen5(p & 0x1F);          // blue
            out[1] = Widen6((p >> 5) & 0x3F);   // green
            out[2] = Widen5(p >> 11);           // red
            out += 3;
        }
    }
    return dib;
}

uint16_t WriteBitmapFile(const PackedDib* dib, const std::string& path) {
    DibFile file;
    const uint16_t status = PrepareDib(dib, file);
    if (status != kWriteOk) return status;
    return WriteNewFile(file, path) == Outcome::Written ? kWriteOk : kWriteFailed;
}

void CaptureScreen(const Surface& shown) {
    const std::optional<PackedDib> dib = ConvertToDib(shown, 24, kBiRgb);
    if (!dib) {
        // No bitmap (out of memory): no file is touched, the number is used up.
        if (captureCounter < INT32_MAX) ++captureCounter;
        return;
    }
    DibFile file;
    std::string temp;
    if (PrepareDib(&*dib, file) != kWriteOk || !WriteTemporary(file, temp)) {
        if (captureCounter < INT32_MAX) ++captureCounter;
        return;
    }
    // Linked under the first free name, never over an existing file: a
    // capture only ever shows whole. Earlier captures are kept: a number
    // whose file exists is passed over.
    for (int tries = 0; tries < 100000 && captureCounter < INT32_MAX; ++tries) {
        const std::string path = CapturePath(CaptureName(captureCounter));
        const int linked = link(temp.c_str(), path.c_str());
        const int error = errno;
        if (linked != 0 && (error == EPERM || error == EOPNOTSUPP || error == ENOSYS)) {
            // No hard links on this file system.
            unlink(temp.c_str());
            CaptureByExclusiveCreate(file);
            return;
        }
        ++captureCounter;
        if (linked == 0) ReportSavedFile(path);
        if (linked != 0 && error == EEXIST) continue;
        break;
    }
    unlink(temp.c_str());
}
