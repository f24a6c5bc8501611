// Reading the player's pictures with SDL_image and preparing them for play.
#include "pictures/OwnPictures.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "app/Game.h"
#include "pictures/HollowLook.h"
#include "platform/Paths.h"

namespace fs = std::filesystem;

namespace {

constexpr int kMinSide = 64;
constexpr int kMaxSide = 8192;
constexpr int kMaxAspect = 4;
// An 8192 x 8192 bitmap at 24 bits is about 200 MB: no picture file is bigger.
constexpr uintmax_t kMaxFileBytes = 256u << 20;
constexpr uint16_t kColorKey = Rgb565(0, 255, 0);
// Pure green one step darker: looks the same, is never taken for the key.
constexpr uint16_t kNudgedGreen = kColorKey - (1 << 5);

const char kReadme[] =
    "Your own pictures for Vesk\n"
    "\n"
    "Put PNG, JPEG or BMP files into this folder. Each one becomes a puzzle\n"
    "after Tiger, Bird and Flower, in file-name order, the next time Vesk\n"
    "starts. Choose it on the Options page; when there are more than three\n"
    "pictures, the arrows beside them page through the row.\n"
    "\n"
    "The middle square of a picture is used. A picture must be at least\n"
    "64 x 64 pixels, at most 8192 on a side, and at most four times as long\n"
    "as it is wide. Up to 100 pictures are taken. Vesk only reads them.\n";

struct SdlSurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SdlSurface = std::unique_ptr<SDL_Surface, SdlSurfaceFree>;

SdlSurface NewArgb(int w, int h) {
    return SdlSurface(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888));
}

uint32_t* ArgbRow(SDL_Surface* s, int y) {
    return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch);
}

bool HasPictureExtension(const fs::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".png" || ext == ".jpg" || ext == ".jpeg" || ext == ".bmp";
}

std::string SizeText(int w, int h) { return " (" + std::to_string(w) + "x" + std::to_string(h) + ")"; }

// What keeps an image of w x h out of the game; empty when nothing does.
std::string SizeProblem(int w, int h) {
    if (w > kMaxSide || h > kMaxSide) return "it is larger than 8192 on a side" + SizeText(w, h);
    if (w < kMinSide || h < kMinSide) return "it is smaller than 64x64" + SizeText(w, h);
    if (w > kMaxAspect * h || h > kMaxAspect * w) {
        return "it is more than four times as long as it is wide" + SizeText(w, h);
    }
    return {};
}

uint32_t Be16(const std::vector<uint8_t>& b, size_t i) { return static_cast<uint32_t>(b[i] << 8 | b[i + 1]); }
uint32_t Le32(const std::vector<uint8_t>& b, size_t i) {
    return static_cast<uint32_t>(b[i]) | static_cast<uint32_t>(b[i + 1]) << 8 | static_cast<uint32_t>(b[i + 2]) << 16 |
           static_cast<uint32_t>(b[i + 3]) << 24;
}

// The markers of a JPEG file: its size from the frame header, and whether
// the file reaches its end-of-image marker (a file cut short does not; the
// decoder would fill the missing part with grey).
struct JpegWalk {
    bool whole = false;
    int w = 0, h = 0;
};

JpegWalk WalkJpeg(const std::vector<uint8_t>& b) {
    JpegWalk walk;
    const size_t n = b.size();
    size_t i = 2;  // after the start-of-image marker
    while (i < n && b[i] == 0xFF) {
        while (i < n && b[i] == 0xFF) ++i;  // fill bytes
        if (i >= n) break;
        const uint8_t marker = b[i++];
        if (marker == 0xD9) {
            walk.whole = true;
            break;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length follows
        if (i + 2 > n) break;
        const size_t length = Be16(b, i);
        if (length < 2 || i + length > n) break;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && length >= 7) {
            walk.h = static_cast<int>(Be16(b, i + 3));
            walk.w = static_cast<int>(Be16(b, i + 5));
        }
        i += length;
        if (marker == 0xDA) {
            // Coded data runs to the next marker that is neither a stuffed
            // byte nor a restart.
            while (i + 1 < n && !(b[i] == 0xFF && b[i + 1] != 0x00 && (b[i + 1] < 0xD0 || b[i + 1] > 0xD7))) ++i;
            if (i + 1 >= n) break;
        }
    }
    return walk;
}

