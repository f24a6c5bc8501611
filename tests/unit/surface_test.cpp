// The software frame: opaque and keyed copies, and copies refused whole at
// the edges rather than clipped.
#include <gtest/gtest.h>

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
