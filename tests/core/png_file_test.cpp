#include "core/png_file.h"

#include <gtest/gtest.h>

#include "picture_writers.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using test::Bytes;
using test::MakePng;

// 2 × 2 RGB: top row red, green; bottom row blue, white.
Bytes RgbTwoByTwo(bool interlaced = false) {
    return MakePng(2, 2, PNG_COLOR_TYPE_RGB, 8,
                   {{255, 0, 0, 0, 255, 0}, {0, 0, 255, 255, 255, 255}}, interlaced);
}

int ReadBytes(const Bytes& bytes, Image& image, AlphaPlane* plane = nullptr,
              PictureReadState* state = nullptr) {
    ByteReader reader(bytes);
    return ReadPngStream(reader, image, plane, state);
}

TEST(PngReadTest, RgbBecomesBottomUpBgrWithZeroPadding) {
    Image image;
    ASSERT_EQ(ReadBytes(RgbTwoByTwo(), image), kPngOk);
    ASSERT_EQ(image.width(), 2);
    EXPECT_EQ(image.stride(), 8);
    // The PNG's first row is memory row 1.
    EXPECT_EQ(Bytes(image.row(1), image.row(1) + 8), (Bytes{0, 0, 255, 0, 255, 0, 0, 0}));
    EXPECT_EQ(Bytes(image.row(0), image.row(0) + 8), (Bytes{255, 0, 0, 255, 255, 255, 0, 0}));
    EXPECT_EQ(image.info.biSizeImage, 16u);
    EXPECT_EQ(image.fileHeader.bfSize, 70u);
}

TEST(PngReadTest, InterlacedPictureReadsTheSame) {
    Image plain;
    Image interlaced;
    ASSERT_EQ(ReadBytes(RgbTwoByTwo(), plain), kPngOk);
    ASSERT_EQ(ReadBytes(RgbTwoByTwo(true), interlaced), kPngOk);
    EXPECT_EQ(Bytes(plain.data(), plain.data() + 16),
              Bytes(interlaced.data(), interlaced.data() + 16));
}

TEST(PngReadTest, GreyGivesEqualBytes) {
    Image image;
    ASSERT_EQ(ReadBytes(MakePng(1, 1, PNG_COLOR_TYPE_GRAY, 8, {{77}}), image), kPngOk);
    EXPECT_EQ(Bytes(image.data(), image.data() + 3), (Bytes{77, 77, 77}));
}

TEST(PngReadTest, GreyAlphaFillsThePlaneWithoutTheFlag) {
    Image image;
    AlphaPlane plane;
    PictureReadState state;
    const Bytes png = MakePng(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{10, 20, 30, 40}});
    ASSERT_EQ(ReadBytes(png, image, &plane, &state), kPngOk);
    EXPECT_FALSE(state.PictureHasAlpha);
    ASSERT_TRUE(plane.Matches(2, 1));
    EXPECT_TRUE(plane.fromFile);
    EXPECT_EQ(plane.At(0, 0), 20);
    EXPECT_EQ(plane.At(0, 1), 40);
    EXPECT_EQ(Bytes(image.data(), image.data() + 6), (Bytes{10, 10, 10, 30, 30, 30}));
}

TEST(PngReadTest, RgbaSetsTheFlagAndThePlaneInMemoryRowOrder) {
    const Bytes png = MakePng(1, 2, PNG_COLOR_TYPE_RGB_ALPHA, 8, {{1, 2, 3, 100}, {4, 5, 6, 200}});
    Image image;
    AlphaPlane plane;
    PictureReadState state;
    ASSERT_EQ(ReadBytes(png, image, &plane, &state), kPngOk);
    EXPECT_TRUE(state.PictureHasAlpha);
    EXPECT_EQ(plane.At(1, 0), 100);  // top row
    EXPECT_EQ(plane.At(0, 0), 200);
    EXPECT_EQ(image.row(1)[0], 3);
    // Without a plane the flag is still set.
    PictureReadState second;
    ASSERT_EQ(ReadBytes(png, image, nullptr, &second), kPngOk);
    EXPECT_TRUE(second.PictureHasAlpha);
}