// The size a PNG or BMP header declares, so that a huge image is refused
// before it is decoded. False when the header does not say.
bool DeclaredSize(const std::vector<uint8_t>& b, const std::string& type, int& w, int& h) {
    if (type == "PNG" && b.size() >= 24) {
        const uint32_t pw = Be16(b, 16) << 16 | Be16(b, 18), ph = Be16(b, 20) << 16 | Be16(b, 22);
        w = static_cast<int>(std::min<uint32_t>(pw, INT32_MAX));
        h = static_cast<int>(std::min<uint32_t>(ph, INT32_MAX));
        return true;
    }
    if (type == "BMP" && b.size() >= 26) {
        if (Le32(b, 14) == 12) {  // the old core header: 16-bit sizes
            w = static_cast<int>(b[18] | b[19] << 8);
            h = static_cast<int>(b[20] | b[21] << 8);
        } else {
            const int64_t bw = static_cast<int32_t>(Le32(b, 18)), bh = static_cast<int32_t>(Le32(b, 22));
            w = static_cast<int>(std::min<int64_t>(bw < 0 ? -bw : bw, INT32_MAX));
            h = static_cast<int>(std::min<int64_t>(bh < 0 ? -bh : bh, INT32_MAX));
        }
        return true;
    }
    return false;
}

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& why) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = std::string("it cannot be read (") + std::strerror(errno ? errno : EACCES) + ")";
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0) {
        why = "it cannot be read";
        return false;
    }
    if (static_cast<uintmax_t>(size) > kMaxFileBytes) {
        why = "it is larger than 256 MB";
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        why = "it cannot be read";
        return false;
    }
    return true;
}

// Halves an image with a 2x2 box filter (an odd last row or column is dropped).
SdlSurface Halve(SDL_Surface* from) {
    const int w = from->w / 2, h = from->h / 2;
    SdlSurface to = NewArgb(w, h);
    if (!to) return nullptr;
    for (int y = 0; y < h; ++y) {
        const uint32_t* a = ArgbRow(from, 2 * y);
        const uint32_t* b = ArgbRow(from, 2 * y + 1);
        uint32_t* out = ArgbRow(to.get(), y);
        for (int x = 0; x < w; ++x) {
            uint32_t p = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const uint32_t sum = ((a[2 * x] >> shift) & 0xFF) + ((a[2 * x + 1] >> shift) & 0xFF) +
                                     ((b[2 * x] >> shift) & 0xFF) + ((b[2 * x + 1] >> shift) & 0xFF);
                p |= ((sum + 2) / 4) << shift;
            }
            out[x] = p;
        }
    }
    return to;
}

// Scales a 32-bit square to side x side: halvings while it is twice as big
// or more, then a linear filter, so that large photos do not sparkle.
SdlSurface ScaleSquare(SDL_Surface* square, int side) {
    SdlSurface halved;
    SDL_Surface* from = square;
    while (from->w >= 2 * side) {
        halved = Halve(from);
        if (!halved) return nullptr;
        from = halved.get();
    }
    SdlSurface to = NewArgb(side, side);
    if (!to || SDL_SoftStretchLinear(from, nullptr, to.get(), nullptr) != 0) return nullptr;
    return to;
}

uint16_t Nudged(uint16_t pixel) { return pixel == kColorKey ? kNudgedGreen : pixel; }

