#include "core/int_array.h"

#include <gtest/gtest.h>

#include <vector>

namespace tama05 {
namespace {

TEST(IntArrayTest, AllocateZeroReleasesTheBlock) {
    IntArray array(5);
    EXPECT_EQ(array.count(), 5);
    array.Allocate(0);
    EXPECT_EQ(array.count(), 0);
    EXPECT_TRUE(array.empty());
    array.AllocateFilled(3, -7);
    EXPECT_EQ(array[2], -7);
    array.Allocate(-4);
    EXPECT_EQ(array.count(), 0);
}

TEST(IntArrayTest, FileFormIsCountThenElementsLittleEndian) {
    IntArray array;
    array.AllocateFilled(2, 0);
    array[0] = 100;
    array[1] = -1;
    std::vector<uint8_t> bytes;
    ByteWriter writer(bytes);
    array.WriteTo(writer);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{2, 0, 0, 0, 100, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));

    ByteReader reader(bytes);
    IntArray back;
    ASSERT_EQ(back.ReadFrom(reader), 0);
    ASSERT_EQ(back.count(), 2);
    EXPECT_EQ(back[0], 100);
    EXPECT_EQ(back[1], -1);
}

TEST(IntArrayTest, RefusesCountsTheFileCannotHold) {
    // A hostile count must not allocate: it is checked against the bytes that remain.
    const std::vector<uint8_t> huge = {0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4};
    ByteReader reader(huge);
    IntArray array(3);
    EXPECT_EQ(array.ReadFrom(reader), -1);
    EXPECT_TRUE(array.empty());

    const std::vector<uint8_t> negative = {0xFE, 0xFF, 0xFF, 0xFF};
    ByteReader reader2(negative);
    EXPECT_EQ(array.ReadFrom(reader2), -1);

    const std::vector<uint8_t> aboveMax = {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ByteReader reader3(aboveMax);
    EXPECT_EQ(array.ReadFrom(reader3, 2), -1);
}

}  // namespace
}  // namespace tama05
