#include "core/jpeg_file.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "picture_writers.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using test::Bytes;
using test::JpegForm;
using test::MakeJpeg;

// Samples of one value for every component of every pixel.
Bytes Flat(const JpegForm& form, std::initializer_list<uint8_t> pixel) {
    Bytes samples;
    for (int i = 0; i < form.width * form.height; ++i) {
        samples.insert(samples.end(), pixel);
    }
    return samples;
}

void ExpectPixelNear(const Image& image, int32_t x, int32_t yFromTop, int b, int g, int r) {
    const uint8_t* p = image.rowFromTop(yFromTop) + 3 * x;
    EXPECT_NEAR(p[0], b, 3) << x << "," << yFromTop;
    EXPECT_NEAR(p[1], g, 3) << x << "," << yFromTop;
    EXPECT_NEAR(p[2], r, 3) << x << "," << yFromTop;
}

int ReadBytes(const Bytes& bytes, Image& image) {
    ByteReader reader(bytes);
    return ReadJpegStream(reader, image);
}

TEST(JpegReadTest, ColourPictureIsBottomUpBgrWithZeroPadding) {
    JpegForm form;
    form.width = 5;
    form.height = 16;
    form.quality = 100;
    // Top half red, bottom half blue.
    Bytes samples;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 5; ++x) {
            samples.insert(samples.end(), y < 8 ? std::initializer_list<uint8_t>{250, 0, 0}
                                                : std::initializer_list<uint8_t>{0, 0, 250});
        }
    }
    Image image;
    ASSERT_EQ(ReadBytes(MakeJpeg(form, samples), image), kJpegOk);
    ASSERT_EQ(image.width(), 5);
    ASSERT_EQ(image.height(), 16);
    ExpectPixelNear(image, 2, 0, 0, 0, 250);
    ExpectPixelNear(image, 2, 15, 250, 0, 0);
    for (int32_t r = 0; r < 16; ++r) {
        EXPECT_EQ(image.row(r)[15], 0);
    }
    EXPECT_EQ(image.info.biWidth, 5);
    EXPECT_EQ(image.fileHeader.bfOffBits, 54u);
}

TEST(JpegReadTest, GreyscaleBecomesAThreeBytePicture) {
    JpegForm form;
    form.width = 9;
    form.height = 3;
    form.components = 1;
    Image image;
    ASSERT_EQ(ReadBytes(MakeJpeg(form, Flat(form, {90})), image), kJpegOk);
    EXPECT_EQ(image.stride(), 28);
    for (int32_t r = 0; r < 3; ++r) {
        for (int32_t x = 0; x < 9; ++x) {
            ExpectPixelNear(image, x, r, 90, 90, 90);
        }
        EXPECT_EQ(image.row(r)[27], 0);
    }
}

TEST(JpegReadTest, CmykPicturesAreConvertedBothWays) {
    JpegForm form;
    form.components = 4;
    // Adobe files store inverted values: C=0, M=255 (full), Y=255 (full), K=0 → red.
    form.adobeMarker = true;
    Image adobe;
    ASSERT_EQ(ReadBytes(MakeJpeg(form, Flat(form, {255, 0, 0, 255})), adobe), kJpegOk);
    ExpectPixelNear(adobe, 3, 3, 0, 0, 255);
    // Without the Adobe marker the values are plain: C=255 → cyan (red 0).
    form.adobeMarker = false;
    Image plain;
    ASSERT_EQ(ReadBytes(MakeJpeg(form, Flat(form, {255, 0, 0, 0})), plain), kJpegOk);
    ExpectPixelNear(plain, 3, 3, 255, 255, 0);
    EXPECT_EQ(plain.stride(), 24);
}

TEST(JpegReadTest, BrokenDataFailsAndLeavesTheImage) {
    JpegForm form;
    form.width = 32;
    form.height = 32;
    const Bytes good = MakeJpeg(form, Flat(form, {1, 2, 3}));
    const Image before = test::SolidImage(2, 2, 9, 9, 9);
    for (size_t cut : {size_t{0}, size_t{1}, size_t{20}, good.size() / 2, good.size() - 2}) {
        Image image;
        image.CopyFrom(before);
        EXPECT_EQ(ReadBytes(Bytes(good.begin(), good.begin() + cut), image), kJpegDecodeFailed)
            << cut;
        EXPECT_EQ(image.width(), 2);
    }
    Image image;
    EXPECT_EQ(ReadBytes(Bytes(100, 0x42), image), kJpegDecodeFailed);
}

