// Screen captures: F9 writes the frame on show as GAME0.bmp, GAME1.bmp, ...,
// 24-bit Windows bitmaps, in the game folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class Surface;

// Writes the shown frame under the next free number of this run. A name that
// already exists is skipped, never overwritten; a capture that cannot be
// written whole leaves no file behind. The counter advances in any case.
void CaptureScreen(const Surface& shown);

// The number the next capture of this run tries first.
int32_t CaptureCounter();
void ResetCaptureCounter();

// Bitmap compressions.
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;

// A packed bitmap: 40-byte header, colour table, pixel rows bottom-up.
using PackedDib = std::vector<uint8_t>;

// Settles a requested bit count and compression as the bitmap writer accepts
// them; nothing for a pair it refuses (16 or 32 bits, 24 bits with RLE, ...).
struct DibFormat {
    uint16_t bitCount;
    uint32_t compression;
};
std::optional<DibFormat> SettleDibFormat(uint16_t bitCount, uint32_t compression);

// The frame as a packed 24-bit bitmap; nothing for a format the writer does
// not produce (only 24-bit BI_RGB is ever asked for).
std::optional<PackedDib> ConvertToDib(const Surface& shown, uint16_t bitCount, uint32_t compression);

// Result codes of WriteBitmapFile.
constexpr uint16_t kWriteOk = 0;
constexpr uint16_t kWriteNoLock = 3;
constexpr uint16_t kWriteFailed = 4;
constexpr uint16_t kWriteNoDib = 20;

// Writes file header and packed bitmap to a new file (never over an existing
// one); a write that fails removes what it wrote.
uint16_t WriteBitmapFile(const PackedDib* dib, const std::string& path);
