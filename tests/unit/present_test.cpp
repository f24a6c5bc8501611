// Presenting: what changed between frames, its scaling onto the screen, and
// the window's own surface on SDL's dummy video.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "platform/FrameDiff.h"
#include "platform/Presenter.h"
#include "platform/SdlPlatform.h"

namespace {

constexpr size_t kFramePixels = static_cast<size_t>(kScreenWidth) * kScreenHeight;

bool Inside(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// ---- What changed ----

class OneChangedPixel : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(OneChangedPixel, GivesOneRectangleOfThatPixel) {
    const auto [x, y] = GetParam();
    std::vector<uint16_t> before(kFramePixels, 0x1234);
    std::vector<uint16_t> now = before;
    now[static_cast<size_t>(y) * kScreenWidth + x] = 0x1235;
    const std::vector<Rect> rects = ChangedRects(before.data(), now.data(), kScreenWidth, kScreenHeight);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].left, x);
    EXPECT_EQ(rects[0].top, y);
    EXPECT_EQ(rects[0].right, x + 1);
    EXPECT_EQ(rects[0].bottom, y + 1);
}

INSTANTIATE_TEST_SUITE_P(Corners, OneChangedPixel,
                         ::testing::Values(std::pair{0, 0}, std::pair{799, 599}, std::pair{799, 0},
                                           std::pair{15, 16}, std::pair{16, 15}, std::pair{401, 303}));

TEST(FrameDiff, AMovedPointerIsTwoSmallRectanglesAndAStillFrameNone) {
    std::vector<uint16_t> before(kFramePixels, 0x4208);
    EXPECT_TRUE(ChangedRects(before.data(), before.data(), kScreenWidth, kScreenHeight).empty());
    std::vector<uint16_t> now = before;
    const auto pointer = [](std::vector<uint16_t>& f, int x0, int y0) {
        for (int y = y0; y < y0 + 27; ++y)
            for (int x = x0; x < x0 + 38; ++x) f[static_cast<size_t>(y) * kScreenWidth + x] = 0xF800;
    };
    pointer(before, 100, 100);
    pointer(now, 610, 95);  // rows shared with the old place: still two pieces
    const std::vector<Rect> rects = ChangedRects(before.data(), now.data(), kScreenWidth, kScreenHeight);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(AreaOf(rects), 2 * 38 * 27);
}

TEST(FrameDiff, RectanglesCoverEveryChangedPixelTightlyWithoutOverlap) {
    std::mt19937 random(7);
    std::vector<uint16_t> before(kFramePixels);
    for (auto& p : before) p = static_cast<uint16_t>(random());
    for (int round = 0; round < 20; ++round) {
        std::vector<uint16_t> now = before;
        const int spots = 1 + static_cast<int>(random() % 12);
        for (int i = 0; i < spots; ++i) {
            const int w = 1 + static_cast<int>(random() % 60);
            const int h = 1 + static_cast<int>(random() % 60);
            const int x0 = static_cast<int>(random() % (kScreenWidth - w + 1));
            const int y0 = static_cast<int>(random() % (kScreenHeight - h + 1));
            for (int y = y0; y < y0 + h; ++y)
                for (int x = x0; x < x0 + w; ++x) now[static_cast<size_t>(y) * kScreenWidth + x] ^= 0x0821;
        }
        const std::vector<Rect> rects = ChangedRects(before.data(), now.data(), kScreenWidth, kScreenHeight);
        std::vector<int> cover(kFramePixels, 0);
        for (const Rect& r : rects) {
            bool leftEdge = false, rightEdge = false, topEdge = false, bottomEdge = false;
            for (int y = r.top; y < r.bottom; ++y) {
                for (int x = r.left; x < r.right; ++x) {
                    const size_t i = static_cast<size_t>(y) * kScreenWidth + x;
                    ++cover[i];
                    if (before[i] == now[i]) continue;
                    leftEdge |= x == r.left;
                    rightEdge |= x == r.right - 1;
                    topEdge |= y == r.top;
                    bottomEdge |= y == r.bottom - 1;
                }
            }
            EXPECT_TRUE(leftEdge && rightEdge && topEdge && bottomEdge) << "not shrunk to its changes, round " << round;
        }
        for (size_t i = 0; i < kFramePixels; ++i) {
            ASSERT_LE(cover[i], 1) << "overlap at " << i % kScreenWidth << "," << i / kScreenWidth;
            if (before[i] != now[i]) {
                ASSERT_EQ(cover[i], 1) << "uncovered " << i % kScreenWidth << "," << i / kScreenWidth;
            }
        }
        // Looked for inside an area only (blocks counted from its corner):
        // every change inside it is covered, nothing outside it.
        const int ax = static_cast<int>(random() % 700), ay = static_cast<int>(random() % 500);
        const Rect area{ax, ay, ax + 1 + static_cast<int>(random() % 300), ay + 1 + static_cast<int>(random() % 300)};
        std::vector<int> inArea(kFramePixels, 0);
        for (const Rect& r : ChangedRects(before.data(), now.data(), kScreenWidth, kScreenHeight, area)) {
            ASSERT_TRUE(r.left >= area.left && r.top >= area.top && r.right <= std::min(area.right, kScreenWidth) &&
                        r.bottom <= std::min(area.bottom, kScreenHeight));
            for (int y = r.top; y < r.bottom; ++y) {
                for (int x = r.left; x < r.right; ++x) ++inArea[static_cast<size_t>(y) * kScreenWidth + x];
            }
        }
        for (size_t i = 0; i < kFramePixels; ++i) {
            const bool wanted = before[i] != now[i] && Inside(area, static_cast<int>(i % kScreenWidth),
                                                              static_cast<int>(i / kScreenWidth));
            if (wanted) {
                ASSERT_EQ(inArea[i], 1) << "uncovered in the area, round " << round;
            }
        }
        before = now;
    }
}

