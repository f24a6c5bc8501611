// Picture files made for tests and benchmarks: JPEGs (with an EXIF
// orientation, progressive), a large PNG written row by row, and files that
// lie about themselves. Also the cost of reading one, measured in a child
// process.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fakes/TestFolder.h"

namespace pictures {

using Bytes = std::vector<uint8_t>;
using PixelAt = std::function<Rgb(int x, int y)>;

struct JpegOptions {
    bool grey = false;
    bool progressive = false;
    int orientation = 0;  // an EXIF segment with this orientation, when not 0
    int quality = 92;
};

Bytes EncodeJpeg(int w, int h, const PixelAt& pixel, const JpegOptions& options = {});
// An RGB PNG written row by row, so that a large one costs no memory.
bool WritePng(const std::string& path, int w, int h, const PixelAt& pixel);
bool WriteBytes(const std::string& path, const Bytes& bytes);

// Files that lie: each declares more than it holds or asks for more work
// than a picture needs.
Bytes CutCoreHeaderBmp();          // 25 bytes: a 12-byte core header of 65280x65535, cut
Bytes RowlessBmp();                // 54 bytes: 8192x8192 at 24 bits, no pixel rows
Bytes OneRowPng();                 // a PNG of 8192x8192 RGB whose data holds one row
Bytes PatchedFrameJpeg();          // the frame header says 65500x65500; the real one follows the scan
Bytes ManyScansJpeg(int side, int scans);  // progressive grey, with empty DC-refinement scans appended

// The read of one file in a child process: its result, and what it cost.
struct ReadCost {
    bool read = false;
    std::string why;
    double peakMb = 0;  // the child's peak resident memory above its start
    double ms = 0;
};
ReadCost MeasureRead(const std::string& path);

}  // namespace pictures
