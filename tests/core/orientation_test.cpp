// Upright pictures: the eight EXIF orientation values on a picture of six coloured blocks
//   A B C
//   D E F
// as ApplyOrientation turns it and as JPEG, HEIF, AVIF and JPEG XL files ask for it.
#include "core/orientation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/avif_file.h"
#include "core/heif_file.h"
#include "core/jpeg_file.h"
#include "core/jxl_file.h"
#include "photo_writers.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using Grid = std::vector<std::string>;

// What a viewer shows for each tag (the EXIF definitions of the 0th row and column).
const Grid kUpright[9] = {
    {},
    {"ABC", "DEF"},
    {"CBA", "FED"},
    {"FED", "CBA"},
    {"DEF", "ABC"},
    {"AD", "BE", "CF"},
    {"DA", "EB", "FC"},
    {"FC", "EB", "DA"},
    {"CF", "BE", "AD"},
};

constexpr uint8_t kPalette[6][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                                    {255, 255, 0}, {255, 0, 255}, {0, 0, 0}};  // R, G, B

// The block picture, blocks of size × size pixels.
test::RgbaPicture Blocks(int size) {
    test::RgbaPicture picture{3 * size, 2 * size, 8, {}};
    for (int y = 0; y < 2 * size; ++y) {
        for (int x = 0; x < 3 * size; ++x) {
            const uint8_t* c = kPalette[(y / size) * 3 + x / size];
            for (int i = 0; i < 4; ++i) {
                picture.samples.push_back(i < 3 ? c[i] : 255);
            }
        }
    }
    return picture;
}

// The letter of the palette colour nearest to each block's centre.
Grid Read(const Image& image, int size) {
    Grid grid;
    for (int by = 0; by < image.height() / size; ++by) {
        std::string row;
        for (int bx = 0; bx < image.width() / size; ++bx) {
            const uint8_t* p = image.rowFromTop(by * size + size / 2) + 3 * (bx * size + size / 2);
            int best = 0;
            int bestDistance = 1 << 30;
            for (int i = 0; i < 6; ++i) {
                const int db = p[0] - kPalette[i][2];
                const int dg = p[1] - kPalette[i][1];
                const int dr = p[2] - kPalette[i][0];
                const int distance = db * db + dg * dg + dr * dr;
                if (distance < bestDistance) {
                    best = i;
                    bestDistance = distance;
                }
            }
            row += static_cast<char>('A' + best);
        }
        grid.push_back(row);
    }
    return grid;
}

Image ToImage(const test::RgbaPicture& picture) {
    Image image;
    image.CreateFilled(picture.width, picture.height, 0);
    image.SetHeaders();
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                image.rowFromTop(y)[3 * x + c] = static_cast<uint8_t>(picture.At(x, y)[2 - c]);
            }
        }
    }
    return image;
}

TEST(ApplyOrientationTest, EveryTagTurnsPictureAndAlphaUpright) {
    for (int tag = 1; tag <= 8; ++tag) {
        Image image = ToImage(Blocks(1));
        image.path = "photo.jpg";
        // Alpha 10 × the block's number, so the plane's turn can be read as letters too.
        AlphaPlane plane;
        plane.FillOpaque(3, 2);
        plane.fromFile = true;
        for (int i = 0; i < 6; ++i) {
            plane.values[(1 - i / 3) * 3 + i % 3] = static_cast<uint8_t>(10 * i);
        }
        ASSERT_EQ(ApplyOrientation(image, &plane, tag), 0);
        EXPECT_EQ(Read(image, 1), kUpright[tag]) << tag;
        EXPECT_EQ(image.path, "photo.jpg");
        EXPECT_EQ(image.info.biWidth, image.width());
        ASSERT_TRUE(plane.Matches(image.width(), image.height()));
        EXPECT_TRUE(plane.fromFile);
        Grid alpha;
        for (int32_t y = 0; y < image.height(); ++y) {
            std::string row;
            for (int32_t x = 0; x < image.width(); ++x) {
                row += static_cast<char>('A' + plane.At(image.height() - 1 - y, x) / 10);
            }
            alpha.push_back(row);
        }
        EXPECT_EQ(alpha, kUpright[tag]) << tag;
    }
    // Values outside 1..8 change nothing.
    for (int tag : {0, 9, -1}) {
        Image image = ToImage(Blocks(1));
        ASSERT_EQ(ApplyOrientation(image, nullptr, tag), 0);
        EXPECT_EQ(Read(image, 1), kUpright[1]);
    }
}

