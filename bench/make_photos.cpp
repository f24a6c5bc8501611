// Phone-sized photos for the photo benchmark: one 4000x3000 JPEG made with
// SDL_image (a smooth picture with some grain, as a camera's), copied under
// as many names as asked. Usage: vesk_bench_make_photos <folder> <count>.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <folder> <count>\n", argv[0]);
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path folder = argv[1];
    const int count = std::atoi(argv[2]);
    fs::create_directories(folder);
    constexpr int kW = 4000, kH = 3000;
    SDL_Surface* photo = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 24, SDL_PIXELFORMAT_RGB24);
    if (!photo) return 1;
    uint32_t grain = 12345;
    for (int y = 0; y < kH; ++y) {
        auto* row = static_cast<uint8_t*>(photo->pixels) + static_cast<size_t>(y) * photo->pitch;
        for (int x = 0; x < kW; ++x) {
            grain = grain * 1103515245u + 12345u;
            const int noise = static_cast<int>((grain >> 16) & 15) - 8;
            row[3 * x] = static_cast<uint8_t>(std::clamp(x * 255 / kW + noise, 0, 255));
            row[3 * x + 1] = static_cast<uint8_t>(std::clamp(y * 255 / kH + noise, 0, 255));
            row[3 * x + 2] = static_cast<uint8_t>(std::clamp(((x / 40 + y / 40) % 2) * 120 + 60 + noise, 0, 255));
        }
    }
    const fs::path first = folder / "photo000.jpg";
    if (IMG_SaveJPG(photo, first.c_str(), 90) != 0) {
        std::fprintf(stderr, "cannot write %s: %s\n", first.c_str(), IMG_GetError());
        return 1;
    }
    SDL_FreeSurface(photo);
    for (int k = 1; k < count; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "photo%03d.jpg", k);
        fs::copy_file(first, folder / name, fs::copy_options::overwrite_existing);
    }
    if (count == 0) fs::remove(first);
    return 0;
}