TEST(PngReadTest, OpaquePictureGivesAnOpaquePlaneOfItsOwnSize) {
    Image image;
    AlphaPlane plane;
    plane.FillOpaque(7, 7);
    plane.values[0] = 3;
    ASSERT_EQ(ReadBytes(RgbTwoByTwo(), image, &plane), kPngOk);
    ASSERT_TRUE(plane.Matches(2, 2));
    EXPECT_FALSE(plane.fromFile);
    for (uint8_t v : plane.values) {
        EXPECT_EQ(v, 255);
    }
}

TEST(PngReadTest, UnsupportedFormsHaveTheirCodes) {
    Image image;
    EXPECT_EQ(ReadBytes(MakePng(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}}), image), kPngPalette);
    EXPECT_EQ(ReadBytes(MakePng(8, 1, PNG_COLOR_TYPE_PALETTE, 1, {{0x55}}), image), kPngPalette);
    EXPECT_EQ(ReadBytes(MakePng(1, 1, PNG_COLOR_TYPE_RGB, 16, {Bytes(6, 9)}), image), kPngNot8Bit);
    EXPECT_EQ(ReadBytes(MakePng(8, 1, PNG_COLOR_TYPE_GRAY, 1, {{0xAA}}), image), kPngNot8Bit);
    // Colour type 5 does not exist; the code comes before the depth test.
    Bytes odd = MakePng(1, 1, PNG_COLOR_TYPE_GRAY, 16, {{0, 0}});
    odd[25] = 5;
    EXPECT_EQ(ReadBytes(odd, image), kPngUnsupportedColourType);
    EXPECT_TRUE(image.empty());
}

TEST(PngReadTest, CorruptOrTruncatedDataFailsWithoutHarm) {
    const Bytes good = MakePng(16, 16, PNG_COLOR_TYPE_RGB, 8, std::vector<Bytes>(16, Bytes(48, 7)));
    Image image;
    AlphaPlane plane;
    plane.FillOpaque(2, 2);
    // Every cut of the file fails cleanly.
    for (size_t cut = 0; cut < good.size(); cut += 3) {
        ASSERT_EQ(ReadBytes(Bytes(good.begin(), good.begin() + cut), image, &plane), kPngCorrupt)
            << cut;
    }
    Bytes badCrc = good;
    badCrc[40] ^= 0xFF;
    EXPECT_EQ(ReadBytes(badCrc, image, &plane), kPngCorrupt);
    EXPECT_TRUE(image.empty());
    EXPECT_TRUE(plane.values.empty());
    Bytes noSignature = good;
    noSignature[1] = 'Q';
    EXPECT_EQ(ReadBytes(noSignature, image), kPngCorrupt);
}

TEST(PngReadTest, HugeDeclaredSizeIsRefusedBeforeDecoding) {
    Image image;
    EXPECT_EQ(ReadBytes(test::MakePngHeaderOnly(40000, 40000, PNG_COLOR_TYPE_RGB, 8), image),
              kPngSizeRefused);
    EXPECT_EQ(ReadBytes(test::MakePngHeaderOnly(0x7FFFFFFF, 1, PNG_COLOR_TYPE_GRAY, 8), image),
              kPngSizeRefused);
    EXPECT_TRUE(image.empty());
}

TEST(PngReadTest, StreamStopsRightAfterItsLastChunk) {
    const Bytes first = RgbTwoByTwo();
    const Bytes second = MakePng(1, 1, PNG_COLOR_TYPE_GRAY, 8, {{9}});
    Bytes joined = first;
    joined.insert(joined.end(), second.begin(), second.end());
    joined.push_back(0xEE);
    ByteReader reader(joined);
    Image image;
    ASSERT_EQ(ReadPngStream(reader, image, nullptr, nullptr), kPngOk);
    EXPECT_EQ(reader.position(), first.size());
    ASSERT_EQ(ReadPngStream(reader, image, nullptr, nullptr), kPngOk);
    EXPECT_EQ(image.width(), 1);
    EXPECT_EQ(reader.remaining(), 1u);
}