// ---- Scaling onto the screen ----

struct Screen {
    Screen(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, 0xDEADBEEF) {}
    ScreenTarget Target() { return {pixels.data(), width, height, width * 4, PIXMAN_x8r8g8b8}; }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
    // The red, green and blue of every pixel.
    std::vector<uint32_t> Rgb() const {
        std::vector<uint32_t> rgb = pixels;
        for (auto& p : rgb) p &= 0xFFFFFF;
        return rgb;
    }
    int width;
    int height;
    std::vector<uint32_t> pixels;
};

std::vector<uint32_t> Widened(const std::vector<uint16_t>& frame) {
    std::vector<uint32_t> wide(kFramePixels, 0);
    WidenRect(frame.data(), wide.data(), {0, 0, kScreenWidth, kScreenHeight});
    return wide;
}

// The whole window drawn from the frame.
Screen Repainted(const std::vector<uint16_t>& frame, int w, int h) {
    Screen screen(w, h);
    const Letterbox box = LetterboxFor(w, h);
    EXPECT_TRUE(PaintBars(screen.Target(), box));
    EXPECT_TRUE(ScaleRect(Widened(frame).data(), screen.Target(), box, {0, 0, w, h}));
    return screen;
}

class ScreenSize : public ::testing::TestWithParam<std::pair<int, int>> {};

// A changed frame row (or column) alters exactly the screen rows (columns)
// that the scaled rectangle gives: the filter's own output is the judge.
TEST_P(ScreenSize, ScaledRectanglesCoverExactlyThePixelsThatDependOnTheChange) {
    const auto [w, h] = GetParam();
    const Letterbox box = LetterboxFor(w, h);
    const std::vector<uint16_t> black(kFramePixels, 0);
    const Screen before = Repainted(black, w, h);
    // The screen rows (or columns) where after differs from before.
    const auto changedLines = [&](const Screen& after, bool rows) {
        std::vector<uint8_t> differs(rows ? h : w, 0);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const size_t i = static_cast<size_t>(y) * w + x;
                if (after.pixels[i] != before.pixels[i]) differs[rows ? y : x] = 1;
            }
        }
        std::vector<int> lines;
        for (size_t i = 0; i < differs.size(); ++i) {
            if (differs[i]) lines.push_back(static_cast<int>(i));
        }
        return lines;
    };
    const auto range = [](int begin, int end) {
        std::vector<int> v;
        for (int i = begin; i < end; ++i) v.push_back(i);
        return v;
    };
    for (int line : {0, 1, 2, 299, 300, 301, 597, 598, 599, 799}) {
        if (line < kScreenHeight) {
            std::vector<uint16_t> frame = black;
            std::fill_n(frame.begin() + static_cast<ptrdiff_t>(line) * kScreenWidth, kScreenWidth, 0xFFFF);
            const Rect s = ScreenRectFor({0, line, kScreenWidth, line + 1}, box);
            EXPECT_EQ(changedLines(Repainted(frame, w, h), true), range(s.top, s.bottom)) << "frame row " << line;
            EXPECT_EQ(s.left, box.x);
            EXPECT_EQ(s.right, box.x + box.w);
        }
        std::vector<uint16_t> frame = black;
        for (int y = 0; y < kScreenHeight; ++y) frame[static_cast<size_t>(y) * kScreenWidth + line] = 0xFFFF;
        const Rect s = ScreenRectFor({line, 0, line + 1, kScreenHeight}, box);
        EXPECT_EQ(changedLines(Repainted(frame, w, h), false), range(s.left, s.right)) << "frame column " << line;
    }
    // One pixel: everything it alters lies in its rectangle.
    std::vector<uint16_t> frame = black;
    frame[static_cast<size_t>(77) * kScreenWidth + 513] = 0xFFFF;
    const Rect s = ScreenRectFor({513, 77, 514, 78}, box);
    const Screen after = Repainted(frame, w, h);
    int altered = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (after.At(x, y) == before.At(x, y)) continue;
            ++altered;
            EXPECT_TRUE(Inside(s, x, y)) << x << "," << y;
        }
    }
    EXPECT_GT(altered, 0);
}

