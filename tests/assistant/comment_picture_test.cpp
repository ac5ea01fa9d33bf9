#include "assistant/comment_picture.h"

#include <gtest/gtest.h>

#include <vector>

namespace tama05 {
namespace {

// A width × height picture whose pixel (memory row r, column x) holds the given three bytes.
Image Uniform(int32_t width, int32_t height, uint8_t b, uint8_t g, uint8_t r) {
    Image image;
    EXPECT_EQ(image.CreateFilled(width, height, 0), 0);
    for (int32_t row = 0; row < height; ++row) {
        for (int32_t x = 0; x < width; ++x) {
            image.row(row)[x * 3] = b;
            image.row(row)[x * 3 + 1] = g;
            image.row(row)[x * 3 + 2] = r;
        }
    }
    return image;
}

AlphaPlane Alpha(int32_t width, int32_t height, uint8_t value) {
    AlphaPlane alpha;
    EXPECT_TRUE(alpha.values.AllocateFilled(width * height, value));
    alpha.width = width;
    alpha.height = height;
    alpha.fromFile = true;
    return alpha;
}

std::vector<uint8_t> Pixel(const Image& image, int32_t row, int32_t x) {
    const uint8_t* p = image.row(row) + x * 3;
    return {p[0], p[1], p[2]};
}

TEST(BlendOverBackgroundTest, HalfAlphaValues) {
    // 128 weighs the picture with 0.50196081... (the float 1/255 times 128).
    Image picture = Uniform(1, 1, 250, 0, 100);
    const Image background = Uniform(1, 1, 10, 200, 255);
    BlendOverBackground(picture, Alpha(1, 1, 128), background);
    // 10 + 240 × 0.5019608 = 130.47; 200 × 0.4980392 = 99.61; 127.0 + 50.196 = 177.2.
    EXPECT_EQ(Pixel(picture, 0, 0), (std::vector<uint8_t>{130, 99, 177}));
}

TEST(BlendOverBackgroundTest, SinglePrecisionWeightTruncates) {
    // The float 1/255 lies just above the real one: 51 weighs 0.20000001 rather than 0.2, so
    // the background share of 255 is 203.999997 and truncates to 203, not 204; 102 gives
    // 152.99999 and 152, not 153.
    Image picture = Uniform(2, 1, 0, 0, 0);
    const Image background = Uniform(2, 1, 255, 255, 255);
    AlphaPlane alpha = Alpha(2, 1, 51);
    alpha.values[1] = 102;
    BlendOverBackground(picture, alpha, background);
    EXPECT_EQ(Pixel(picture, 0, 0), (std::vector<uint8_t>{203, 203, 203}));
    EXPECT_EQ(Pixel(picture, 0, 1), (std::vector<uint8_t>{152, 152, 152}));
}

TEST(BlendOverBackgroundTest, FullAlphaIsLimitedToOne) {
    // 255 × float(1/255) is 1.0000000591; unlimited, a darker picture byte over a lighter
    // background would lose one.
    Image picture = Uniform(1, 1, 100, 0, 255);
    const Image background = Uniform(1, 1, 200, 255, 0);
    BlendOverBackground(picture, Alpha(1, 1, 255), background);
    EXPECT_EQ(Pixel(picture, 0, 0), (std::vector<uint8_t>{100, 0, 255}));
}

TEST(BlendOverBackgroundTest, ZeroAlphaShowsTheBackground) {
    Image picture = Uniform(3, 2, 1, 2, 3);
    const Image background = Uniform(3, 2, 40, 50, 60);
    BlendOverBackground(picture, Alpha(3, 2, 0), background);
    for (int32_t r = 0; r < 2; ++r) {
        for (int32_t x = 0; x < 3; ++x) {
            EXPECT_EQ(Pixel(picture, r, x), (std::vector<uint8_t>{40, 50, 60}));
        }
    }
}

TEST(BlendOverBackgroundTest, AlphaIsTakenPerPixelInMemoryOrder) {
    Image picture = Uniform(2, 2, 200, 200, 200);
    const Image background = Uniform(2, 2, 0, 0, 0);
    AlphaPlane alpha = Alpha(2, 2, 255);
    alpha.values[2] = 0;  // memory row 1, column 0
    BlendOverBackground(picture, alpha, background);
    EXPECT_EQ(Pixel(picture, 0, 0), (std::vector<uint8_t>{200, 200, 200}));
    EXPECT_EQ(Pixel(picture, 0, 1), (std::vector<uint8_t>{200, 200, 200}));
    EXPECT_EQ(Pixel(picture, 1, 0), (std::vector<uint8_t>{0, 0, 0}));
    EXPECT_EQ(Pixel(picture, 1, 1), (std::vector<uint8_t>{200, 200, 200}));
}

TEST(BlendOverBackgroundTest, PaddingIsLeftAlone) {
    Image picture = Uniform(1, 1, 9, 9, 9);
    picture.row(0)[3] = 77;
    Image background = Uniform(1, 1, 0, 0, 0);
    background.row(0)[3] = 11;
    BlendOverBackground(picture, Alpha(1, 1, 0), background);
    EXPECT_EQ(picture.row(0)[3], 77);
}

TEST(BlendOverBackgroundTest, WithoutAlphaThePictureIsOpaque) {
    Image picture = Uniform(2, 2, 10, 20, 30);
    const Image background = Uniform(2, 2, 90, 90, 90);
    BlendOverBackground(picture, AlphaPlane{}, background);
    EXPECT_EQ(Pixel(picture, 1, 1), (std::vector<uint8_t>{10, 20, 30}));
    // A plane left by another picture (another size) is not applied either.
    BlendOverBackground(picture, Alpha(3, 1, 0), background);
    EXPECT_EQ(Pixel(picture, 0, 0), (std::vector<uint8_t>{10, 20, 30}));
}

TEST(BlendOverBackgroundTest, SmallerBackgroundBlendsOnlyTheSharedArea) {
    Image picture = Uniform(3, 2, 100, 100, 100);
    const Image background = Uniform(2, 1, 0, 0, 0);
    BlendOverBackground(picture, Alpha(3, 2, 0), background);
    EXPECT_EQ(Pixel(picture, 0, 0), (std::vector<uint8_t>{0, 0, 0}));
    EXPECT_EQ(Pixel(picture, 0, 1), (std::vector<uint8_t>{0, 0, 0}));
    // Outside the background the picture keeps its bytes.
    EXPECT_EQ(Pixel(picture, 0, 2), (std::vector<uint8_t>{100, 100, 100}));
    EXPECT_EQ(Pixel(picture, 1, 0), (std::vector<uint8_t>{100, 100, 100}));
    EXPECT_EQ(Pixel(picture, 1, 2), (std::vector<uint8_t>{100, 100, 100}));
}

TEST(BlendOverBackgroundTest, LargerBackgroundIsMatchedByPixelNotByByteOffset) {
    // The background has another stride; each picture pixel meets the background pixel at
    // the same memory row and column.
    Image picture = Uniform(2, 2, 0, 0, 0);
    Image background = Uniform(5, 3, 0, 0, 0);
    for (int32_t r = 0; r < 3; ++r) {
        for (int32_t x = 0; x < 5; ++x) {
            background.row(r)[x * 3] = static_cast<uint8_t>(10 * r + x);
        }
    }
    BlendOverBackground(picture, Alpha(2, 2, 0), background);
    EXPECT_EQ(Pixel(picture, 0, 0)[0], 0);
    EXPECT_EQ(Pixel(picture, 0, 1)[0], 1);
    EXPECT_EQ(Pixel(picture, 1, 0)[0], 10);
    EXPECT_EQ(Pixel(picture, 1, 1)[0], 11);
}

TEST(BlendOverBackgroundTest, EmptyBackgroundChangesNothing) {
    Image picture = Uniform(1, 1, 10, 20, 30);
    BlendOverBackground(picture, Alpha(1, 1, 0), Image{});
    EXPECT_EQ(Pixel(picture, 0, 0), (std::vector<uint8_t>{10, 20, 30}));
}

TEST(LoadCommentPictureTest, ReadsByFullPathAndBlends) {
    std::vector<std::filesystem::path> requested;
    PictureLoader loader = [&](const std::filesystem::path& file, Image& target,
                               AlphaPlane* alpha) {
        requested.push_back(file);
        target = Uniform(2, 1, 200, 200, 200);
        *alpha = Alpha(2, 1, 0);
        alpha->values[1] = 255;
        return 0;
    };
    const Image background = Uniform(2, 1, 20, 20, 20);
    Image target;
    const std::filesystem::path folder = std::filesystem::path("program") / "skin";
    EXPECT_EQ(LoadCommentPicture(loader, folder, "point_disp_ki4.tgp", target, background), 0);
    ASSERT_EQ(requested.size(), 1u);
    EXPECT_EQ(requested[0], folder / "point_disp_ki4.tgp");
    EXPECT_EQ(Pixel(target, 0, 0), (std::vector<uint8_t>{20, 20, 20}));
    EXPECT_EQ(Pixel(target, 0, 1), (std::vector<uint8_t>{200, 200, 200}));
}

TEST(LoadCommentPictureTest, PictureWithoutAlphaIsShownOpaque) {
    PictureLoader loader = [](const std::filesystem::path&, Image& target, AlphaPlane*) {
        target = Uniform(2, 2, 7, 8, 9);
        return 0;
    };
    Image target;
    EXPECT_EQ(LoadCommentPicture(loader, "skin", "a.tgp", target, Uniform(2, 2, 0, 0, 0)), 0);
    EXPECT_EQ(Pixel(target, 1, 1), (std::vector<uint8_t>{7, 8, 9}));
}

TEST(LoadCommentPictureTest, FailureLeavesTheTargetEmpty) {
    PictureLoader failing = [](const std::filesystem::path&, Image& target, AlphaPlane*) {
        target = Uniform(1, 1, 1, 1, 1);  // half-read
        return -3;
    };
    Image target = Uniform(2, 2, 5, 5, 5);
    target.path = "old";
    EXPECT_EQ(LoadCommentPicture(failing, "skin", "missing.tgp", target, Image{}), -1);
    EXPECT_TRUE(target.empty());
    EXPECT_TRUE(target.path.empty());

    // A reader that claims success without pixels counts as a failure.
    PictureLoader hollow = [](const std::filesystem::path&, Image&, AlphaPlane*) { return 0; };
    EXPECT_EQ(LoadCommentPicture(hollow, "skin", "x.tgp", target, Image{}), -1);
    EXPECT_TRUE(target.empty());

    // No name, no reader: nothing is read.
    int calls = 0;
    PictureLoader counting = [&](const std::filesystem::path&, Image&, AlphaPlane*) {
        ++calls;
        return -1;
    };
    EXPECT_EQ(LoadCommentPicture(counting, "skin", "", target, Image{}), -1);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(LoadCommentPicture(PictureLoader{}, "skin", "a.tgp", target, Image{}), -1);
}

}  // namespace
}  // namespace tama05