SurfacePtr To565(SDL_Surface* from) {
    auto image = std::make_shared<Surface>(from->w, from->h);
    for (int y = 0; y < from->h; ++y) {
        const uint32_t* row = ArgbRow(from, y);
        uint16_t* out = image->Row(y);
        for (int x = 0; x < from->w; ++x) {
            const uint32_t p = row[x];
            out[x] = Nudged(Rgb565((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
        }
    }
    return image;
}

uint8_t Widen(uint32_t v, int bits) { return static_cast<uint8_t>((v << (8 - bits)) | (v >> (2 * bits - 8))); }

}  // namespace

bool MakePicturesFolder(const std::string& folder) {
    std::error_code ec;
    if (fs::exists(folder, ec)) return true;
    if (!fs::create_directories(folder, ec)) return false;
    std::ofstream readme(fs::path(folder) / "README.txt", std::ios::binary);
    readme << kReadme;
    return static_cast<bool>(readme);
}

std::vector<std::string> OwnPictureNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError) && HasPictureExtension(it->path())) {
            names.push_back(it->path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<OwnPicture> LoadOwnPictures(const std::string& folder, std::ostream& log) {
    const std::vector<std::string> names = OwnPictureNames(folder);

    std::vector<OwnPicture> pictures;
    for (const std::string& name : names) {
        const std::string path = (fs::path(folder) / name).string();
        std::string why;
        std::optional<OwnPicture> picture;
        if (pictures.size() >= kMaxOwnPictures) {
            why = "only the first 100 pictures are taken";
        } else {
            picture = ReadOwnPicture(path, why);
        }
        if (picture) {
            picture->file = name;
            pictures.push_back(*picture);
        } else {
            log << "Vesk: picture " << path << " skipped: " << why << "\n";
        }
    }
    log.flush();
    return pictures;
}

namespace {

// What the file's first bytes and declared size say, before any decoding:
// its type (for SDL_image), or false with `why`.
bool CheckHeader(const std::vector<uint8_t>& bytes, SDL_RWops* file, std::string& type, std::string& why) {
    if (bytes.empty()) {
        why = "it is empty";
        return false;
    }
    if (!file) {
        why = "it cannot be read";
        return false;
    }
    type = IMG_isPNG(file) ? "PNG" : IMG_isJPG(file) ? "JPG" : IMG_isBMP(file) ? "BMP" : "";
    if (type.empty()) {
        why = "it is not a PNG, JPEG or BMP image";
        return false;
    }
    int w = 0, h = 0;
    if (type == "JPG") {
        const JpegWalk walk = WalkJpeg(bytes);
        if (!walk.whole) {
            why = "the JPEG file is cut short or damaged";
            return false;
        }
        w = walk.w;
        h = walk.h;
    } else {
        DeclaredSize(bytes, type, w, h);
    }
    if (w > kMaxSide || h > kMaxSide) {
        why = SizeProblem(w, h);
        return false;
    }
    return true;
}

using RwFile = std::unique_ptr<SDL_RWops, int (*)(SDL_RWops*)>;

RwFile OpenBytes(const std::vector<uint8_t>& bytes) {
    return RwFile(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), SDL_RWclose);
}

}  // namespace

bool CheckOwnPictureHeader(const std::string& path, std::string& why) {
    std::vector<uint8_t> bytes;
    if (!ReadFile(path, bytes, why)) return false;
    const RwFile file = OpenBytes(bytes);
    std::string type;
    return CheckHeader(bytes, file.get(), type, why);
}

std::optional<OwnPicture> ReadOwnPicture(const std::string& path, std::string& why) {
    std::vector<uint8_t> bytes;
    if (!ReadFile(path, bytes, why)) return std::nullopt;
    const RwFile file = OpenBytes(bytes);
    std::string type;
    if (!CheckHeader(bytes, file.get(), type, why)) return std::nullopt;

    SdlSurface image(IMG_LoadTyped_RW(file.get(), 0, type.c_str()));
    if (!image) {
        why = std::string("it cannot be decoded (") + IMG_GetError() + ")";
        return std::nullopt;
    }
    why = SizeProblem(image->w, image->h);
    if (!why.empty()) return std::nullopt;
    OwnPicture picture = PreparePicture(image.get());
    if (!picture.full || !picture.thumb) {
        why = "there is not enough memory to prepare it";
        return std::nullopt;
    }
    return picture;
}

OwnPicture PreparePicture(SDL_Surface* image) {
    if (!image || image->w <= 0 || image->h <= 0) return {};
    SdlSurface argb(SDL_ConvertSurfaceFormat(image, SDL_PIXELFORMAT_ARGB8888, 0));
    if (!argb) return {};
    // The centre square, in place: a view into the converted copy, whose
    // see-through parts are made to show over black.
    const int side = std::min(argb->w, argb->h);
    const int left = (argb->w - side) / 2, top = (argb->h - side) / 2;
    for (int y = 0; y < side; ++y) {
        uint32_t* row = ArgbRow(argb.get(), top + y) + left;
        for (int x = 0; x < side; ++x) {
            const uint32_t p = row[x], a = p >> 24;
            if (a == 0xFF) continue;
            const auto over = [a](uint32_t c) { return (c * a + 127) / 255; };
            row[x] = 0xFF000000u | over((p >> 16) & 0xFF) << 16 | over((p >> 8) & 0xFF) << 8 | over(p & 0xFF);
        }
    }
    SdlSurface square(SDL_CreateRGBSurfaceWithFormatFrom(ArgbRow(argb.get(), top) + left, side, side, 32, argb->pitch,
                                                         SDL_PIXELFORMAT_ARGB8888));
    if (!square) return {};

    SdlSurface full = ScaleSquare(square.get(), kPictureSide);
    if (!full) return {};
    SdlSurface thumb = ScaleSquare(full.get(), kThumbSide);
    if (!thumb) return {};
    return OwnPicture{To565(full.get()), To565(thumb.get()), {}};
}

SurfacePtr CutSquare(const Surface& picture, int x, int y, int size) {
    auto square = std::make_shared<Surface>(size, size);
    const Rect from{x, y, x + size, y + size};
    square->Blit(0, 0, picture, &from, BlitMode::Opaque);
    return square;
}

SurfacePtr HollowTile(const Surface& picture, int size) {
    size = std::clamp(size, 0, std::min(picture.Width(), picture.Height()));
    auto tile = std::make_shared<Surface>(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const uint16_t p = picture.Pixel(x, y);
            const HollowRgb c = HollowPixel(Widen(p >> 11, 5), Widen((p >> 5) & 0x3F, 6), Widen(p & 0x1F, 5), x, y);
            tile->SetPixel(x, y, Nudged(Rgb565(c.r, c.g, c.b)));
        }
    }
    return tile;
}

void Game::CutOwnPicture(int32_t index) {
    const SurfacePtr picture = pictureFull[static_cast<size_t>(index)];
    if (!picture) return;
    // A player's picture has no files: its tiles come from memory.
    blankTile = HollowTile(*picture, tileSize - 2);
    currentPicture = picture;
    for (int32_t row = 0; row < gridSize; ++row) {
        for (int32_t col = 0; col < gridSize; ++col) {
            tileImage[row][col] = CutSquare(*picture, col * tileSize, row * tileSize, tileSize - 2);
        }
    }
}