TEST(PngFileTest, FileCodesAndPath) {
    test::ScratchFolder folder;
    Image image;
    EXPECT_EQ(ReadPngFile(folder.path() / "none.png", image, nullptr, nullptr), kPngCannotOpen);
    EXPECT_EQ(ReadPngFile(folder.Write("text.png", Bytes{'h', 'i'}), image, nullptr, nullptr),
              kPngNoSignature);
    const auto path = folder.Write("ok.png", RgbTwoByTwo());
    ASSERT_EQ(ReadPngFile(path, image, nullptr, nullptr), kPngOk);
    EXPECT_EQ(image.path, path.string());
}

TEST(PngWriteTest, RgbRoundTripAppendsToTheStream) {
    std::mt19937 rng(5);
    const Image image = test::RandomImage(5, 3, rng);
    Bytes out{1, 2, 3};
    ASSERT_EQ(WritePngStream(out, image, nullptr, false), 0);
    EXPECT_EQ(out[3], 0x89);
    EXPECT_EQ(out[3 + 25], PNG_COLOR_TYPE_RGB);
    ByteReader reader(out);
    reader.Skip(3);
    Image back;
    AlphaPlane plane;
    ASSERT_EQ(ReadPngStream(reader, back, &plane, nullptr), kPngOk);
    EXPECT_TRUE(reader.AtEnd());
    for (int32_t r = 0; r < 3; ++r) {
        EXPECT_EQ(Bytes(back.row(r), back.row(r) + 15), Bytes(image.row(r), image.row(r) + 15));
    }
}

TEST(PngWriteTest, AlphaOnlyWithAPlaneOfThePicturesOwnSize) {
    std::mt19937 rng(6);
    const Image image = test::RandomImage(3, 2, rng);
    AlphaPlane plane;
    plane.FillOpaque(3, 2);
    for (int i = 0; i < 6; ++i) {
        plane.values[i] = static_cast<uint8_t>(40 * i);
    }
    Bytes rgba;
    ASSERT_EQ(WritePngStream(rgba, image, &plane, true), 0);
    EXPECT_EQ(rgba[25], PNG_COLOR_TYPE_RGB_ALPHA);
    Image back;
    AlphaPlane backPlane;
    PictureReadState state;
    ByteReader reader(rgba);
    ASSERT_EQ(ReadPngStream(reader, back, &backPlane, &state), kPngOk);
    EXPECT_TRUE(state.PictureHasAlpha);
    EXPECT_EQ(Bytes(backPlane.values.begin(), backPlane.values.end()),
              Bytes(plane.values.begin(), plane.values.end()));

    Bytes unused;
    ASSERT_EQ(WritePngStream(unused, image, &plane, false), 0);
    EXPECT_EQ(unused[25], PNG_COLOR_TYPE_RGB);
    AlphaPlane other;
    other.FillOpaque(2, 3);  // same count, another picture
    Bytes mismatched;
    ASSERT_EQ(WritePngStream(mismatched, image, &other, true), 0);
    EXPECT_EQ(mismatched[25], PNG_COLOR_TYPE_RGB);
}

TEST(PngWriteTest, EmptyPictureFailsAndLeavesTheStream) {
    Bytes out{7};
    EXPECT_EQ(WritePngStream(out, Image{}, nullptr, false), -1);
    EXPECT_EQ(out, Bytes{7});
}

TEST(PngWriteTest, FileThatCannotBeWrittenShowsTheMessage) {
    test::ScratchFolder folder;
    RecordingMessageSink messages;
    const Image image = test::SolidImage(2, 2, 1, 2, 3);
    EXPECT_EQ(WritePngFile(messages, folder.path() / "no" / "x.png", image, nullptr), -1);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "ファイルオープンに失敗しました。WRITE_PNG");
    EXPECT_EQ(messages.messages[0].caption, "失敗");
    ASSERT_EQ(WritePngFile(messages, folder.path() / "x.png", image, nullptr), 0);
    Image back;
    EXPECT_EQ(ReadPngFile(folder.path() / "x.png", back, nullptr, nullptr), kPngOk);
    EXPECT_EQ(folder.Entries().size(), 1u);
}

}  // namespace
}  // namespace tama05
