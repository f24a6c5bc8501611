// Figures, not pass or fail: what a player's photo costs at start-up (reading
// a 12-megapixel JPEG and preparing it, beside a whole decode by SDL_image),
// what each file that lies about itself costs to read (its peak memory in a
// child process, and time), and the memory the prepared pictures take, one
// and the most the game takes.
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

#include "fakes/PictureFiles.h"
#include "pictures/OwnPictures.h"
#include "pictures/PhotoRead.h"

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
            std::printf("%-52s median %8.1f ms\n", "4000x3000 JPEG, whole decode (SDL_image) and prepare",
                        MedianMs(5, [&] {
                            SDL_Surface* whole = IMG_Load(jpeg.c_str());
                            if (whole) (void)PreparePicture(whole);
                            SDL_FreeSurface(whole);
                        }));
            std::printf("%-52s median %8.1f ms\n", "4000x3000 JPEG, ReadOwnPicture (reduced decode)",
                        MedianMs(5, [&] { (void)ReadOwnPicture(jpeg, why); }));
            const pictures::ReadCost cost = pictures::MeasureRead(jpeg);
            std::printf("%-52s peak %6.1f MB\n", "4000x3000 JPEG, ReadOwnPicture", cost.peakMb);
        }
        // Files that lie, and the largest picture taken.
        const std::string d = dir;
        const auto quarters = [](int x, int y) {
            return Rgb{uint8_t(x < 4096 ? 200 : 20), uint8_t(y < 4096 ? 40 : 220), 90};
        };
        const struct {
            const char* name;
            std::string path;
            bool made;
        } files[] = {
            {"BMP core header cut at 25 bytes", d + "/core.bmp",
             pictures::WriteBytes(d + "/core.bmp", pictures::CutCoreHeaderBmp())},
            {"BMP 8192x8192 with no rows (54 bytes)", d + "/rowless.bmp",
             pictures::WriteBytes(d + "/rowless.bmp", pictures::RowlessBmp())},
            {"PNG 8192x8192 with one row", d + "/onerow.png",
             pictures::WriteBytes(d + "/onerow.png", pictures::OneRowPng())},
            {"JPEG frame header patched to 65500x65500", d + "/patched.jpg",
             pictures::WriteBytes(d + "/patched.jpg", pictures::PatchedFrameJpeg())},
            {"JPEG 4096x4096 progressive + 10000 scans", d + "/scans.jpg",
             pictures::WriteBytes(d + "/scans.jpg", pictures::ManyScansJpeg(4096, 10000))},
            {"PNG 8192x8192, real", d + "/large.png", pictures::WritePng(d + "/large.png", 8192, 8192, quarters)},
        };
        for (const auto& file : files) {
            if (!file.made) continue;
            const pictures::ReadCost cost = pictures::MeasureRead(file.path);
            std::printf("%-44s %7.1f ms, peak %6.1f MB: %s\n", file.name, cost.ms, cost.peakMb,
                        cost.read ? "read" : cost.why.c_str());
        }
        std::filesystem::remove_all(dir);
    }
    SDL_FreeSurface(photo);

    const double one = (kPictureSide * kPictureSide + kThumbSide * kThumbSide) * 2.0 / (1 << 20);
    std::printf("%-52s %8.2f MB\n", "memory of one prepared picture", one);
    std::printf("%-52s %8.1f MB\n", "memory of the most pictures taken (100)", one * kMaxOwnPictures);
    return 0;
}
