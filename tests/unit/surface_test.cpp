// The software frame: opaque and keyed copies, and copies refused whole at
// the edges rather than clipped.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "fakes/FakePlatform.h"
#include "gfx/BackBuffer.h"
#include "gfx/Surface.h"

namespace {

constexpr uint16_t kKey = Rgb565(0, 255, 0);

TEST(Surface, PureGreenIsTheKeyValue) {
    EXPECT_EQ(kKey, 0x07E0);
    EXPECT_EQ(Rgb565(255, 255, 255), 0xFFFF);
    EXPECT_EQ(Rgb565(255, 0, 0), 0xF800);
}

TEST(Surface, KeyedCopySkipsKeyPixelsOpaqueCopyPaintsThem) {
    Surface back(800, 600, 0x1234);
    Surface green(4, 4, kKey);
    green.SetColorKey(kKey);

    EXPECT_TRUE(back.Blit(10, 10, green, nullptr, BlitMode::Keyed));
    EXPECT_EQ(back.Pixel(10, 10), 0x1234);
    EXPECT_EQ(back.Pixel(13, 13), 0x1234);

    EXPECT_TRUE(back.Blit(10, 10, green, nullptr, BlitMode::Opaque));
    EXPECT_EQ(back.Pixel(10, 10), kKey);
    EXPECT_EQ(back.Pixel(13, 13), kKey);
    EXPECT_EQ(back.Pixel(14, 14), 0x1234);
}

TEST(Surface, KeyedCopyDrawsEveryOtherPixel) {
    Surface back(20, 20, 0);
    Surface image(3, 1, 0);
    image.SetPixel(0, 0, 0xAAAA);
    image.SetPixel(1, 0, kKey);
    image.SetPixel(2, 0, 0xBBBB);
    image.SetColorKey(kKey);
    back.Blit(5, 5, image, nullptr, BlitMode::Keyed);
    EXPECT_EQ(back.Pixel(5, 5), 0xAAAA);
    EXPECT_EQ(back.Pixel(6, 5), 0);
    EXPECT_EQ(back.Pixel(7, 5), 0xBBBB);
}

TEST(Surface, SourceRectangleSelectsThePart) {
    Surface back(20, 20, 0);
    Surface image(4, 2, 0);
    for (int x = 0; x < 4; ++x) image.SetPixel(x, 1, static_cast<uint16_t>(100 + x));
    const Rect r{2, 1, 4, 2};
    EXPECT_TRUE(back.Blit(0, 0, image, &r, BlitMode::Opaque));
    EXPECT_EQ(back.Pixel(0, 0), 102);
    EXPECT_EQ(back.Pixel(1, 0), 103);
    EXPECT_EQ(back.Pixel(2, 0), 0);
}

TEST(Surface, CopiesLeavingTheSurfaceAreDroppedWhole) {
    Surface back(800, 600, 7);
    Surface image(10, 10, 9);
    EXPECT_FALSE(back.Blit(791, 0, image, nullptr, BlitMode::Opaque));   // reaches x 800
    EXPECT_FALSE(back.Blit(0, 591, image, nullptr, BlitMode::Opaque));   // reaches y 600
    EXPECT_FALSE(back.Blit(-1, 0, image, nullptr, BlitMode::Opaque));
    EXPECT_FALSE(back.Blit(0, -5, image, nullptr, BlitMode::Opaque));
    EXPECT_EQ(back.Pixel(799, 0), 7);
    EXPECT_EQ(back.Pixel(0, 599), 7);
    EXPECT_EQ(back.Pixel(0, 0), 7);
    EXPECT_TRUE(back.Blit(790, 590, image, nullptr, BlitMode::Opaque));  // exactly fits
    EXPECT_EQ(back.Pixel(799, 599), 9);

    const Rect outside{5, 5, 11, 10};  // one column past the image
    EXPECT_FALSE(back.Blit(0, 0, image, &outside, BlitMode::Opaque));
    const Rect negative{-1, 0, 5, 5};
    EXPECT_FALSE(back.Blit(0, 0, image, &negative, BlitMode::Opaque));
    const Rect empty{3, 3, 3, 8};
    EXPECT_FALSE(back.Blit(0, 0, image, &empty, BlitMode::Opaque));
    EXPECT_EQ(back.Pixel(0, 0), 7);
    EXPECT_FALSE(back.Blit(INT32_MAX - 2, 0, image, nullptr, BlitMode::Opaque));
}

// The back buffer keeps a frame's drawing as a list and draws at the flip only
// where it differs from the frame before: after every flip the front must be
// what drawing straight onto it gives, the pixels read before the flip must
// be those, and nothing may change outside the rectangles the flip returns.
TEST(BackBufferTest, FramesLandExactlyAsDrawingStraightOntoTheFront) {
    std::mt19937 random(20261207);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    constexpr int kW = 64;
    constexpr int kH = 48;
    std::vector<SurfacePtr> images;
    for (const auto& [w, h, keyed] : {std::tuple{kW, kH, false}, {20, 12, true}, {9, 9, true}, {30, 5, false}}) {
        auto image = std::make_shared<Surface>(w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) image->SetPixel(x, y, below(3) == 0 ? kKey : static_cast<uint16_t>(random()));
        }
        if (keyed) image->SetColorKey(kKey);
        images.push_back(image);
    }
    struct Draw {
        int image;  // -1: a fill
        uint16_t fill;
        int x, y;
        Rect from;
        BlitMode mode;
    };
    const auto anyDraw = [&] {
        const int i = below(static_cast<int>(images.size()) + 1) - 1;
        if (i < 0) return Draw{-1, static_cast<uint16_t>(random()), 0, 0, {}, BlitMode::Opaque};
        const Surface& image = *images[i];
        const int left = below(image.Width()), top = below(image.Height());
        const Rect from{left, top, left + 1 + below(image.Width() - left), top + 1 + below(image.Height() - top)};
        // Now and then one that doesn't fit, refused by both.
        return Draw{i, 0, below(kW + 4) - 2, below(kH + 4) - 2, below(4) == 0 ? Rect{0, 0, image.Width(), image.Height()} : from,
                    below(2) ? BlitMode::Keyed : BlitMode::Opaque};
    };

