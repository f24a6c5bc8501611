// JPEG pictures with libjpeg: the size from its own header read, the pixels
// decoded at the largest reduced scale that still gives the square its
// least side, a scan limit and a stop check in the progress monitor, and the
// EXIF orientation read by libexif.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <optional>

// (jpeglib.h needs size_t and FILE declared first.)
#include <jpeglib.h>
#include <jerror.h>
#include <libexif/exif-data.h>

#include "pictures/PhotoDecode.h"

namespace photo {

namespace {

// The largest amount libjpeg may hold at once (a progressive picture's
// coefficients); beyond it, with no backing store, it fails.
constexpr long kMaxJpegMemory = 96L << 20;
constexpr size_t kMaxExifBytes = 65533;

struct Jpeg {
    jpeg_decompress_struct info{};
    jpeg_error_mgr err{};
    jpeg_progress_mgr progress{};
    std::jmp_buf jump{};
    const ReadLimits* limits = nullptr;
    char reason[JMSG_LENGTH_MAX + 64] = {};
    bool cutShort = false;
    std::vector<uint8_t> exif;  // the first Exif APP1 segment's body

    Jpeg() { exif.reserve(kMaxExifBytes); }
    ~Jpeg() { jpeg_destroy_decompress(&info); }
};

Jpeg& Of(j_common_ptr info) { return *static_cast<Jpeg*>(info->client_data); }

// Ends the read: back to the setjmp in Header or Decode. Callers hold no
// object that needs destroying.
[[noreturn]] void Fail(Jpeg& j, const char* why, const char* detail = nullptr) {
    if (detail) {
        std::snprintf(j.reason, sizeof j.reason, "%s (%s)", why, detail);
    } else {
        std::snprintf(j.reason, sizeof j.reason, "%s", why);
    }
    std::longjmp(j.jump, 1);
}

void ErrorExit(j_common_ptr info) {
    Jpeg& j = Of(info);
    if (info->err->msg_code == JERR_NO_BACKING_STORE || info->err->msg_code == JERR_OUT_OF_MEMORY) {
        Fail(j, "it needs more than 96 MB to decode");
    }
    char message[JMSG_LENGTH_MAX];
    info->err->format_message(info, message);
    Fail(j, "it cannot be decoded", message);
}

void EmitMessage(j_common_ptr info, int level) {
    // Warnings are not printed; a file that ends before its pictures does is refused.
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) Of(info).cutShort = true;
}

void Progress(j_common_ptr info) {
    Jpeg& j = Of(info);
    if (j.info.input_scan_number > kMaxScans) Fail(j, "it has more than 500 scans");
    bool over = false;
    if (j.limits) {
        std::string why;
        over = j.limits->Over(why);
        if (over) std::snprintf(j.reason, sizeof j.reason, "%s", why.c_str());
    }
    if (over) std::longjmp(j.jump, 1);
}

// The source's next byte; false at the end of the data.
bool NextByte(j_decompress_ptr info, uint8_t& byte) {
    jpeg_source_mgr* src = info->src;
    if (src->bytes_in_buffer == 0 && !src->fill_input_buffer(info)) return false;
    if (src->bytes_in_buffer == 0) return false;
    --src->bytes_in_buffer;
    byte = *src->next_input_byte++;
    return true;
}

// Every APP1 segment is read through; the first that is Exif is kept.
boolean ReadApp1(j_decompress_ptr info) {
    Jpeg& j = Of(reinterpret_cast<j_common_ptr>(info));
    uint8_t hi = 0, lo = 0;
    if (!NextByte(info, hi) || !NextByte(info, lo)) return TRUE;
    const int length = (hi << 8 | lo) - 2;
    const bool keep = j.exif.empty();
    for (int i = 0; i < length; ++i) {
        uint8_t byte = 0;
        if (!NextByte(info, byte)) break;
        if (keep) j.exif.push_back(byte);
    }
    if (keep && (j.exif.size() < 6 || std::memcmp(j.exif.data(), "Exif\0\0", 6) != 0)) j.exif.clear();
    return TRUE;
}

void Begin(Jpeg& j, FILE* file, const ReadLimits* limits) {
    j.info.err = jpeg_std_error(&j.err);
    j.err.error_exit = ErrorExit;
    j.err.emit_message = EmitMessage;
    j.info.client_data = &j;
    j.limits = limits;
    jpeg_create_decompress(&j.info);
    j.info.mem->max_memory_to_use = kMaxJpegMemory;
    j.progress.progress_monitor = Progress;
    j.info.progress = &j.progress;
    jpeg_stdio_src(&j.info, file);
    jpeg_set_marker_processor(&j.info, JPEG_APP0 + 1, ReadApp1);
}

int Orientation(const std::vector<uint8_t>& exif) {
    if (exif.empty()) return 1;
    ExifData* data = exif_data_new_from_data(exif.data(), static_cast<unsigned>(exif.size()));
    if (!data) return 1;
    int orientation = 1;
    if (ExifEntry* entry = exif_data_get_entry(data, EXIF_TAG_ORIENTATION)) {
        if (entry->format == EXIF_FORMAT_SHORT && entry->components >= 1 && entry->size >= 2) {
            orientation = exif_get_short(entry->data, exif_data_get_byte_order(data));
        }
    }
    exif_data_unref(data);
    return orientation;
}

bool Header(Jpeg& j, int& w, int& h) {
    if (setjmp(j.jump)) return false;
    jpeg_read_header(&j.info, TRUE);
    w = static_cast<int>(j.info.image_width);
    h = static_cast<int>(j.info.image_height);
    return true;
}

uint8_t Ink(uint8_t c, uint8_t k) { return static_cast<uint8_t>((c * k + 127) / 255); }

// From the header on: the scale chosen, the rows given to the reducer.
bool Decode(Jpeg& j, std::optional<SquareReducer>& square) {
    if (setjmp(j.jump)) return false;
    jpeg_read_header(&j.info, TRUE);
    const bool cmyk = j.info.jpeg_color_space == JCS_CMYK || j.info.jpeg_color_space == JCS_YCCK;
    j.info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    j.info.scale_num = 1;
    for (unsigned denom : {8u, 4u, 2u, 1u}) {
        j.info.scale_denom = denom;
        jpeg_calc_output_dimensions(&j.info);
        if (std::min(j.info.output_width, j.info.output_height) >= static_cast<unsigned>(kLeastSquare)) break;
    }
    jpeg_start_decompress(&j.info);
    const int w = static_cast<int>(j.info.output_width), h = static_cast<int>(j.info.output_height);
    square.emplace(w, h);
    JSAMPARRAY row = j.info.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&j.info), JPOOL_IMAGE,
                                              static_cast<JDIMENSION>(w) * 4, 1);
    uint32_t* argb = reinterpret_cast<uint32_t*>(row[0]);
    while (j.info.output_scanline < j.info.output_height) {
        const int y = static_cast<int>(j.info.output_scanline);
        if (jpeg_read_scanlines(&j.info, row, 1) != 1) break;
        if (cmyk) {
            // Stored inverted, as Adobe's files are: ink is the byte's absence.
            for (int x = 0; x < w; ++x) {
                const uint8_t* p = row[0] + 4 * x;
                argb[x] = 0xFF000000u | uint32_t(Ink(p[0], p[3])) << 16 | uint32_t(Ink(p[1], p[3])) << 8 |
                          Ink(p[2], p[3]);
            }
        }
        square->AddRow(y, argb);
    }
    jpeg_finish_decompress(&j.info);
    return true;
}

}  // namespace

bool ProbeJpeg(FILE* file, int& w, int& h, std::string& why) {
    Jpeg j;
    Begin(j, file, nullptr);
    if (!Header(j, w, h)) {
        why = j.reason;
        return false;
    }
    return true;
}

SurfaceOwner ReadJpeg(FILE* file, const ReadLimits& limits, std::string& why) {
    Jpeg j;
    std::optional<SquareReducer> square;
    Begin(j, file, &limits);
    if (!Decode(j, square)) {
        why = j.reason;
        return nullptr;
    }
    if (j.cutShort) {
        why = "the JPEG file is cut short or damaged";
        return nullptr;
    }
    return Upright(square->Finish(), Orientation(j.exif));
}

}  // namespace photo
