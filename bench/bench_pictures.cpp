// Figures, not pass or fail: what a player's photo costs at start-up (reading
// a 12-megapixel JPEG and preparing it), and the memory the prepared pictures
// take, one and the most the game takes.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "pictures/OwnPictures.h"

namespace {

using Clock = std::chrono::steady_clock;

double MedianMs(int runs, const std::function<void()>& once) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto begin = Clock::now();
        once();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    constexpr int kW = 4000, kH = 3000;
    SDL_Surface* photo = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!photo) return 1;
    for (int y = 0; y < kH; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(photo->pixels) + y * photo->pitch);
        for (int x = 0; x < kW; ++x) {
            row[x] = 0xFF000000u | uint32_t((x * 7 + y) & 0xFF) << 16 | uint32_t((y / 9) & 0xFF) << 8 |
                     uint32_t(((x ^ y) >> 3) & 0xFF);
        }
    }
    std::printf("%-52s median %8.1f ms\n", "PreparePicture, 4000x3000 decoded",
                MedianMs(5, [&] { (void)PreparePicture(photo); }));

    char pattern[] = "/tmp/vesk-bench-XXXXXX";
    if (const char* dir = mkdtemp(pattern)) {
        const std::string jpeg = std::string(dir) + "/photo.jpg";
        if (IMG_SaveJPG(photo, jpeg.c_str(), 90) == 0) {
            std::string why;
            std::printf("%-52s median %8.1f ms\n", "ReadOwnPicture, 4000x3000 JPEG (read, decode, prepare)",
                        MedianMs(5, [&] { (void)ReadOwnPicture(jpeg, why); }));
        }
        std::filesystem::remove_all(dir);
    }
    SDL_FreeSurface(photo);

    const double one = (kPictureSide * kPictureSide + kThumbSide * kThumbSide) * 2.0 / (1 << 20);
    std::printf("%-52s %8.2f MB\n", "memory of one prepared picture", one);
    std::printf("%-52s %8.1f MB\n", "memory of the most pictures taken (100)", one * kMaxOwnPictures);
    return 0;
}
