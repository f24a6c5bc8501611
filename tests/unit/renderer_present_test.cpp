// Presenting through a renderer: the streaming texture's changed-rectangle
// uploads, the renderer path on SDL's dummy video, and the mouse on a
// scaled output.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "platform/Presenter.h"
#include "platform/RendererPresenter.h"
#include "platform/SdlPlatform.h"
#include "platform/SmallestWindow.h"

namespace {

constexpr size_t kFramePixels = static_cast<size_t>(kScreenWidth) * kScreenHeight;

std::vector<uint32_t> Widened(const std::vector<uint16_t>& frame) {
    std::vector<uint32_t> wide(kFramePixels, 0);
    WidenRect(frame.data(), wide.data(), {0, 0, kScreenWidth, kScreenHeight});
    return wide;
}

// A texture of x8r8g8b8 pixels that takes uploads as SDL_UpdateTexture does.
struct FakeTexture {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(kFramePixels, 0xDEADBEEF);
    int uploads = 0;
    TextureUpload Upload() {
        return [this](const Rect& r, const uint32_t* from, int pitch) {
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= kScreenWidth && r.bottom <= kScreenHeight &&
                        r.left < r.right && r.top < r.bottom);
            ++uploads;
            for (int y = r.top; y < r.bottom; ++y) {
                const uint32_t* row = reinterpret_cast<const uint32_t*>(reinterpret_cast<const uint8_t*>(from) +
                                                                         static_cast<ptrdiff_t>(y - r.top) * pitch);
                std::copy(row, row + (r.right - r.left), pixels.begin() + static_cast<ptrdiff_t>(y) * kScreenWidth + r.left);
            }
            return true;
        };
    }
};

// Frames changed a few rectangles at a time, told by hints that hold the
// changes (tight, loose, overlapping, at the edges), each shown by uploading
// only its changed rectangles: the texture always equals one whole upload.
TEST(RendererUpload, PartialUploadsEndAsAWholeUpload) {
    std::mt19937 random(23);
    std::vector<uint16_t> frame(kFramePixels);
    for (auto& p : frame) p = static_cast<uint16_t>(random());
    std::vector<uint16_t> shown = frame;
    std::vector<uint32_t> wide = Widened(shown);
    FakeTexture texture;
    texture.pixels = wide;
    for (int round = 0; round < 40; ++round) {
        std::vector<Rect> hints;
        for (int spot = 0; spot < 1 + round % 4; ++spot) {
            const int rw = 1 + static_cast<int>(random() % 70);
            const int rh = 1 + static_cast<int>(random() % 70);
            const int x0 = random() % 3 == 0 ? (random() % 2 ? 0 : kScreenWidth - rw)
                                             : static_cast<int>(random() % (kScreenWidth - rw + 1));
            const int y0 = random() % 3 == 0 ? (random() % 2 ? 0 : kScreenHeight - rh)
                                             : static_cast<int>(random() % (kScreenHeight - rh + 1));
            for (int y = y0; y < y0 + rh; ++y) {
                for (int x = x0; x < x0 + rw; ++x) {
                    // Some pixels of the spot keep their colour.
                    if (random() % 4 != 0) frame[static_cast<size_t>(y) * kScreenWidth + x] = static_cast<uint16_t>(random());
                }
            }
            const int grow = static_cast<int>(random() % 20);
            hints.push_back({x0 - grow, y0 - grow, x0 + rw + grow, y0 + rh + grow});
        }
        const int before = texture.uploads;
        const int sent = UploadChanges(frame.data(), shown.data(), wide.data(), hints, texture.Upload());
        ASSERT_GE(sent, 1) << "round " << round;
        EXPECT_EQ(texture.uploads - before, sent);
        ASSERT_TRUE(shown == frame) << "round " << round;
        ASSERT_TRUE(texture.pixels == Widened(frame)) << "round " << round;
    }
    // A still frame uploads nothing.
    EXPECT_EQ(UploadChanges(frame.data(), shown.data(), wide.data(), kWholeFrame, texture.Upload()), 0);
}

