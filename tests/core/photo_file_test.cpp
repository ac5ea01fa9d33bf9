// The HEIF, WebP, AVIF and JPEG XL readers, each on files made by its own library's encoder.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "core/avif_file.h"
#include "core/heif_file.h"
#include "core/jxl_file.h"
#include "core/webp_file.h"
#include "photo_writers.h"
#include "picture_writers.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using test::PhotoBytes;
using test::RgbaPicture;

using Reader = int (*)(std::span<const uint8_t>, Image&, AlphaPlane*, PictureReadState*,
                       const PhotoReadOptions&);
using Sniff = bool (*)(std::span<const uint8_t>);
using Maker = std::function<PhotoBytes(const RgbaPicture&, bool alpha, bool lossless)>;

struct Format {
    std::string name;
    Reader read;
    Sniff looksLike;
    Maker make;
    double lossyMeanLimit;  // mean colour difference allowed on a smooth picture
    int losslessLimit;      // largest colour difference of a lossless file
};

std::vector<Format> Formats() {
    return {
        {"Heif", ReadHeifBytes, LooksLikeHeif,
         [](const RgbaPicture& p, bool alpha, bool lossless) {
             test::HeifForm form;
             form.alpha = alpha;
             form.lossless = lossless;
             return test::MakeHeif(p, form);
         },
         // libheif's lossless HEVC goes through its RGB to GBR conversion, which may round.
         6, 1},
        {"Webp", ReadWebpBytes, LooksLikeWebp,
         [](const RgbaPicture& p, bool alpha, bool lossless) {
             return test::MakeWebp(p, alpha, lossless);
         },
         6, 0},
        {"Avif", ReadAvifBytes, LooksLikeAvif,
         [](const RgbaPicture& p, bool alpha, bool lossless) {
             test::AvifForm form;
             form.alpha = alpha;
             form.lossless = lossless;
             return test::MakeAvif({p}, form);
         },
         6, 0},
        {"Jxl", ReadJxlBytes, LooksLikeJxl,
         [](const RgbaPicture& p, bool alpha, bool lossless) {
             test::JxlForm form;
             form.alpha = alpha;
             form.lossless = lossless;
             return test::MakeJxl({p}, form);
         },
         6, 0},
    };
}

// Largest and mean difference between the picture's colours and the image's (8-bit picture,
// or a deeper one with each sample rounded to 8 bits).
struct Difference {
    int largest = 0;
    double mean = 0;
};

int To8(uint16_t v, int depth) {
    const double top = std::ldexp(1.0, depth) - 1;
    return static_cast<int>(std::floor(v * 255.0 / top + 0.5));
}

Difference ColourDifference(const Image& image, const RgbaPicture& picture) {
    Difference d;
    int64_t sum = 0;
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            const uint8_t* bgr = image.rowFromTop(y) + 3 * x;
            for (int c = 0; c < 3; ++c) {
                const int diff = std::abs(bgr[2 - c] - To8(picture.At(x, y)[c], picture.depth));
                d.largest = std::max(d.largest, diff);
                sum += diff;
            }
        }
    }
    d.mean = static_cast<double>(sum) / (3.0 * picture.width * picture.height);
    return d;
}

int AlphaDifference(const AlphaPlane& plane, const RgbaPicture& picture) {
    int largest = 0;
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            const int diff = std::abs(plane.At(picture.height - 1 - y, x) -
                                      To8(picture.At(x, y)[3], picture.depth));
            largest = std::max(largest, diff);
        }
    }
    return largest;
}

bool PaddingIsZero(const Image& image) {
    const int32_t used = image.width() * 3;
    for (int32_t r = 0; r < image.height(); ++r) {
        for (int32_t i = used; i < image.stride(); ++i) {
            if (image.row(r)[i] != 0) {
                return false;
            }
        }
    }
    return true;
}

class PhotoReaderTest : public testing::TestWithParam<Format> {};

TEST_P(PhotoReaderTest, LossyOddSizedPictureIsCloseOpaqueAndBottomUp) {
    const Format& format = GetParam();
    const RgbaPicture picture = test::RampRgba(37, 23);
    const PhotoBytes bytes = format.make(picture, false, false);
    ASSERT_TRUE(format.looksLike(bytes));
    Image image;
    AlphaPlane plane;
    PictureReadState state;
    ASSERT_EQ(format.read(bytes, image, &plane, &state, {}), kPhotoOk);
    ASSERT_EQ(image.width(), 37);
    ASSERT_EQ(image.height(), 23);
    EXPECT_EQ(image.stride(), 112);
    EXPECT_EQ(image.info.biWidth, 37);
    EXPECT_TRUE(PaddingIsZero(image));
    EXPECT_LT(ColourDifference(image, picture).mean, format.lossyMeanLimit);
    EXPECT_FALSE(state.PictureHasAlpha);
    ASSERT_TRUE(plane.Matches(37, 23));
    EXPECT_FALSE(plane.fromFile);
    EXPECT_EQ(plane.At(0, 0), 255);
}