// Frames changed a few rectangles at a time, each shown by scaling only the
// screen rectangles of its changes, end bit for bit as one whole repaint.
TEST_P(ScreenSize, PartialUpdatesEndAsAWholeRepaint) {
    const auto [w, h] = GetParam();
    const Letterbox box = LetterboxFor(w, h);
    std::mt19937 random(static_cast<unsigned>(w * 7919 + h));
    std::vector<uint16_t> shown(kFramePixels);
    for (auto& p : shown) p = static_cast<uint16_t>(random());
    Screen screen = Repainted(shown, w, h);
    std::vector<uint32_t> wide = Widened(shown);
    const std::vector<uint32_t> first = screen.pixels;
    for (int round = 0; round < 25; ++round) {
        std::vector<uint16_t> now = shown;
        for (int spot = 0; spot < 3; ++spot) {
            const int rw = 1 + static_cast<int>(random() % 50);
            const int rh = 1 + static_cast<int>(random() % 50);
            // Edges and corners as often as the middle.
            const int x0 = random() % 3 == 0 ? (random() % 2 ? 0 : kScreenWidth - rw)
                                             : static_cast<int>(random() % (kScreenWidth - rw + 1));
            const int y0 = random() % 3 == 0 ? (random() % 2 ? 0 : kScreenHeight - rh)
                                             : static_cast<int>(random() % (kScreenHeight - rh + 1));
            const uint16_t colour = static_cast<uint16_t>(random());
            for (int y = y0; y < y0 + rh; ++y)
                for (int x = x0; x < x0 + rw; ++x) now[static_cast<size_t>(y) * kScreenWidth + x] = colour;
        }
        const std::vector<Rect> changed = ChangedRects(shown.data(), now.data(), kScreenWidth, kScreenHeight);
        shown = now;
        for (const Rect& r : changed) WidenRect(shown.data(), wide.data(), r);
        for (const Rect& r : changed) ASSERT_TRUE(ScaleRect(wide.data(), screen.Target(), box, ScreenRectFor(r, box)));
    }
    EXPECT_NE(screen.pixels, first);
    EXPECT_TRUE(screen.pixels == Repainted(shown, w, h).pixels) << w << "x" << h;
}

INSTANTIATE_TEST_SUITE_P(Windows, ScreenSize,
                         ::testing::Values(std::pair{1280, 1024}, std::pair{1920, 1080}, std::pair{1366, 768},
                                           std::pair{1024, 768}, std::pair{640, 480}, std::pair{900, 600},
                                           std::pair{1600, 1200}));

TEST(Presenter, AtTheFramesOwnSizeTheFrameIsCopiedExactlyBetweenBlackBars) {
    std::mt19937 random(3);
    std::vector<uint16_t> frame(kFramePixels);
    for (auto& p : frame) p = static_cast<uint16_t>(random());
    const Screen screen = Repainted(frame, 800, 680);  // the box is 800x600 at (0, 40)
    for (int y = 0; y < 680; ++y) {
        for (int x = 0; x < 800; ++x) {
            uint32_t expected = 0;
            if (y >= 40 && y < 640) {
                const uint16_t p = frame[static_cast<size_t>(y - 40) * kScreenWidth + x];
                const uint32_t r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
                expected = (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
            }
            ASSERT_EQ(screen.At(x, y), expected) << x << "," << y;
        }
    }
}

// ---- The window's own surface, on SDL's dummy video ----

class WindowSurface : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("VESK_NO_MESSAGE_BOX", "1", 1);
        platform = std::make_unique<SdlPlatform>();
        ASSERT_EQ(platform->OpenDisplay(), DisplayStep::None) << SDL_GetError();
        platform->ShowMainWindow();
    }
    void TearDown() override { platform.reset(); }

    // The window surface's pixels as 0xRRGGBB.
    Screen Shown() {
        SDL_Surface* s = SDL_GetWindowSurface(platform->Window());
        EXPECT_NE(s, nullptr);
        Screen screen(s ? s->w : 0, s ? s->h : 0);
        for (int y = 0; y < screen.height; ++y) {
            for (int x = 0; x < screen.width; ++x) {
                uint8_t r, g, b;
                const auto* row = static_cast<const uint8_t*>(s->pixels) + static_cast<ptrdiff_t>(y) * s->pitch;
                SDL_GetRGB(reinterpret_cast<const uint32_t*>(row)[x], s->format, &r, &g, &b);
                screen.pixels[static_cast<size_t>(y) * screen.width + x] = uint32_t{r} << 16 | g << 8 | b;
            }
        }
        return screen;
    }
    void Scribble(int x0, int y0, int w, int h) {
        SDL_Surface* s = SDL_GetWindowSurface(platform->Window());
        const SDL_Rect r{x0, y0, w, h};
        SDL_FillRect(s, &r, SDL_MapRGB(s->format, 1, 2, 3));
    }

    std::unique_ptr<SdlPlatform> platform;
};

