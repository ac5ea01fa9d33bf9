#include "core/byte_reader.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/byte_writer.h"

namespace tama05 {
namespace {

TEST(ByteReaderTest, ReadsLittleEndianFieldsWrittenByTheWriter) {
    std::vector<uint8_t> bytes;
    ByteWriter writer(bytes);
    writer.WriteU8(7);
    writer.WriteU16(0xBEEF);
    writer.WriteI32(-2);
    writer.WriteF32(0.39215687f);
    EXPECT_EQ(bytes.size(), 11u);
    EXPECT_EQ(bytes[1], 0xEF);
    EXPECT_EQ(bytes[2], 0xBE);

    ByteReader reader(bytes);
    uint8_t u8 = 0;
    uint16_t u16 = 0;
    int32_t i32 = 0;
    float f = 0;
    ASSERT_TRUE(reader.ReadU8(u8) && reader.ReadU16(u16) && reader.ReadI32(i32) &&
                reader.ReadF32(f));
    EXPECT_EQ(u8, 7);
    EXPECT_EQ(u16, 0xBEEF);
    EXPECT_EQ(i32, -2);
    EXPECT_EQ(f, 0.39215687f);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(ByteReaderTest, AShortReadFailsAndStaysFailed) {
    const std::vector<uint8_t> bytes = {1, 2, 3};
    ByteReader reader(bytes);
    uint32_t value = 0xFFFFFFFF;
    EXPECT_FALSE(reader.ReadU32(value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
    EXPECT_FALSE(reader.ok());
    uint8_t b = 0;
    EXPECT_FALSE(reader.ReadU8(b));  // sticky, although a byte remains
    EXPECT_EQ(reader.remaining(), 0u);
}

TEST(ByteReaderTest, SkipAndSeekStayInside) {
    const std::vector<uint8_t> bytes(10, 0);
    ByteReader reader(bytes);
    EXPECT_TRUE(reader.Skip(10));
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_TRUE(reader.Seek(3));
    EXPECT_EQ(reader.remaining(), 7u);
    EXPECT_FALSE(reader.Skip(SIZE_MAX));
    EXPECT_FALSE(reader.ok());
}

}  // namespace
}  // namespace tama05
