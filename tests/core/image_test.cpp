#include "core/image.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/limits.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

TEST(ImageTest, StrideRoundsThreeBytesAPixelUpToFour) {
    EXPECT_EQ(StrideFor(1), 4);
    EXPECT_EQ(StrideFor(4), 12);
    EXPECT_EQ(StrideFor(5), 16);
    EXPECT_EQ(StrideFor(120), 360);
}

TEST(ImageTest, CreateAllocatesStrideTimesHeight) {
    Image image;
    ASSERT_EQ(image.Create(1, 1), 0);
    EXPECT_EQ(image.stride(), 4);
    EXPECT_EQ(image.byteCount(), 4u);
    ASSERT_EQ(image.Create(5, 2), 0);
    EXPECT_EQ(image.stride(), 16);
    EXPECT_EQ(image.byteCount(), 32u);
}

TEST(ImageTest, CreateWithZeroSizeOwnsNoBlock) {
    Image image;
    ASSERT_EQ(image.Create(0, 7), 0);
    EXPECT_TRUE(image.empty());
    EXPECT_EQ(image.byteCount(), 0u);
}

TEST(ImageTest, CreateFilledSetsPaddingToo) {
    Image image;
    ASSERT_EQ(image.CreateFilled(5, 3, 0), 0);
    for (size_t i = 0; i < image.byteCount(); ++i) {
        ASSERT_EQ(image.data()[i], 0) << i;
    }
    ASSERT_EQ(image.CreateFilled(1, 2, 0xAB), 0);
    EXPECT_EQ(image.data()[3], 0xAB);  // a padding byte
    EXPECT_EQ(image.data()[7], 0xAB);
}

TEST(ImageTest, RefusesPicturesBeyondTheBoundBeforeAllocating) {
    Image image;
    EXPECT_EQ(image.Create(1 << 14, (1 << 14) + 1), -1);  // 2^28 + 2^14 pixels
    EXPECT_TRUE(image.empty());
    EXPECT_EQ(image.Create(-1, 10), -1);
    EXPECT_EQ(image.Create(10, -1), -1);
    EXPECT_EQ(image.Create(INT32_MAX, INT32_MAX), -1);
    EXPECT_EQ(image.width(), 0);
}

TEST(ImageTest, CopyFromCopiesPaddingAndSetsHeaders) {
    std::mt19937 rng(1);
    Image source = test::RandomImage(3, 3, rng);
    Image copy;
    ASSERT_EQ(copy.CopyFrom(source), 0);
    ASSERT_EQ(copy.byteCount(), 36u);
    EXPECT_EQ(std::vector<uint8_t>(copy.data(), copy.data() + 36),
              std::vector<uint8_t>(source.data(), source.data() + 36));
    EXPECT_EQ(copy.info.biSizeImage, 36u);
    EXPECT_EQ(copy.fileHeader.bfSize, 90u);
}

TEST(ImageTest, HeadersHaveTheBitmapLayout) {
    Image image;
    image.Create(5, 2);
    image.SetHeaders();
    const std::array<uint8_t, 14> file = {'B', 'M', 86, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    EXPECT_EQ(image.fileHeader.Bytes(), file);
    const std::array<uint8_t, 40> info = {40, 0, 0, 0, 5, 0, 0,  0, 2, 0, 0, 0, 1, 0,
                                          24, 0, 0, 0, 0, 0, 32, 0, 0, 0, 0, 0, 0, 0,
                                          0,  0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0};
    EXPECT_EQ(image.info.Bytes(), info);
}

// A one-row picture whose blue byte is the column number.
Image NumberedColumns(int32_t width) {
    Image image;
    image.CreateFilled(width, 1, 0);
    for (int32_t x = 0; x < width; ++x) {
        image.row(0)[3 * x] = static_cast<uint8_t>(x);
    }
    image.SetHeaders();
    return image;
}

std::vector<int> ScaledColumns(int32_t from, int32_t to) {
    Image source = NumberedColumns(from);
    Image destination;
    EXPECT_EQ(ScaleImage(source, destination, to, 1), 0);
    std::vector<int> columns;
    for (int32_t x = 0; x < to; ++x) {
        columns.push_back(destination.row(0)[3 * x]);
    }
    return columns;
}

TEST(ScaleImageTest, FloatRatioPicksTheColumnBelowExactMultiples) {
    EXPECT_EQ(ScaledColumns(14, 20),
              (std::vector<int>{0, 0, 1, 2, 2, 3, 4, 4, 5, 6, 6, 7, 8, 9, 9, 10, 11, 11, 12, 13}));
}

TEST(ScaleImageTest, ShrinksAndEnlargesByNearestColumn) {
    EXPECT_EQ(ScaledColumns(10, 4), (std::vector<int>{0, 2, 5, 7}));
    EXPECT_EQ(ScaledColumns(2, 5), (std::vector<int>{0, 0, 0, 1, 1}));
}

TEST(ScaleImageTest, RowsCountFromTheBottom) {
    Image source;
    source.CreateFilled(1, 3, 0);
    for (int32_t r = 0; r < 3; ++r) {
        source.row(r)[0] = static_cast<uint8_t>(10 + r);
    }
    Image destination;
    ASSERT_EQ(ScaleImage(source, destination, 1, 2), 0);
    EXPECT_EQ(destination.row(0)[0], 10);
    EXPECT_EQ(destination.row(1)[0], 11);
}

TEST(ScaleImageTest, OnePixelFillsEverything) {
    Image source = test::SolidImage(1, 1, 1, 2, 3);
    Image destination;
    ASSERT_EQ(ScaleImage(source, destination, 64, 64), 0);
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t x = 0; x < 64; ++x) {
            ASSERT_EQ(destination.row(y)[3 * x + 2], 3);
        }
    }
    EXPECT_EQ(destination.info.biWidth, 64);  // headers set
}

TEST(ScaleImageTest, EmptySourceFailsButSizesTheDestination) {
    Image source;
    Image destination;
    EXPECT_EQ(ScaleImage(source, destination, 7, 5), -1);
    EXPECT_EQ(destination.width(), 7);
    EXPECT_EQ(destination.height(), 5);
}

TEST(ScaleImageTest, ScalingIntoItselfWorks) {
    Image image = NumberedColumns(10);
    ASSERT_EQ(ScaleImage(image, image, 4, 1), 0);
    EXPECT_EQ(image.row(0)[3 * 2], 5);
}

}  // namespace
}  // namespace tama05
