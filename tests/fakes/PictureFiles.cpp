#include "fakes/PictureFiles.h"

#include <malloc.h>
#include <spng.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>

// (jpeglib.h needs size_t and FILE declared first.)
#include <jpeglib.h>

#include "pictures/PhotoRead.h"

namespace pictures {

namespace {

void Put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void PutBe32(Bytes& b, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<uint8_t>(v >> shift));
}

void PngChunk(Bytes& png, const char* type, const Bytes& data) {
    PutBe32(png, static_cast<uint32_t>(data.size()));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBe32(png, static_cast<uint32_t>(crc32(0, png.data() + start, static_cast<uInt>(png.size() - start))));
}

// An EXIF segment's body holding only the orientation, little-endian.
Bytes ExifOrientation(int orientation) {
    Bytes b{'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0};
    Put32(b, 8);       // the first directory
    Put16(b, 1);       // one entry
    Put16(b, 0x0112);  // Orientation
    Put16(b, 3);       // SHORT
    Put32(b, 1);
    Put16(b, static_cast<uint32_t>(orientation));
    Put16(b, 0);
    Put32(b, 0);  // no next directory
    return b;
}

}  // namespace

Bytes EncodeJpeg(int w, int h, const PixelAt& pixel, const JpegOptions& options) {
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long outBytes = 0;
    jpeg_mem_dest(&info, &out, &outBytes);
    info.image_width = static_cast<JDIMENSION>(w);
    info.image_height = static_cast<JDIMENSION>(h);
    info.input_components = options.grey ? 1 : 3;
    info.in_color_space = options.grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, options.quality, TRUE);
    if (options.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (options.orientation) {
        const Bytes exif = ExifOrientation(options.orientation);
        jpeg_write_marker(&info, JPEG_APP0 + 1, exif.data(), static_cast<unsigned>(exif.size()));
    }
    std::vector<uint8_t> row(static_cast<size_t>(w) * info.input_components);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < w; ++x) {
            const Rgb c = pixel(x, y);
            if (options.grey) {
                row[x] = c.r;
            } else {
                row[3 * x] = c.r;
                row[3 * x + 1] = c.g;
                row[3 * x + 2] = c.b;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Bytes bytes(out, out + outBytes);
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

bool WritePng(const std::string& path, int w, int h, const PixelAt& pixel) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_png_file(ctx, file);
    spng_set_option(ctx, SPNG_IMG_COMPRESSION_LEVEL, 1);
    spng_ihdr ihdr{static_cast<uint32_t>(w), static_cast<uint32_t>(h), 8, SPNG_COLOR_TYPE_TRUECOLOR, 0, 0, 0};
    spng_set_ihdr(ctx, &ihdr);
    int ret = spng_encode_image(ctx, nullptr, 0, SPNG_FMT_PNG, SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
    std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
    for (int y = 0; y < h && ret == 0; ++y) {
        for (int x = 0; x < w; ++x) {
            const Rgb c = pixel(x, y);
            row[3 * x] = c.r;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.b;
        }
        ret = spng_encode_row(ctx, row.data(), row.size());
    }
    spng_ctx_free(ctx);
    return std::fclose(file) == 0 && ret == SPNG_EOI;
}

bool WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

Bytes CutCoreHeaderBmp() {
    Bytes b{'B', 'M'};
    Put32(b, 26 + 256 * 3);  // the file's size, as it should have been
    Put32(b, 0);
    Put32(b, 26 + 256 * 3);  // where the pixels would start
    Put32(b, 12);            // the core header
    Put16(b, 65280);
    Put16(b, 65535);
    Put16(b, 1);
    Put16(b, 8);
    b.resize(25);
    return b;
}

Bytes RowlessBmp() {
    Bytes b{'B', 'M'};
    Put32(b, 54 + 8192u * 8192u * 3);
    Put32(b, 0);
    Put32(b, 54);
    Put32(b, 40);
    Put32(b, 8192);
    Put32(b, 8192);
    Put16(b, 1);
    Put16(b, 24);
    for (int i = 0; i < 6; ++i) Put32(b, 0);  // no compression, the rest unset
    return b;
}

Bytes OneRowPng() {
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    PutBe32(ihdr, 8192);
    PutBe32(ihdr, 8192);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    PngChunk(png, "IHDR", ihdr);
    Bytes row(1 + 8192 * 3, 0);
    uLongf packed = compressBound(static_cast<uLong>(row.size()));
    Bytes idat(packed);
    compress2(idat.data(), &packed, row.data(), static_cast<uLong>(row.size()), 9);
    idat.resize(packed);
    PngChunk(png, "IDAT", idat);
    PngChunk(png, "IEND", {});
    return png;
}

Bytes PatchedFrameJpeg() {
    Bytes jpeg = EncodeJpeg(128, 128,
                            [](int x, int y) {
                                return Rgb{uint8_t(x * 2), uint8_t(y * 2), 90};
                            },
                            {.quality = 50});
    for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            const size_t length = static_cast<size_t>(jpeg[i + 2] << 8 | jpeg[i + 3]);
            const Bytes frame(jpeg.begin() + static_cast<long>(i), jpeg.begin() + static_cast<long>(i + 2 + length));
            for (size_t k : {i + 5, i + 7}) {
                jpeg[k] = 65500 >> 8;
                jpeg[k + 1] = 65500 & 0xFF;
            }
            jpeg.insert(jpeg.end() - 2, frame.begin(), frame.end());
            break;
        }
    }
    return jpeg;
}

Bytes ManyScansJpeg(int side, int scans) {
    Bytes jpeg = EncodeJpeg(side, side,
                            [](int x, int y) {
                                return Rgb{uint8_t((x + y) / 32), 0, 0};
                            },
                            {.grey = true, .progressive = true, .quality = 50});
    // Each: the one component, its tables, the DC band, refining bit 0 after bit 1; no data.
    const uint8_t scan[] = {0xFF, 0xDA, 0, 8, 1, 1, 0x00, 0, 0, 0x10};
    Bytes more;
    for (int i = 0; i < scans; ++i) more.insert(more.end(), scan, scan + sizeof scan);
    jpeg.insert(jpeg.end() - 2, more.begin(), more.end());
    return jpeg;
}

ReadCost MeasureRead(const std::string& path) {
    int pipeFds[2];
    ReadCost cost;
    if (pipe(pipeFds) != 0) return cost;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        // Free memory kept from the parent is given back, so that the read
        // cannot hide in it; and the peak is counted from here on (the child
        // starts with its parent's).
        malloc_trim(0);
        if (FILE* clear = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", clear);
            std::fclose(clear);
        }
        long pages = 0, resident = 0;
        if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
            std::fclose(statm);
        }
        const double startKb = static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024;
        const auto begin = std::chrono::steady_clock::now();
        std::string why;
        const bool read = ReadOwnPicture(path, why).has_value();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        char line[512];
        const int n = std::snprintf(line, sizeof line, "%d %.1f %.1f %s", read ? 1 : 0,
                                    (static_cast<double>(usage.ru_maxrss) - startKb) / 1024, ms, why.c_str());
        if (write(pipeFds[1], line, static_cast<size_t>(std::min<int>(n, sizeof line - 1))) < 0) _exit(2);
        _exit(0);
    }
    close(pipeFds[1]);
    std::string text;
    char buffer[512];
    for (ssize_t got; (got = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(got));
    close(pipeFds[0]);
    int status = 0;
    if (child > 0) waitpid(child, &status, 0);
    int read = 0, used = 0;
    if (std::sscanf(text.c_str(), "%d %lf %lf %n", &read, &cost.peakMb, &cost.ms, &used) >= 3) {
        cost.read = read == 1;
        cost.why = text.substr(static_cast<size_t>(used));
    } else {
        cost.why = "the reading child ended without a word (status " + std::to_string(status) + ")";
    }
    return cost;
}

}  // namespace pictures