// A JPEG with an APP1 EXIF segment holding the tag (in either byte order) right after SOI.
std::vector<uint8_t> TaggedJpeg(const std::vector<uint8_t>& jpeg, int tag, bool bigEndian) {
    const std::vector<uint8_t> tiff = test::ExifTiff(tag, bigEndian);
    const size_t length = 2 + 6 + tiff.size();
    const uint8_t head[12] = {0xFF,
                              0xD8,
                              0xFF,
                              0xE1,
                              static_cast<uint8_t>(length >> 8),
                              static_cast<uint8_t>(length),
                              'E',
                              'x',
                              'i',
                              'f',
                              0,
                              0};
    std::vector<uint8_t> out;
    out.reserve(sizeof head + tiff.size() + jpeg.size());
    for (const std::span<const uint8_t> part :
         {std::span<const uint8_t>(head), std::span<const uint8_t>(tiff),
          std::span<const uint8_t>(jpeg).subspan(2)}) {
        for (uint8_t b : part) {
            out.push_back(b);
        }
    }
    return out;
}

TEST(JpegOrientationTest, TaggedJpegsTurnUprightAndUntaggedOnesStayAsStored) {
    std::vector<uint8_t> plain;
    ASSERT_EQ(WriteJpegStream(plain, ToImage(Blocks(16)), 95, false), kJpegOk);
    EXPECT_EQ(ReadJpegOrientation(plain), 1);
    for (int tag = 1; tag <= 8; ++tag) {
        const std::vector<uint8_t> jpeg = TaggedJpeg(plain, tag, tag % 2 == 0);
        ByteReader reader(jpeg);
        Image image;
        ASSERT_EQ(ReadJpegStream(reader, image), kJpegOk);
        ASSERT_EQ(ReadJpegOrientation(jpeg), tag);
        ASSERT_EQ(ApplyOrientation(image, nullptr, ReadJpegOrientation(jpeg)), 0);
        EXPECT_EQ(Read(image, 16), kUpright[tag]) << tag;
    }
    // Damaged or hostile segments read as upright, never beyond the bytes.
    std::vector<uint8_t> jpeg = TaggedJpeg(plain, 6, false);
    for (size_t keep = 0; keep < 60; ++keep) {
        const int tag = ReadJpegOrientation(std::span(jpeg).first(keep));
        EXPECT_TRUE(tag == 1 || tag == 6) << keep;
    }
    jpeg[4] = 0xFF;  // segment length past the end
    EXPECT_EQ(ReadJpegOrientation(jpeg), 1);
    jpeg = TaggedJpeg(plain, 9, true);
    EXPECT_EQ(ReadJpegOrientation(jpeg), 1);
}

TEST(PhotoOrientationTest, HeifAvifAndJxlFilesAreTurnedUprightUnlessKeptAsStored) {
    const test::RgbaPicture blocks = Blocks(16);
    for (int tag = 1; tag <= 8; ++tag) {
        SCOPED_TRACE(tag);
        test::HeifForm hevc;
        hevc.orientation = tag;
        // libavif turns the EXIF tag into the file's rotation and mirroring itself.
        test::AvifForm avif;
        avif.lossless = true;
        avif.exif = test::ExifTiff(tag, tag % 2 == 0);
        test::JxlForm jxl;
        jxl.orientation = tag;
        jxl.lossless = true;
        const std::pair<decltype(&ReadHeifBytes), test::PhotoBytes> files[] = {
            {ReadHeifBytes, test::MakeHeif(blocks, hevc)},
            {ReadAvifBytes, test::MakeAvif({blocks}, avif)},
            {ReadJxlBytes, test::MakeJxl({blocks}, jxl)},
        };
        for (size_t i = 0; i < 3; ++i) {
            const auto& [read, bytes] = files[i];
            SCOPED_TRACE(i == 0 ? "HEIF" : i == 1 ? "AVIF" : "JPEG XL");
            Image image;
            ASSERT_EQ(read(bytes, image, nullptr, nullptr, {}), kPhotoOk);
            EXPECT_EQ(Read(image, 16), kUpright[tag]);
            PhotoReadOptions stored;
            stored.keepOrientation = true;
            ASSERT_EQ(read(bytes, image, nullptr, nullptr, stored), kPhotoOk);
            EXPECT_EQ(Read(image, 16), kUpright[1]);
        }
    }
}

TEST(PhotoOrientationTest, AvifCropComesBeforeTheTurnAndIsKeptOffWithTheStoredPicture) {
    // The crop leaves blocks B, C, E, F; turned a quarter clockwise they read E B / F C.
    test::AvifForm form;
    form.lossless = true;
    form.exif = test::ExifTiff(6, false);
    form.crop[0] = 16;
    form.crop[2] = 32;
    form.crop[3] = 32;
    const test::PhotoBytes bytes = test::MakeAvif({Blocks(16)}, form);
    Image image;
    ASSERT_EQ(ReadAvifBytes(bytes, image, nullptr, nullptr, {}), kPhotoOk);
    EXPECT_EQ(Read(image, 16), (Grid{"EB", "FC"}));
    PhotoReadOptions stored;
    stored.keepOrientation = true;
    ASSERT_EQ(ReadAvifBytes(bytes, image, nullptr, nullptr, stored), kPhotoOk);
    EXPECT_EQ(Read(image, 16), kUpright[1]);
}

}  // namespace
}  // namespace tama05
