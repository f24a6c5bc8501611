// One picture file: which format it is, its checks, and its reader.
#include "pictures/PhotoRead.h"

#include <cerrno>
#include <cstring>
#include <new>

#include "pictures/PhotoDecode.h"

namespace photo {

namespace {

// An 8192 x 8192 bitmap at 24 bits is about 200 MB: no picture file is bigger.
constexpr uint64_t kMaxFileBytes = 256u << 20;

std::string SizeText(int64_t w, int64_t h) { return " (" + std::to_string(w) + "x" + std::to_string(h) + ")"; }

enum class Format { None, Png, Jpeg, Webp, Bmp };

Format Sniff(FILE* file) {
    uint8_t head[12] = {};
    const size_t got = std::fread(head, 1, sizeof head, file);
    std::rewind(file);
    if (got >= 8 && std::memcmp(head, "\x89PNG\r\n\x1a\n", 8) == 0) return Format::Png;
    if (got >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return Format::Jpeg;
    if (got >= 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WEBP", 4) == 0) return Format::Webp;
    if (got >= 2 && head[0] == 'B' && head[1] == 'M') return Format::Bmp;
    return Format::None;
}

// The file opened and its format known; null, with `why`, when it is refused
// before its header is read.
FileOwner Open(const std::string& path, Format& format, uint64_t& bytes, std::string& why) {
    errno = 0;
    FileOwner file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        why = std::string("it cannot be read (") + std::strerror(errno ? errno : EACCES) + ")";
        return nullptr;
    }
    if (std::fseek(file.get(), 0, SEEK_END) != 0) {
        why = "it cannot be read";
        return nullptr;
    }
    const long size = std::ftell(file.get());
    std::rewind(file.get());
    if (size < 0) {
        why = "it cannot be read";
        return nullptr;
    }
    bytes = static_cast<uint64_t>(size);
    if (bytes == 0) {
        why = "it is empty";
        return nullptr;
    }
    if (bytes > kMaxFileBytes) {
        why = "it is larger than 256 MB";
        return nullptr;
    }
    format = Sniff(file.get());
    if (format == Format::None) {
        why = "it is not a PNG, JPEG, WebP or BMP image";
        return nullptr;
    }
    return file;
}

bool Probe(FILE* file, Format format, uint64_t bytes, std::string& why) {
    int w = 0, h = 0;
    const bool read = format == Format::Png    ? ProbePng(file, w, h, why)
                      : format == Format::Jpeg ? ProbeJpeg(file, w, h, why)
                      : format == Format::Webp ? ProbeWebp(file, w, h, why)
                                               : ProbeBmp(file, bytes, w, h, why);
    std::rewind(file);
    if (!read) return false;
    why = SizeProblem(w, h);
    return why.empty();
}

}  // namespace

bool ReadLimits::Over(std::string& why) const {
    if (stop && stop->load(std::memory_order_relaxed)) {
        why = "the reading was stopped";
        return true;
    }
    if (std::chrono::steady_clock::now() > deadline) {
        why = "it takes longer than 5 seconds to read";
        return true;
    }
    return false;
}

std::string SizeProblem(int64_t w, int64_t h) {
    if (w > kMaxSide || h > kMaxSide) return "it is larger than 8192 on a side" + SizeText(w, h);
    if (w < kMinSide || h < kMinSide) return "it is smaller than 64x64" + SizeText(w, h);
    if (w > kMaxAspect * h || h > kMaxAspect * w) {
        return "it is more than four times as long as it is wide" + SizeText(w, h);
    }
    return {};
}

}  // namespace photo

bool ProbeOwnPicture(const std::string& path, std::string& why) {
    photo::Format format = photo::Format::None;
    uint64_t bytes = 0;
    photo::FileOwner file = photo::Open(path, format, bytes, why);
    return file && photo::Probe(file.get(), format, bytes, why);
}

std::optional<OwnPicture> ReadOwnPicture(const std::string& path, std::string& why, const std::atomic<bool>* stop) {
    using namespace photo;
    const ReadLimits limits{stop, std::chrono::steady_clock::now() + kMaxReadTime};
    Format format = Format::None;
    uint64_t bytes = 0;
    FileOwner file = Open(path, format, bytes, why);
    if (!file || !Probe(file.get(), format, bytes, why)) return std::nullopt;
    SurfaceOwner square;
    try {
        square = format == Format::Png    ? ReadPng(file.get(), limits, why)
                 : format == Format::Jpeg ? ReadJpeg(file.get(), limits, why)
                 : format == Format::Webp ? ReadWebp(file.get(), limits, why)
                                          : ReadBmp(file.get(), bytes, limits, why);
    } catch (const std::bad_alloc&) {
        why.clear();
    }
    if (!square) {
        if (why.empty()) why = "there is not enough memory to read it";
        return std::nullopt;
    }
    OwnPicture picture = PreparePicture(square.get());
    if (!picture.full || !picture.thumb) {
        why = "there is not enough memory to prepare it";
        return std::nullopt;
    }
    return picture;
}
