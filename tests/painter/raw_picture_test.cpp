#include "painter/raw_picture.h"

#include <gtest/gtest.h>

#include "painter_test_files.h"

namespace tama05 {
namespace {

using test::painter::Bytes;

TEST(RunLengthStream, ZeroBytesCountWholeHundredsOfRepetitions) {
    // 7F 00 02 41 01: 7F repeated 256 × 1 + 2 = 258 times, then one 41.
    const Bytes data{0x7F, 0x00, 0x02, 0x41, 0x01};
    ByteReader reader(data);
    Bytes plane(259, 0xAA);
    ASSERT_EQ(DecodeRunLengthStream(reader, plane), 0);
    EXPECT_EQ(std::count(plane.begin(), plane.begin() + 258, 0x7F), 258);
    EXPECT_EQ(plane[258], 0x41);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(RunLengthStream, StopsWhenThePlaneIsFull) {
    const Bytes data{0x05, 0x02, 0x06, 0x01, 0x99};
    ByteReader reader(data);
    Bytes plane(3);
    ASSERT_EQ(DecodeRunLengthStream(reader, plane), 0);
    EXPECT_EQ(plane, (Bytes{5, 5, 6}));
    EXPECT_EQ(reader.position(), 4u);
}

TEST(RunLengthStream, EndOfDataEndsTheStream) {
    // The data ends inside the run length of the second run: that run is not written.
    const Bytes data{0x05, 0x02, 0x06, 0x00};
    ByteReader reader(data);
    Bytes plane(300, 0xAA);
    ASSERT_EQ(DecodeRunLengthStream(reader, plane), 0);
    EXPECT_EQ(plane[0], 5);
    EXPECT_EQ(plane[1], 5);
    EXPECT_EQ(std::count(plane.begin(), plane.end(), 0xAA), 298);
}

TEST(RunLengthStream, RunPastThePlaneIsRefused) {
    Bytes plane(10);
    const Bytes tooLong{0x05, 0x0B};
    ByteReader reader(tooLong);
    EXPECT_EQ(DecodeRunLengthStream(reader, plane), -1);
    // Refused as soon as the zero bytes alone pass the plane, however many follow.
    Bytes manyZeros{0x05};
    manyZeros.insert(manyZeros.end(), 100000, 0);
    ByteReader zeros(manyZeros);
    EXPECT_EQ(DecodeRunLengthStream(zeros, plane), -1);
    EXPECT_LT(zeros.position(), 10u);
}

TEST(RawPicture, PlainBytesFillTheBlockInMemoryOrder) {
    const Bytes block = test::PatternBlock(50, 50);
    const Bytes data = test::painter::RawPlainBlock(Bytes(block.begin(), block.begin() + 100));
    ByteReader reader(data);
    Image image;
    ASSERT_EQ(ReadRawPicture(reader, 50, 50, image), kRawPictureOk);
    EXPECT_EQ(image.width(), 50);
    EXPECT_EQ(image.stride(), 152);
    EXPECT_EQ(image.info.biWidth, 50);
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + 100, image.data()));
    EXPECT_TRUE(std::all_of(image.data() + 100, image.data() + image.byteCount(),
                            [](uint8_t b) { return b == 0; }));
    EXPECT_TRUE(reader.AtEnd());
}

TEST(RawPicture, RunLengthPlanesFillOneByteOfEveryPixelEach) {
    // Stream 0 gives the first byte of each pixel, stream 1 the second, stream 2 the third.
    Bytes data;
    test::painter::PutI32(data, 1);
    test::painter::PutI32(data, 12);
    for (uint8_t b : {0x10, 0x04, 0x20, 0x03, 0x21, 0x01, 0x30, 0x04}) {
        data.push_back(b);
    }
    ByteReader reader(data);
    Image image;
    ASSERT_EQ(ReadRawPicture(reader, 2, 2, image), kRawPictureOk);
    EXPECT_EQ(test::Block(image), (Bytes{0x10, 0x20, 0x30, 0x10, 0x20, 0x30, 0x10, 0x20, 0x30, 0x10,
                                         0x21, 0x30, 0, 0, 0, 0}));
    EXPECT_TRUE(reader.AtEnd());
}

TEST(RawPicture, RunLengthRoundTripOfA100By100Picture) {
    Bytes block(30000);
    for (size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<uint8_t>(i / 700);  // long runs, several beyond 256
    }
    const Bytes data = test::painter::RawRunLengthBlock(block);
    ByteReader reader(data);
    Image image;
    ASSERT_EQ(ReadRawPicture(reader, 100, 100, image), kRawPictureOk);
    EXPECT_EQ(test::Block(image), block);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(RawPicture, OtherModeLeavesThePictureBlack) {
    Bytes data;
    test::painter::PutI32(data, 2);
    test::painter::PutI32(data, 99999);
    data.push_back(0x77);
    ByteReader reader(data);
    Image image;
    ASSERT_EQ(ReadRawPicture(reader, 50, 50, image), kRawPictureOk);
    EXPECT_EQ(image.width(), 50);
    EXPECT_TRUE(std::all_of(image.data(), image.data() + image.byteCount(),
                            [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(reader.position(), 8u);
}

TEST(RawPicture, HostileCountsAreRefusedAndLeaveTheImage) {
    Image image;
    image.CreateFilled(1, 1, 9);
    const auto refuse = [&](int32_t mode, int64_t count, const Bytes& payload) {
        Bytes data;
        test::painter::PutI32(data, mode);
        test::painter::PutI32(data, static_cast<int32_t>(count));
        data.insert(data.end(), payload.begin(), payload.end());
        ByteReader reader(data);
        return ReadRawPicture(reader, 50, 50, image);
    };
    EXPECT_EQ(refuse(0, 7601, Bytes(7601, 1)), kRawPictureDamaged);  // beyond 152 × 50
    EXPECT_EQ(refuse(1, 7602, Bytes{1, 1}), kRawPictureDamaged);
    EXPECT_EQ(refuse(0, -1, {}), kRawPictureDamaged);
    EXPECT_EQ(refuse(0, 100, Bytes(99, 1)), kRawPictureDamaged);  // cut short
    EXPECT_EQ(refuse(1, 6, Bytes{1, 3}), kRawPictureDamaged);     // run of 3 in a plane of 2
    EXPECT_EQ(image.width(), 1);
    EXPECT_EQ(image.data()[0], 9);
}

}  // namespace
}  // namespace tama05
