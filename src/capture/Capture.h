// Screen captures: F9 writes the frame on show as GAME0.bmp, GAME1.bmp, ...,
// 24-bit Windows bitmaps, in the game folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class Surface;

// Writes the shown frame under the next free number of this run. A name that
// already exists is skipped, never overwritten. The capture is written whole
// to a temporary file (GAME-XXXXXX.part) and only then linked under its
// name, so a capture cut short, even by a killed process, never shows as a
// GAME<n>.bmp; a capture that cannot be written leaves no file behind, and
// the game goes on. The counter moves past the number used (or tried) in
// any case.
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
// them; nothing for a pair it refuses (16 or 32 bits, 24 bits with RLE, ...):
//   0 + RLE4 -> 4 RLE4     0 + RLE8 -> 8 RLE8     1 + RGB -> 1 RGB
//   4 + RGB or RLE4 -> 4   8 + RGB or RLE8 -> 8   24 + RGB -> 24 RGB
struct DibFormat {
    uint16_t bitCount;
    uint32_t compression;
};
std::optional<DibFormat> SettleDibFormat(uint16_t bitCount, uint32_t compression);

// The frame as a packed bitmap. Only 24-bit BI_RGB is produced (the one
// format a capture asks for): nothing for a refused pair, for the accepted
// palette formats, or when memory runs out.
std::optional<PackedDib> ConvertToDib(const Surface& shown, uint16_t bitCount, uint32_t compression);

// Result codes of WriteBitmapFile.
constexpr uint16_t kWriteOk = 0;
constexpr uint16_t kWriteNoLock = 3;   // the bitmap cannot be read: shorter than its header says
constexpr uint16_t kWriteFailed = 4;   // no new file could be made, or writing it failed;
                                       // also a header whose size is not 40 (nothing written)
constexpr uint16_t kWriteNoDib = 20;   // no bitmap

// Writes the file header and the packed bitmap to a new file, never over an
// existing one. A write that fails removes the file it made.
uint16_t WriteBitmapFile(const PackedDib* dib, const std::string& path);