    auto front = std::make_shared<Surface>(kW, kH);
    BackBuffer back(front);
    Surface straight(kW, kH);
    std::vector<Draw> frame;
    for (int n = 0; n < 400; ++n) {
        // Mostly the frame before with a change or two, as a game's frames go.
        if (below(5) == 0) frame.clear();
        for (int changes = below(3); changes > 0 || frame.empty(); --changes) {
            const int at = below(static_cast<int>(frame.size()) + 1);
            const int what = below(3);
            if (what == 0 || at == static_cast<int>(frame.size())) {
                frame.insert(frame.begin() + at, anyDraw());
            } else if (what == 1) {
                frame.erase(frame.begin() + at);
            } else {
                frame[at] = anyDraw();
            }
            if (frame.empty() && below(4) == 0) break;  // a frame that draws nothing
        }
        if (below(10) == 0) images[3]->SetPixel(below(30), below(5), static_cast<uint16_t>(random()));
        for (const Draw& d : frame) {
            if (d.image < 0) {
                back.Fill(d.fill);
                straight.Fill(d.fill);
                continue;
            }
            ASSERT_EQ(back.Blit(d.x, d.y, images[d.image], &d.from, d.mode),
                      straight.Blit(d.x, d.y, *images[d.image], &d.from, d.mode));
        }
        const int px = below(kW), py = below(kH);
        ASSERT_EQ(back.Pixel(px, py), straight.Pixel(px, py)) << "frame " << n;
        const Surface before = *front;
        const std::vector<Rect> changed = back.Flip();
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                ASSERT_EQ(front->Pixel(x, y), straight.Pixel(x, y)) << "frame " << n << " at " << x << "," << y;
            }
        }
        ASSERT_TRUE(FakePlatform::SameOutside(before, *front, changed)) << "frame " << n;
    }
}

// A fill reaches every pixel, whether its two bytes are alike or not.
class SurfaceFill : public ::testing::TestWithParam<uint16_t> {};

TEST_P(SurfaceFill, EveryPixelTakesTheValue) {
    Surface s(13, 7, 0x5A5A);
    s.Fill(GetParam());
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) ASSERT_EQ(s.Pixel(x, y), GetParam()) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Values, SurfaceFill, ::testing::Values(0x0000, 0xFFFF, 0x0101, 0x1234, 0x07E0));

}  // namespace
