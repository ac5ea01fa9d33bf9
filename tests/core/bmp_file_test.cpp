#include "core/bmp_file.h"

#include <gtest/gtest.h>

#include "picture_writers.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using test::BmpForm;
using test::Bytes;
using test::MakeBmp;

// Two rows of two pixels, stride 8: distinct bytes everywhere, padding included.
Bytes TwoByTwoPixels() {
    Bytes pixels(16);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<uint8_t>(10 + i);
    }
    return pixels;
}

class BmpFileTest : public ::testing::Test {
  protected:
    test::ScratchFolder folder;
};

TEST_F(BmpFileTest, ReadsPixelsAsTheyStandWithHeadersAndPath) {
    BmpForm form;
    form.pixels = TwoByTwoPixels();
    const auto path = folder.Write("a.bmp", MakeBmp(form));
    Image image;
    EXPECT_EQ(ReadBmpFile(image, path), 70 - 14);
    ASSERT_EQ(image.width(), 2);
    ASSERT_EQ(image.height(), 2);
    EXPECT_EQ(image.stride(), 8);
    EXPECT_EQ(Bytes(image.data(), image.data() + 16), form.pixels);
    EXPECT_EQ(image.fileHeader.bfSize, 70u);
    EXPECT_EQ(image.info.biBitCount, 24);
    EXPECT_EQ(image.path, path.string());
}

TEST_F(BmpFileTest, NegativeHeightKeepsHeaderAndFileRowOrder) {
    BmpForm form;
    form.height = -2;
    form.pixels = TwoByTwoPixels();
    Image image;
    EXPECT_GE(ReadBmpFile(image, folder.Write("top.bmp", MakeBmp(form))), 0);
    EXPECT_EQ(image.height(), 2);
    EXPECT_EQ(image.info.biHeight, -2);
    EXPECT_EQ(image.row(0)[0], 10);
}

TEST_F(BmpFileTest, PixelOffsetFieldIsNotConsulted) {
    BmpForm form;
    form.offBits = 1000;
    form.pixels = TwoByTwoPixels();
    Image image;
    EXPECT_GE(ReadBmpFile(image, folder.Write("off.bmp", MakeBmp(form))), 0);
    EXPECT_EQ(image.data()[0], 10);
}

TEST_F(BmpFileTest, SizeFieldBelowFourteenStillReadsAsSuccess) {
    BmpForm form;
    form.bfSize = 3;
    form.pixels = TwoByTwoPixels();
    Image image;
    EXPECT_EQ(ReadBmpFile(image, folder.Write("small.bmp", MakeBmp(form))), 0);
    EXPECT_EQ(image.width(), 2);
}

TEST_F(BmpFileTest, EveryFailureHasItsCodeAndLeavesTheImageAlone) {
    BmpForm good;
    good.pixels = TwoByTwoPixels();
    const Bytes full = MakeBmp(good);

    BmpForm eightBit = good;
    eightBit.bitCount = 8;
    BmpForm rle = good;
    rle.bitCount = 8;
    rle.compression = 1;  // compression is tested before the bit count
    BmpForm huge = good;
    huge.width = 1 << 20;
    huge.height = 1 << 20;
    BmpForm wide = good;
    wide.width = -5;

    Bytes notBm = full;
    notBm[0] = 'X';
    const struct {
        const char* name;
        Bytes bytes;
        int code;
    } cases[] = {
        {"notbm.bmp", notBm, kBmpNotBm},
        {"onlymagic.bmp", Bytes(full.begin(), full.begin() + 10), kBmpNoFileHeader},
        {"nohead.bmp", Bytes(full.begin(), full.begin() + 30), kBmpNoInfoHeader},
        {"eight.bmp", MakeBmp(eightBit), kBmpNot24Bit},
        {"rle.bmp", MakeBmp(rle), kBmpCompressed},
        {"huge.bmp", MakeBmp(huge), kBmpSizeRefused},
        {"negative.bmp", MakeBmp(wide), kBmpSizeRefused},
        {"short.bmp", Bytes(full.begin(), full.end() - 1), kBmpNoPixels},
    };
    const Image before = test::SolidImage(3, 1, 1, 2, 3);
    for (const auto& c : cases) {
        Image image;
        image.CopyFrom(before);
        image.path = "kept";
        EXPECT_EQ(ReadBmpFile(image, folder.Write(c.name, c.bytes)), c.code) << c.name;
        EXPECT_EQ(image.width(), 3) << c.name;
        EXPECT_EQ(image.path, "kept") << c.name;
    }
    Image image;
    EXPECT_EQ(ReadBmpFile(image, folder.path() / "missing.bmp"), kBmpCannotOpenForSignature);
    EXPECT_EQ(ReadBmpFile(image, folder.path()), kBmpNotBm);  // a folder has no "BM"
}

TEST(BmpEncodeTest, WritesHeadersAndThePixelBlock) {
    std::mt19937 rng(3);
    const Image image = test::RandomImage(5, 3, rng);
    const Bytes bytes = EncodeBmp(image);
    ASSERT_EQ(bytes.size(), 54u + 48u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(bytes[2], 102);  // bfSize
    EXPECT_EQ(bytes[10], 54);  // bfOffBits
    EXPECT_EQ(bytes[14], 40);  // biSize
    EXPECT_EQ(bytes[18], 5);   // width
    EXPECT_EQ(bytes[22], 3);   // height
    EXPECT_EQ(bytes[28], 24);  // bits a pixel
    EXPECT_EQ(bytes[34], 48);  // biSizeImage
    EXPECT_EQ(Bytes(bytes.begin() + 54, bytes.end()),
              Bytes(image.data(), image.data() + image.byteCount()));
}

}  // namespace
}  // namespace tama05
