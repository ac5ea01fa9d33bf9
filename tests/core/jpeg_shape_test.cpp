#include "core/jpeg_shape.h"

#include <gtest/gtest.h>

#include <random>

#include "bomb_files.h"
#include "core/byte_reader.h"
#include "core/jpeg_file.h"

namespace tama05 {
namespace {

using test::Bytes;

// Baseline and progressive frames claiming 16384 × 16384 with the coded data of 8 × 8, and
// the progressive one with 900 repeated scans: refused before the decoder allocates.
TEST(JpegShapeTest, FramesWithTooLittleCodedDataAreRefused) {
    const Bytes bombs[] = {test::JpegBomb(false), test::JpegBomb(true),
                           test::JpegBomb(true, 16384, 16384, 900)};
    for (const Bytes& bomb : bombs) {
        EXPECT_FALSE(JpegWorkAcceptable(bomb));
        ByteReader reader(bomb);
        Image image;
        EXPECT_EQ(ReadJpegStream(reader, image), kJpegDecodeFailed);
        EXPECT_TRUE(image.empty());
    }
    const auto shape = InspectJpegShape(bombs[2]);
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->width, 16384u);
    EXPECT_TRUE(shape->progressive);
    EXPECT_EQ(shape->blocks, 3u * 2048 * 2048);
    EXPECT_GT(shape->scans, 900);
}

// Every stream the library's encoder writes (any size and quality, flat or noisy, grey or
// colour, baseline or progressive) is a whole picture and is accepted.
TEST(JpegShapeTest, EncodedPicturesAreAcceptedWhateverTheirForm) {
    std::mt19937 random(5);
    for (int i = 0; i < 40; ++i) {
        test::JpegForm form;
        form.width = 1 + static_cast<int>(random() % 300);
        form.height = 1 + static_cast<int>(random() % 200);
        form.components = random() % 4 == 0 ? 1 : 3;
        form.progressive = random() % 2 == 0;
        form.quality = 5 + static_cast<int>(random() % 95);
        Bytes samples(static_cast<size_t>(form.width) * form.height * form.components);
        const bool flat = random() % 3 == 0;
        for (uint8_t& b : samples) {
            b = flat ? 128 : static_cast<uint8_t>(random());
        }
        const Bytes jpeg = test::MakeJpeg(form, samples);
        const auto shape = InspectJpegShape(jpeg);
        ASSERT_TRUE(shape);
        EXPECT_TRUE(shape->ended);
        EXPECT_EQ(shape->width, static_cast<uint32_t>(form.width));
        EXPECT_EQ(shape->progressive, form.progressive);
        EXPECT_TRUE(JpegWorkAcceptable(jpeg)) << i;
        ByteReader reader(jpeg);
        Image image;
        EXPECT_EQ(ReadJpegStream(reader, image), kJpegOk);
    }
}

}  // namespace
}  // namespace tama05