TEST_P(PhotoReaderTest, LosslessPicturesAreExactWithOrWithoutAlpha) {
    const Format& format = GetParam();
    std::mt19937 rng(19);
    for (auto [width, height] : {std::pair{13, 7}, std::pair{1, 1}, std::pair{6, 11}}) {
        for (bool alpha : {false, true}) {
            SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) +
                         (alpha ? " alpha" : ""));
            const RgbaPicture picture = test::RandomRgba(width, height, rng);
            const PhotoBytes bytes = format.make(picture, alpha, true);
            Image image;
            AlphaPlane plane;
            PictureReadState state;
            ASSERT_EQ(format.read(bytes, image, &plane, &state, {}), kPhotoOk);
            ASSERT_EQ(image.width(), width);
            ASSERT_EQ(image.height(), height);
            EXPECT_LE(ColourDifference(image, picture).largest, format.losslessLimit);
            EXPECT_EQ(state.PictureHasAlpha, alpha);
            ASSERT_TRUE(plane.Matches(width, height));
            EXPECT_EQ(plane.fromFile, alpha);
            if (alpha) {
                EXPECT_EQ(AlphaDifference(plane, picture), 0);
            }
            // Without a plane the picture and the flag are the same.
            Image second;
            PictureReadState secondState;
            ASSERT_EQ(format.read(bytes, second, nullptr, &secondState, {}), kPhotoOk);
            EXPECT_EQ(PhotoBytes(second.data(), second.data() + second.byteCount()),
                      PhotoBytes(image.data(), image.data() + image.byteCount()));
            EXPECT_EQ(secondState.PictureHasAlpha, alpha);
        }
    }
}

TEST_P(PhotoReaderTest, TruncatedForeignAndOversizedFilesFailLeavingTheImage) {
    const Format& format = GetParam();
    std::mt19937 rng(7);
    const PhotoBytes bytes = format.make(test::RandomRgba(24, 20, rng), true, false);
    Image image = test::SolidImage(3, 2, 1, 2, 3);
    const PhotoBytes before(image.data(), image.data() + image.byteCount());
    auto expectUnchanged = [&](std::span<const uint8_t> data, int expected, int64_t maxPixels) {
        AlphaPlane plane;
        plane.FillOpaque(3, 2);
        PictureReadState state;
        PhotoReadOptions options;
        options.maxPixels = maxPixels;
        const int code = format.read(data, image, &plane, &state, options);
        if (expected == kPhotoOk) {
            EXPECT_NE(code, kPhotoOk) << data.size();
        } else {
            EXPECT_EQ(code, expected) << data.size();
        }
        EXPECT_EQ(PhotoBytes(image.data(), image.data() + image.byteCount()), before);
        EXPECT_TRUE(plane.values.empty());
        EXPECT_FALSE(state.PictureHasAlpha);
    };
    for (size_t keep : {bytes.size() / 2, bytes.size() * 3 / 4, size_t{40}, size_t{12}}) {
        expectUnchanged(std::span(bytes).first(keep), kPhotoOk, kMaxPicturePixels);
    }
    expectUnchanged({}, kPhotoNotRecognised, kMaxPicturePixels);
    expectUnchanged(test::MakePng(2, 2, 2, 8, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}}),
                    kPhotoNotRecognised, kMaxPicturePixels);
    // One pixel over the bound is refused before decoding; the bound itself is read.
    expectUnchanged(bytes, kPhotoSizeRefused, 24 * 20 - 1);
    Image read;
    PhotoReadOptions exact;
    exact.maxPixels = 24 * 20;
    EXPECT_EQ(format.read(bytes, read, nullptr, nullptr, exact), kPhotoOk);
}

