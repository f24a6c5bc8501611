// The game's images: Windows bitmaps under Tex\, turned into 5-6-5 surfaces,
// whole, as a 60x60 thumbnail, or as one tile. Those of the common kind are
// read straight from the file (PlainBitmap.h), the rest with SDL's BMP reader.
#include <SDL.h>

#include <cstdio>
#include <memory>

#include "app/Game.h"
#include "gfx/BitmapCheck.h"
#include "gfx/PlainBitmap.h"
#include "platform/Paths.h"

namespace {

struct SdlSurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SdlSurface = std::unique_ptr<SDL_Surface, SdlSurfaceFree>;

// Reads a bitmap file as 32-bit pixels; null when it is not a usable bitmap
// (its headers are checked before SDL reads a byte of its pixels).
SdlSurface ReadBitmap(const std::string& gamePath) {
    if (const auto plain = PlainBitmap::Open(HostPath(gamePath))) {
        SdlSurface read(
            SDL_CreateRGBSurfaceWithFormat(0, plain->Width(), plain->Height(), 32, SDL_PIXELFORMAT_ARGB8888));
        if (read && SDL_LockSurface(read.get()) == 0) {
            const bool ok = plain->ReadArgb(static_cast<uint32_t*>(read->pixels), read->pitch);
            SDL_UnlockSurface(read.get());
            if (ok) return read;
        }
    }
    SDL_RWops* file = SDL_RWFromFile(HostPath(gamePath).c_str(), "rb");
    if (!file) return nullptr;
    SdlSurface loaded(ReadCheckedBitmap(file));
    SDL_RWclose(file);
    if (!loaded || loaded->w <= 0 || loaded->h <= 0) return nullptr;
    return SdlSurface(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
}

// Copies the w x h rectangle at (sx, sy) of a 32-bit SDL surface into a new
// 5-6-5 surface; parts that lie outside the bitmap come out black.
SurfacePtr ToSurface(SDL_Surface* from, int sx, int sy, int w, int h) {
    auto image = std::make_shared<Surface>(w, h);
    if (SDL_LockSurface(from) != 0) return image;
    for (int y = 0; y < h; ++y) {
        const int fy = sy + y;
        if (fy < 0 || fy >= from->h) continue;
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(from->pixels) +
                                                            static_cast<size_t>(fy) * from->pitch);
        uint16_t* out = image->Row(y);
        for (int x = 0; x < w; ++x) {
            const int fx = sx + x;
            if (fx < 0 || fx >= from->w) continue;
            const uint32_t p = row[fx];
            out[x] = Rgb565((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        }
    }
    SDL_UnlockSurface(from);
    return image;
}

[[noreturn]] void CantLoad(Game& game, const std::string& path) {
    char text[512];
    std::snprintf(text, sizeof text, "Can't Load %s! Game is Exiting!!", path.c_str());
    game.FailAndExit(text, "DirectDraw", true);
}

// The w x h rectangle at (sx, sy) of a bitmap of the common kind, black
// where it lies outside; null when the file is of another kind (or could not
// be read: SDL's reader then tells).
SurfacePtr ReadPlain(const std::string& gamePath, int sx, int sy, int w, int h) {
    const auto plain = PlainBitmap::Open(HostPath(gamePath));
    if (!plain) return nullptr;
    const bool inside = sx >= 0 && sy >= 0 && sx + w <= plain->Width() && sy + h <= plain->Height();
    auto image = inside ? std::make_shared<Surface>(w, h, Unfilled{}) : std::make_shared<Surface>(w, h);
    return plain->Read565(sx, sy, *image) ? image : nullptr;
}

}  // namespace

SurfacePtr Game::LoadTex(const std::string& path) {
    if (SurfacePtr ahead = imagesAhead.Take(path)) return ahead;
    if (const auto plain = PlainBitmap::Open(HostPath(path))) {
        auto image = std::make_shared<Surface>(plain->Width(), plain->Height(), Unfilled{});
        if (plain->Read565(0, 0, *image)) return image;
    }
    SdlSurface bitmap = ReadBitmap(path);
    if (!bitmap) {
        CantLoad(*this, path);
    }
    return ToSurface(bitmap.get(), 0, 0, bitmap->w, bitmap->h);
}

SurfacePtr Game::LoadTexThumb(const std::string& path) {
    constexpr int kThumb = 60;
    ImagesAhead::Wide ahead = imagesAhead.TakeWide(path);
    SdlSurface bitmap = ahead.pixels.empty()
                            ? ReadBitmap(path)
                            : SdlSurface(SDL_CreateRGBSurfaceWithFormatFrom(ahead.pixels.data(), ahead.width,
                                                                            ahead.height, 32, ahead.width * 4,
                                                                            SDL_PIXELFORMAT_ARGB8888));
    SdlSurface thumb;
    if (bitmap) {
        thumb.reset(SDL_CreateRGBSurfaceWithFormat(0, kThumb, kThumb, 32, SDL_PIXELFORMAT_ARGB8888));
        // A filtering scaler: the thumbnail keeps the picture's detail smooth.
        if (thumb && SDL_SoftStretchLinear(bitmap.get(), nullptr, thumb.get(), nullptr) != 0) thumb.reset();
    }
    if (!thumb) {
        CantLoad(*this, path);
    }
    return ToSurface(thumb.get(), 0, 0, kThumb, kThumb);
}

SurfacePtr Game::LoadTexTile(const std::string& path, int32_t row, int32_t col) {
    const int32_t s = tileSize;
    if (s >= 2) {
        if (SurfacePtr tile = ReadPlain(path, col * s, row * s, s - 2, s - 2)) return tile;
    }
    SdlSurface bitmap = s >= 2 ? ReadBitmap(path) : nullptr;
    if (!bitmap) {
        CantLoad(*this, path);
    }
    return ToSurface(bitmap.get(), col * s, row * s, s - 2, s - 2);
}

void Game::RequireTexSize(const std::string& path, int32_t minSide) {
    // A file of the common kind whose headers pass is read whole by any
    // reader: its size is known without reading a pixel.
    if (const auto plain = PlainBitmap::Open(HostPath(path))) {
        if (plain->Width() < minSide || plain->Height() < minSide) CantLoad(*this, path);
        return;
    }
    SdlSurface bitmap = ReadBitmap(path);
    if (!bitmap || bitmap->w < minSide || bitmap->h < minSide) {
        CantLoad(*this, path);
    }
}
