#include "core/limits.h"

#include <gtest/gtest.h>

namespace tama05 {
namespace {

TEST(LimitsTest, PictureSizeWithinTheBound) {
    const auto size = CheckPictureSize(16384, 16384);  // exactly 2^28 pixels
    ASSERT_TRUE(size);
    EXPECT_EQ(size->stride, 49152);
    EXPECT_EQ(size->bytes, int64_t{49152} * 16384);
}

TEST(LimitsTest, RefusesPixelCountsAndBlocksBeyondTheBound) {
    EXPECT_FALSE(CheckPictureSize(16384, 16385));
    EXPECT_FALSE(CheckPictureSize(int64_t{1} << 28, 2));
    EXPECT_FALSE(CheckPictureSize(-1, 1));
    EXPECT_FALSE(CheckPictureSize(4, -1));
    EXPECT_FALSE(CheckPictureSize(int64_t{1} << 40, int64_t{1} << 40));
    // Answers are held to half the bound.
    EXPECT_TRUE(CheckPictureSize(16384, 8192, kMaxAnswerPixels));
    EXPECT_FALSE(CheckPictureSize(16384, 8193, kMaxAnswerPixels));
}

TEST(LimitsTest, CheckedMultiplyCatchesOverflow) {
    EXPECT_EQ(CheckedMultiply(3, 4, 12), 12);
    EXPECT_FALSE(CheckedMultiply(3, 5, 12));
    EXPECT_FALSE(CheckedMultiply(INT64_MAX, 2, INT64_MAX));
    EXPECT_EQ(CheckedMultiply(0, INT64_MAX, 0), 0);
    EXPECT_FALSE(CheckedMultiply(-1, 1, 10));
}

}  // namespace
}  // namespace tama05