TEST_F(WindowSurface, OnlyTheChangeIsDrawnUntilAnExposeRepaintsTheWhole) {
    SDL_Surface* s = SDL_GetWindowSurface(platform->Window());
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->format->BytesPerPixel, 4);
    std::vector<uint16_t> pixels(kFramePixels);
    std::mt19937 random(11);
    for (auto& p : pixels) p = static_cast<uint16_t>(random());
    Surface frame(kScreenWidth, kScreenHeight);
    const auto load = [&] {
        for (int y = 0; y < kScreenHeight; ++y)
            std::copy_n(pixels.begin() + static_cast<ptrdiff_t>(y) * kScreenWidth, kScreenWidth, frame.Row(y));
    };
    load();
    platform->Present(frame, kWholeFrame);
    EXPECT_TRUE(Shown().Rgb() == Repainted(pixels, s->w, s->h).Rgb());

    // Pixels spoilt behind the game's back stay spoilt: a change elsewhere
    // draws only itself.
    Scribble(0, 0, 40, 40);
    const Screen spoilt = Shown();
    pixels[static_cast<size_t>(500) * kScreenWidth + 700] ^= 0xFFFF;
    load();
    platform->Present(frame, {{680, 490, 720, 510}});
    EXPECT_EQ(platform->PresentCount(), 2);
    Screen expected = Repainted(pixels, s->w, s->h);
    const Screen now = Shown();
    const Rect changed = ScreenRectFor({700, 500, 701, 501}, LetterboxFor(s->w, s->h));
    for (int y = 0; y < now.height; ++y) {
        for (int x = 0; x < now.width; ++x) {
            const uint32_t want = Inside(changed, x, y) ? expected.At(x, y) : spoilt.At(x, y);
            ASSERT_EQ(now.At(x, y), want) << x << "," << y;
        }
    }

    // Uncovered: the whole window is drawn again.
    SDL_Event expose{};
    expose.type = SDL_WINDOWEVENT;
    expose.window.event = SDL_WINDOWEVENT_EXPOSED;
    SDL_PushEvent(&expose);
    SDL_PumpEvents();
    platform->Present(frame, {});  // a still frame, but uncovered
    EXPECT_EQ(platform->PresentCount(), 3);
    EXPECT_TRUE(Shown().Rgb() == expected.Rgb());
}

TEST_F(WindowSurface, AResizedWindowIsDrawnWholeAtItsNewSize) {
    std::vector<uint16_t> pixels(kFramePixels);
    std::mt19937 random(5);
    for (auto& p : pixels) p = static_cast<uint16_t>(random());
    Surface frame(kScreenWidth, kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y)
        std::copy_n(pixels.begin() + static_cast<ptrdiff_t>(y) * kScreenWidth, kScreenWidth, frame.Row(y));
    platform->Present(frame, kWholeFrame);
    ASSERT_EQ(SDL_SetWindowFullscreen(platform->Window(), 0), 0) << SDL_GetError();
    SDL_SetWindowSize(platform->Window(), 640, 400);
    SDL_PumpEvents();
    // The same frame: only the new size makes it drawn again.
    platform->Present(frame, kWholeFrame);
    const Screen now = Shown();
    ASSERT_EQ(now.width, 640);
    ASSERT_EQ(now.height, 400);
    EXPECT_TRUE(now.Rgb() == Repainted(pixels, 640, 400).Rgb());
}

}  // namespace