TEST(JpegReadTest, HugeDeclaredSizeIsRefused) {
    JpegForm form;
    Bytes bytes = MakeJpeg(form, Flat(form, {1, 2, 3}));
    // Find the frame header (FF C0) and claim 65000 × 65000.
    for (size_t i = 0; i + 8 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            bytes[i + 5] = 0xFD;
            bytes[i + 6] = 0xE8;
            bytes[i + 7] = 0xFD;
            bytes[i + 8] = 0xE8;
            break;
        }
    }
    Image image;
    EXPECT_EQ(ReadBytes(bytes, image), kJpegDecodeFailed);
    EXPECT_TRUE(image.empty());
}

TEST(JpegReadTest, EmbeddedStreamEndsRightAfterItsEndMarker) {
    JpegForm form;
    form.width = 40;
    form.height = 24;
    form.progressive = true;
    std::mt19937 rng(2);
    Bytes samples(40 * 24 * 3);
    for (auto& s : samples) {
        s = static_cast<uint8_t>(rng());
    }
    const Bytes jpeg = MakeJpeg(form, samples);
    Bytes file{'H', 'D'};
    file.insert(file.end(), jpeg.begin(), jpeg.end());
    file.insert(file.end(), {'T', 'A', 'I', 'L'});
    ByteReader reader(file);
    reader.Skip(2);
    Image image;
    ASSERT_EQ(ReadJpegStream(reader, image), kJpegOk);
    EXPECT_EQ(reader.position(), 2 + jpeg.size());
    EXPECT_EQ(reader.remaining(), 4u);
}

TEST(JpegFileTest, FileCodesAndPath) {
    test::ScratchFolder folder;
    Image image;
    EXPECT_EQ(ReadJpegFile(folder.path() / "none.jpg", image), kJpegCannotOpen);
    EXPECT_EQ(ReadJpegFile(folder.Write("bad.jpg", Bytes{1, 2, 3}), image), kJpegDecodeFailed);
    JpegForm form;
    const auto path = folder.Write("ok.jpg", MakeJpeg(form, Flat(form, {5, 6, 7})));
    ASSERT_EQ(ReadJpegFile(path, image), kJpegOk);
    EXPECT_EQ(image.path, path.string());
}

TEST(JpegWriteTest, WritesProgressiveOrBaselineAndAppends) {
    const Image image = test::SolidImage(30, 20, 200, 100, 50);
    Bytes out{0xAA};
    ASSERT_EQ(WriteJpegStream(out, image, 90, true), 1);
    EXPECT_EQ(out[0], 0xAA);
    const auto facts = test::InspectJpeg(Bytes(out.begin() + 1, out.end()));
    EXPECT_TRUE(facts.progressive);
    EXPECT_EQ(facts.width, 30);
    EXPECT_EQ(facts.height, 20);
    EXPECT_NEAR(facts.rgb[0], 50, 3);   // red
    EXPECT_NEAR(facts.rgb[2], 200, 3);  // blue
    Bytes baseline;
    ASSERT_EQ(WriteJpegStream(baseline, image, 90, false), 1);
    EXPECT_FALSE(test::InspectJpeg(baseline).progressive);
}

TEST(JpegWriteTest, RowsAreWrittenTopFirst) {
    Image image = test::SolidImage(8, 16, 0, 0, 0);
    for (int32_t r = 8; r < 16; ++r) {  // upper half of the picture white
        std::fill(image.row(r), image.row(r) + 24, uint8_t{255});
    }
    Bytes out;
    ASSERT_EQ(WriteJpegStream(out, image, 95, false), 1);
    const auto facts = test::InspectJpeg(out);
    EXPECT_GT(facts.rgb[0], 240);            // top-left
    EXPECT_LT(facts.rgb[(15 * 8) * 3], 15);  // bottom-left
}

TEST(JpegWriteTest, FailureYieldsZeroAndLeavesTheStream) {
    Bytes out{3};
    EXPECT_EQ(WriteJpegStream(out, Image{}, 80, true), 0);
    EXPECT_EQ(out, Bytes{3});
}

}  // namespace
}  // namespace tama05