TEST(RendererUpload, AFailedUploadIsReported) {
    std::vector<uint16_t> shown(kFramePixels, 0);
    std::vector<uint16_t> frame = shown;
    frame[1000] = 0x1234;
    frame[kFramePixels - 1] = 0x4321;
    std::vector<uint32_t> wide = Widened(shown);
    int calls = 0;
    const int sent = UploadChanges(frame.data(), shown.data(), wide.data(), kWholeFrame,
                                   [&](const Rect&, const uint32_t*, int) { return ++calls != 1; });
    EXPECT_EQ(sent, -1);
    EXPECT_EQ(calls, 2);  // the others are still sent
}

// ---- The renderer path on SDL's dummy video (its software renderer) ----

class RendererPath : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("VESK_NO_MESSAGE_BOX", "1", 1);
        platform = std::make_unique<SdlPlatform>();
        platform->PlayInWindow(true);  // 800x600: the frame at its own size
        platform->PresentThroughRenderer(true);
        ASSERT_EQ(platform->OpenDisplay(), DisplayStep::None) << SDL_GetError();
        platform->ShowMainWindow();
    }
    void TearDown() override { platform.reset(); }

    // What the software renderer left on the window, as x8r8g8b8 (0xRRGGBB).
    std::vector<uint32_t> Shown() {
        SDL_Surface* s = SDL_GetWindowSurface(platform->Window());
        std::vector<uint32_t> out;
        if (!s || s->w != kScreenWidth || s->h != kScreenHeight) return out;
        for (int y = 0; y < s->h; ++y) {
            const auto* row = static_cast<const uint8_t*>(s->pixels) + static_cast<ptrdiff_t>(y) * s->pitch;
            for (int x = 0; x < s->w; ++x) {
                uint8_t r, g, b;
                SDL_GetRGB(reinterpret_cast<const uint32_t*>(row)[x], s->format, &r, &g, &b);
                out.push_back(uint32_t{r} << 16 | g << 8 | b);
            }
        }
        return out;
    }
    static std::vector<uint32_t> Rgb(std::vector<uint32_t> wide) {
        for (auto& p : wide) p &= 0xFFFFFF;
        return wide;
    }

    std::unique_ptr<SdlPlatform> platform;
};

TEST_F(RendererPath, TheFrameAndItsChangesReachTheWindow) {
    EXPECT_TRUE(platform->PresentsThroughRenderer());
    std::mt19937 random(3);
    std::vector<uint16_t> pixels(kFramePixels);
    for (auto& p : pixels) p = static_cast<uint16_t>(random());
    Surface frame(kScreenWidth, kScreenHeight);
    const auto load = [&] {
        for (int y = 0; y < kScreenHeight; ++y)
            std::copy_n(pixels.begin() + static_cast<ptrdiff_t>(y) * kScreenWidth, kScreenWidth, frame.Row(y));
    };
    load();
    platform->Present(frame, kWholeFrame);
    EXPECT_EQ(platform->PresentCount(), 1);
    EXPECT_TRUE(Shown() == Rgb(Widened(pixels)));

    // A still frame is not presented again; a changed one is, changes and all.
    platform->Present(frame, {});
    EXPECT_EQ(platform->PresentCount(), 1);
    for (int x = 300; x < 340; ++x) pixels[static_cast<size_t>(250) * kScreenWidth + x] ^= 0x7BEF;
    load();
    platform->Present(frame, {{290, 240, 350, 260}});
    EXPECT_EQ(platform->PresentCount(), 2);
    EXPECT_TRUE(Shown() == Rgb(Widened(pixels)));
    EXPECT_EQ(platform->Times().wholeRepaints, 1);
}

TEST(PresentPath, TheDummyDriverKeepsTheWindowSurface) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("VESK_NO_MESSAGE_BOX", "1", 1);
    SdlPlatform platform;
    ASSERT_EQ(platform.OpenDisplay(), DisplayStep::None) << SDL_GetError();
    EXPECT_FALSE(platform.PresentsThroughRenderer());
}

