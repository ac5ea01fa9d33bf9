#include "painter/canvas_texture.h"

#include <gtest/gtest.h>

#include "painter_test_files.h"

namespace tama05 {
namespace {

// A width × height picture whose pixel (x, memory row r) has all three bytes value(x, r).
template <typename F>
Image Grey(int32_t width, int32_t height, F value) {
    Image image;
    image.CreateFilled(width, height, 0);
    for (int32_t r = 0; r < height; ++r) {
        for (int32_t x = 0; x < width; ++x) {
            for (int b = 0; b < 3; ++b) {
                image.row(r)[3 * x + b] = static_cast<uint8_t>(value(x, r));
            }
        }
    }
    return image;
}

TEST(ResampleBilinear, InterpolatesWithSinglePrecisionRatios) {
    const Image source = Grey(2, 1, [](int x, int) { return x == 0 ? 0 : 255; });
    Image out;
    ASSERT_EQ(ResampleBilinear(source, out, 3, 2), 0);
    // Ratio 2/3 as a float is 0.66666669: column 1 reads 255 × 0.66666669 = 170.000005 → 170;
    // column 2 sits at 1.33 and both neighbours are the last column.
    EXPECT_EQ(out.row(0)[0], 0);
    EXPECT_EQ(out.row(0)[3], 170);
    EXPECT_EQ(out.row(0)[6], 255);
    EXPECT_EQ(out.row(1)[3], 170);
    EXPECT_EQ(out.info.biWidth, 3);
}

TEST(ResampleBilinear, MixesRowsAndColumns) {
    // 2 × 2 with 0, 100 in memory row 0 and 40, 200 in row 1, to 4 × 4: ratios 0.5.
    const Image source = Grey(2, 2, [](int x, int r) { return r == 0 ? x * 100 : 40 + x * 160; });
    Image out;
    ASSERT_EQ(ResampleBilinear(source, out, 4, 4), 0);
    // Row 1 sits at 0.5: halfway between the rows; column 1 at 0.5 between the columns.
    // 0.5 × (0.5 × 0 + 0.5 × 100) + 0.5 × (0.5 × 40 + 0.5 × 200) = 25 + 60 = 85.
    EXPECT_EQ(out.row(1)[3], 85);
    EXPECT_EQ(out.row(0)[3], 50);
    EXPECT_EQ(out.row(3)[9], 200);
}

TEST(PrepareTexture, ThresholdLimitAndStretch) {
    const Image texture = Grey(256, 1, [](int x, int) { return x; });
    Image working;
    int8_t threshold = -128;
    ASSERT_EQ(PrepareTexture(texture, threshold, 0, working), 0);
    EXPECT_EQ(threshold, -127);  // limited and written back
    // h = −254: every byte b becomes trunc((b + 254) × 255 ÷ 509).
    EXPECT_EQ(working.row(0)[0], 127);  // 254 × 255 / 509 = 127.25
    EXPECT_EQ(working.row(0)[3 * 255], 255);
    EXPECT_EQ(working.row(0)[3 * 100], 177);  // 354 × 255 / 509 = 177.35
}

TEST(PrepareTexture, ThresholdOf127MakesTheTextureNearlyBlackAndWhite) {
    const Image texture = Grey(256, 1, [](int x, int) { return x; });
    Image working;
    int8_t threshold = 127;
    ASSERT_EQ(PrepareTexture(texture, threshold, 0, working), 0);
    // h = 254, divisor 1: below 254 black, 254 stays 0, 255 becomes 255.
    for (int x = 0; x < 254; ++x) {
        ASSERT_EQ(working.row(0)[3 * x], 0) << x;
    }
    EXPECT_EQ(working.row(0)[3 * 254], 0);
    EXPECT_EQ(working.row(0)[3 * 255], 255);

    // Only the first byte decides black; the others are stretched and limited.
    Image mixed;
    mixed.CreateFilled(1, 1, 0);
    mixed.data()[0] = 255;
    mixed.data()[1] = 100;
    mixed.data()[2] = 255;
    ASSERT_EQ(PrepareTexture(mixed, threshold, 0, working), 0);
    EXPECT_EQ(working.data()[0], 255);
    EXPECT_EQ(working.data()[1], 0);
    EXPECT_EQ(working.data()[2], 255);
}

TEST(PrepareTexture, ScalePercentSetsTheSize) {
    const Image texture = Grey(10, 4, [](int, int) { return 9; });
    Image working;
    int8_t threshold = 0;
    ASSERT_EQ(PrepareTexture(texture, threshold, 50, working), 0);
    EXPECT_EQ(working.width(), 5);
    EXPECT_EQ(working.height(), 2);
    ASSERT_EQ(PrepareTexture(texture, threshold, 1, working), 0);  // at least 1 × 1
    EXPECT_EQ(working.width(), 1);
    EXPECT_EQ(working.height(), 1);
    ASSERT_EQ(PrepareTexture(texture, threshold, -20, working), 0);
    EXPECT_EQ(working.width(), 1);
    ASSERT_EQ(PrepareTexture(texture, threshold, 127, working), 0);
    EXPECT_EQ(working.width(), 12);  // 127 × 10 × 0.01 = 12.7
    EXPECT_EQ(working.height(), 5);
    EXPECT_EQ(working.data()[0], 9);
}

TEST(BlendTexture, WeighsTargetAgainstPaperByTheTexture) {
    Image target = Grey(3, 2, [](int, int) { return 100; });
    const Image paper = Grey(3, 2, [](int, int) { return 200; });
    // Texture 2 × 1 repeats: columns 0 and 2 read 255, column 1 reads 0.
    const Image texture = Grey(2, 1, [](int x, int) { return x == 0 ? 255 : 0; });
    ASSERT_EQ(BlendTexture(target, texture, paper), 0);
    // x = 255 × 0.0039215689 (the float 1/255) = 1.0000000591: 100.0000059 − 0.0000118 → 99.
    EXPECT_EQ(target.row(0)[0], 99);
    EXPECT_EQ(target.row(0)[3], 200);
    EXPECT_EQ(target.row(1)[6], 99);
    EXPECT_EQ(target.row(0)[9], 0);  // padding untouched
}

TEST(BlendTexture, HalfWeightTruncates) {
    Image target = Grey(1, 1, [](int, int) { return 0; });
    const Image paper = Grey(1, 1, [](int, int) { return 255; });
    const Image texture = Grey(1, 1, [](int, int) { return 128; });
    ASSERT_EQ(BlendTexture(target, texture, paper), 0);
    // (1 − 128 × 0.0039215689) × 255 = 126.99999 → 126.
    EXPECT_EQ(target.data()[0], 126);
}

TEST(BlendTexture, PaperSmallerThanTheTargetIsRefused) {
    Image target = Grey(4, 4, [](int, int) { return 10; });
    const Image texture = Grey(1, 1, [](int, int) { return 0; });
    EXPECT_EQ(BlendTexture(target, texture, Grey(3, 4, [](int, int) { return 1; })), -1);
    EXPECT_EQ(BlendTexture(target, texture, Grey(4, 3, [](int, int) { return 1; })), -1);
    EXPECT_EQ(BlendTexture(target, texture, Image()), -1);
    EXPECT_EQ(target.data()[0], 10);
    // A larger paper is read at the same byte offsets.
    ASSERT_EQ(BlendTexture(target, texture, Grey(8, 4, [](int x, int) { return x; })), 0);
    EXPECT_EQ(target.row(1)[0], 4);  // offset 12 of the paper: its row 0, column 4
}

}  // namespace
}  // namespace tama05
