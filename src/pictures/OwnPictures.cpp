// Finding the player's pictures and preparing them for play.
#include "pictures/OwnPictures.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "app/Game.h"
#include "pictures/HollowLook.h"
#include "pictures/PhotoRead.h"
#include "platform/Paths.h"

namespace fs = std::filesystem;

namespace {

constexpr uint16_t kColorKey = Rgb565(0, 255, 0);
// Pure green one step darker: looks the same, is never taken for the key.
constexpr uint16_t kNudgedGreen = kColorKey - (1 << 5);

const char kReadme[] =
    "Your own pictures for Vesk\n"
    "\n"
    "Put PNG, JPEG, WebP or BMP files into this folder. Each one becomes a\n"
    "puzzle after Tiger, Bird and Flower, in file-name order, the next time\n"
    "Vesk starts. Choose it on the Options page; when there are more than\n"
    "three pictures, the arrows beside them page through the row.\n"
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
    return ext == ".png" || ext == ".jpg" || ext == ".jpeg" || ext == ".webp" || ext == ".bmp";
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