TEST(PlayInWindow, TheWindowShrinksNoFurtherThanItsCaptionsAllow) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("VESK_NO_MESSAGE_BOX", "1", 1);
    SdlPlatform platform;
    platform.PlayInWindow(true);
    ASSERT_EQ(platform.OpenDisplay(), DisplayStep::None) << SDL_GetError();
    SDL_SetWindowSize(platform.Window(), 400, 300);
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(platform.Window(), &w, &h);
    EXPECT_EQ(w, kSmallestWindowWidth);
    EXPECT_EQ(h, kSmallestWindowHeight);
    SDL_SetWindowSize(platform.Window(), 1000, 750);
    SDL_GetWindowSize(platform.Window(), &w, &h);
    EXPECT_EQ(w, 1000);  // larger ones as asked
}

// ---- The mouse on a scaled output ----

struct Scaled {
    int w, h;    // the window, in the desktop's units
    int pw, ph;  // its output, in pixels
};

class ScaledMouse : public ::testing::TestWithParam<Scaled> {};

// Every window point gives the frame pixel drawn under it: the point's own
// pixels on the output overlap that frame pixel's pixels in the letterbox
// drawn there.
TEST_P(ScaledMouse, APointGivesTheFramePixelDrawnUnderIt) {
    const Scaled s = GetParam();
    const Letterbox box = LetterboxFor(s.pw, s.ph);
    const auto check = [](int v, int size, int pixels, int boxAt, int boxSize, int frameSize, int f) {
        // In 1/(size * frameSize) of an output pixel, exact.
        const int64_t pointFrom = static_cast<int64_t>(v) * pixels * frameSize;
        const int64_t pointTo = static_cast<int64_t>(v + 1) * pixels * frameSize;
        const int64_t shownFrom = (static_cast<int64_t>(boxAt) * frameSize + static_cast<int64_t>(f) * boxSize) * size;
        const int64_t shownTo = (static_cast<int64_t>(boxAt) * frameSize + static_cast<int64_t>(f + 1) * boxSize) * size;
        return std::max(pointFrom, shownFrom) < std::min(pointTo, shownTo);
    };
    for (int x = 0; x < s.w; ++x) {
        const int middle = static_cast<int>((2 * static_cast<int64_t>(x) + 1) * s.pw / (2 * s.w));
        if (middle < box.x || middle >= box.x + box.w) continue;
        const Point p = FrameFromScaledWindow(x, s.h / 2, s.w, s.h, s.pw, s.ph);
        ASSERT_TRUE(check(x, s.w, s.pw, box.x, box.w, kScreenWidth, p.x)) << "x " << x << " gives " << p.x;
    }
    for (int y = 0; y < s.h; ++y) {
        const int middle = static_cast<int>((2 * static_cast<int64_t>(y) + 1) * s.ph / (2 * s.h));
        if (middle < box.y || middle >= box.y + box.h) continue;
        const Point p = FrameFromScaledWindow(s.w / 2, y, s.w, s.h, s.pw, s.ph);
        ASSERT_TRUE(check(y, s.h, s.ph, box.y, box.h, kScreenHeight, p.y)) << "y " << y << " gives " << p.y;
    }
    // The corners of the frame stay reachable.
    EXPECT_EQ(FrameFromScaledWindow(0, 0, s.w, s.h, s.pw, s.ph), (Point{0, 0}));
    EXPECT_EQ(FrameFromScaledWindow(s.w - 1, s.h - 1, s.w, s.h, s.pw, s.ph), (Point{799, 599}));
}

INSTANTIATE_TEST_SUITE_P(Outputs, ScaledMouse,
                         ::testing::Values(Scaled{1280, 800, 2560, 1600}, Scaled{1281, 801, 2562, 1602},
                                           Scaled{853, 533, 1280, 800}, Scaled{1920, 1080, 3840, 2160},
                                           Scaled{1280, 800, 1280, 800}, Scaled{1000, 700, 2500, 1750}));

}  // namespace