TEST_P(PhotoReaderTest, OnlyItsOwnFilesLookLikeIt) {
    const Format& own = GetParam();
    for (const Format& other : Formats()) {
        const PhotoBytes bytes = other.make(test::RampRgba(8, 8), false, false);
        EXPECT_EQ(own.looksLike(bytes), own.name == other.name) << other.name;
        EXPECT_EQ(own.looksLike(std::span(bytes).first(12)), own.name == other.name) << other.name;
    }
    EXPECT_FALSE(own.looksLike(test::MakePng(1, 1, 0, 8, {{7}})));
    EXPECT_FALSE(own.looksLike({}));
}

INSTANTIATE_TEST_SUITE_P(Formats, PhotoReaderTest, testing::ValuesIn(Formats()),
                         [](const testing::TestParamInfo<Format>& info) {
                             return info.param.name;
                         });

TEST(PhotoReadTest, AnimationsGiveTheirFirstFrame) {
    std::mt19937 rng(3);
    const RgbaPicture first = test::RandomRgba(9, 5, rng);
    const RgbaPicture second = test::RandomRgba(9, 5, rng);
    test::AvifForm avif;
    avif.lossless = true;
    test::JxlForm jxl;
    jxl.lossless = true;
    const std::pair<Reader, PhotoBytes> files[] = {
        {ReadWebpBytes, test::MakeAnimatedWebp({first, second})},
        {ReadAvifBytes, test::MakeAvif({first, second}, avif)},
        {ReadJxlBytes, test::MakeJxl({first, second}, jxl)},
    };
    for (const auto& [read, bytes] : files) {
        Image image;
        ASSERT_EQ(read(bytes, image, nullptr, nullptr, {}), kPhotoOk);
        EXPECT_EQ(ColourDifference(image, first).largest, 0);
    }
}

TEST(PhotoReadTest, DeepSamplesAreRoundedToEightBits) {
    std::mt19937 rng(12);
    for (int depth : {10, 12}) {
        const RgbaPicture picture = test::RandomRgba(7, 5, rng, depth);
        test::AvifForm form;
        form.lossless = true;
        form.alpha = true;
        Image image;
        AlphaPlane plane;
        ASSERT_EQ(ReadAvifBytes(test::MakeAvif({picture}, form), image, &plane, nullptr, {}),
                  kPhotoOk);
        EXPECT_EQ(ColourDifference(image, picture).largest, 0) << depth;
        EXPECT_EQ(AlphaDifference(plane, picture), 0) << depth;
    }
    const RgbaPicture picture = test::RandomRgba(7, 5, rng, 16);
    test::JxlForm form;
    form.lossless = true;
    form.alpha = true;
    Image image;
    AlphaPlane plane;
    ASSERT_EQ(ReadJxlBytes(test::MakeJxl({picture}, form), image, &plane, nullptr, {}), kPhotoOk);
    EXPECT_EQ(ColourDifference(image, picture).largest, 0);
    EXPECT_EQ(AlphaDifference(plane, picture), 0);
    // The reference rounds to the nearest: 3 × 255 / 1023 = 0.748 → 1, 2 → 0.4985 → 0.
    EXPECT_EQ(To8(3, 10), 1);
    EXPECT_EQ(To8(2, 10), 0);
}

TEST(PhotoReadTest, FileTypeBrandsDecideBetweenHeifAndAvif) {
    // size 24: "ftyp", major brand, minor version, two compatible brands.
    auto box = [](const char* major, const char* a, const char* b) {
        PhotoBytes out = {0, 0, 0, 24, 'f', 't', 'y', 'p'};
        out.insert(out.end(), major, major + 4);
        out.insert(out.end(), 4, 0);
        out.insert(out.end(), a, a + 4);
        out.insert(out.end(), b, b + 4);
        return out;
    };
    EXPECT_TRUE(LooksLikeHeif(box("heic", "mif1", "heic")));
    EXPECT_TRUE(LooksLikeHeif(box("mif1", "miaf", "heix")));
    EXPECT_FALSE(LooksLikeAvif(box("mif1", "miaf", "heix")));
    EXPECT_TRUE(LooksLikeAvif(box("avif", "mif1", "miaf")));
    EXPECT_FALSE(LooksLikeHeif(box("avif", "mif1", "miaf")));
    EXPECT_TRUE(LooksLikeAvif(box("mif1", "avif", "miaf")));
    EXPECT_FALSE(LooksLikeHeif(box("isom", "mp41", "mp42")));
    EXPECT_FALSE(LooksLikeAvif(box("isom", "mp41", "mp42")));
    // A box too small to hold its brands names none.
    PhotoBytes small = box("heic", "mif1", "heic");
    small[3] = 12;
    EXPECT_FALSE(LooksLikeHeif(small));
}

}  // namespace
}  // namespace tama05
