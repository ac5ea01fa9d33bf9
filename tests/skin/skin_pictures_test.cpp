#include "skin/skin_pictures.h"

#include <gtest/gtest.h>

#include <functional>

#include "fake_picture_loader.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using test::FakePictureLoader;
using test::SolidImage;

// Blue, green, red of picture pixel (x, y counted from the top).
std::array<int, 3> PixelAt(const Image& image, int32_t x, int32_t y) {
    const uint8_t* p = image.rowFromTop(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

PictureLoader Loader(FakePictureLoader& fake) {
    return std::ref(fake);
}

TEST(StateSheets, CompositeFollowsTheAlphaWithTruncation) {
    const Image back = SolidImage(2, 1, 100, 100, 100);
    const Image state = SolidImage(2, 1, 200, 0, 255);
    AlphaPlane alpha;
    alpha.FillOpaque(2, 1);
    alpha.values[0] = 128;  // a = 128/255: 100 × 127/255 + 200 × 128/255 = 150.19...
    alpha.values[1] = 0;
    Image result;
    ASSERT_EQ(CompositeOver(back, state, &alpha, result), 0);
    EXPECT_EQ(PixelAt(result, 0, 0), (std::array<int, 3>{150, 49, 177}));
    EXPECT_EQ(PixelAt(result, 1, 0), (std::array<int, 3>{100, 100, 100}));
}

TEST(StateSheets, OpaqueStateReplacesTheBack) {
    const Image back = SolidImage(3, 2, 1, 2, 3);
    const Image state = SolidImage(3, 2, 9, 8, 7);
    Image result;
    CompositeOver(back, state, nullptr, result);
    EXPECT_EQ(PixelAt(result, 2, 1), (std::array<int, 3>{9, 8, 7}));
}

TEST(StateSheets, DifferentSizesCompositeOnlyTheOverlap) {
    const Image back = SolidImage(4, 3, 10, 10, 10);
    const Image state = SolidImage(2, 5, 50, 50, 50);
    Image result;
    CompositeOver(back, state, nullptr, result);
    ASSERT_EQ(result.width(), 4);
    ASSERT_EQ(result.height(), 3);
    EXPECT_EQ(PixelAt(result, 1, 2), (std::array<int, 3>{50, 50, 50}));
    EXPECT_EQ(PixelAt(result, 2, 0), (std::array<int, 3>{10, 10, 10}));
}

TEST(StateSheets, AlphaRowsFollowTheMemoryOrder) {
    // Two rows: the alpha of memory row 0 (the bottom row) is 0, that of the top row 255.
    const Image back = SolidImage(1, 2, 0, 0, 0);
    const Image state = SolidImage(1, 2, 255, 255, 255);
    AlphaPlane alpha;
    alpha.FillOpaque(1, 2);
    alpha.values[0] = 0;
    Image result;
    CompositeOver(back, state, &alpha, result);
    EXPECT_EQ(PixelAt(result, 0, 0)[0], 255);  // top
    EXPECT_EQ(PixelAt(result, 0, 1)[0], 0);    // bottom
}

TEST(StateSheets, BuiltFromTheSkinFolderWithMissingPicturesEmpty) {
    FakePictureLoader fake;
    fake.Add("/skin/ctrl_back.png", SolidImage(4, 2, 0, 0, 0));
    fake.Add("/skin/ctrl_normal.png", SolidImage(4, 2, 255, 255, 255),
             std::vector<uint8_t>(8, 51));  // a = 0.2
    fake.Add("/skin/ctrl_down.png", SolidImage(4, 2, 7, 7, 7));
    StateSheets sheets;
    EXPECT_EQ(BuildStateSheets("/skin", Loader(fake), sheets), 0);
    EXPECT_EQ(PixelAt(sheets.normal, 3, 1), (std::array<int, 3>{51, 51, 51}));
    EXPECT_TRUE(sheets.hover.empty());
    EXPECT_EQ(PixelAt(sheets.pressed, 0, 0), (std::array<int, 3>{7, 7, 7}));
    EXPECT_EQ(fake.requests.front(), std::filesystem::path("/skin/ctrl_back.png"));
}

TEST(SkinBackground, FallsBackToTheDefaultFolderThenToWhite) {
    FakePictureLoader fake;
    fake.Add("/default/sub_ctrl_back.png", SolidImage(5, 5, 1, 1, 1));
    Image picture;
    ASSERT_EQ(LoadSkinBackground("/mine", "/default", "sub_ctrl_back.png", Loader(fake), picture),
              0);
    EXPECT_EQ(picture.width(), 5);
    ASSERT_EQ(LoadSkinBackground("/mine", "/default", "ctrl_back.png", Loader(fake), picture), 0);
    EXPECT_EQ(picture.width(), 400);
    EXPECT_EQ(picture.height(), 300);
    EXPECT_EQ(PixelAt(picture, 399, 299), (std::array<int, 3>{255, 255, 255}));
}

TEST(SkinBackground, CenterColourIsCountedFromTheBottomEdge) {
    // 4 × 4: the pixel at column 2, row 2 from the bottom is row 1 from the top.
    Image picture = SolidImage(4, 4, 0, 0, 0);
    uint8_t* p = picture.rowFromTop(1) + 3 * 2;
    p[0] = 0x30;  // blue
    p[1] = 0x20;  // green
    p[2] = 0x10;  // red
    EXPECT_EQ(BackgroundCenterColor(picture), 0x302010u);
    EXPECT_EQ(BackgroundCenterColor(Image()), 0u);
}

TEST(CutPicture, RectangleBeyondTheRightEdgeIsBlackThere) {
    // A 10 × 12 button at (285, 3) on a 290-pixel-wide sheet.
    const Image sheet = SolidImage(290, 20, 30, 60, 90);
    Image picture;
    ASSERT_EQ(CutPicture(sheet, SkinRect{285, 3, 10, 12}, picture), 0);
    ASSERT_EQ(picture.width(), 10);
    ASSERT_EQ(picture.height(), 12);
    for (int32_t y = 0; y < 12; ++y) {
        for (int32_t x = 0; x < 10; ++x) {
            const std::array<int, 3> expected =
                x < 5 ? std::array<int, 3>{30, 60, 90} : std::array<int, 3>{0, 0, 0};
            EXPECT_EQ(PixelAt(picture, x, y), expected) << x << "," << y;
        }
    }
}

TEST(CutPicture, TakesTheRightPixelsCountedFromTheTop) {
    std::mt19937 rng(5);
    const Image sheet = test::RandomImage(7, 6, rng);
    Image picture;
    CutPicture(sheet, SkinRect{-2, 4, 5, 4}, picture);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 5; ++x) {
            const int32_t sx = x - 2;
            const int32_t sy = y + 4;
            const bool inside = sx >= 0 && sy < 6;
            const std::array<int, 3> expected =
                inside ? PixelAt(sheet, sx, sy) : std::array<int, 3>{0, 0, 0};
            EXPECT_EQ(PixelAt(picture, x, y), expected) << x << "," << y;
        }
    }
}

TEST(CutPicture, EmptySourceGivesBlackAndNoAreaGivesNothing) {
    Image picture;
    ASSERT_EQ(CutPicture(Image(), SkinRect{0, 0, 3, 3}, picture), 0);
    EXPECT_EQ(PixelAt(picture, 2, 2), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(CutPicture(Image(), SkinRect{0, 0, 0, 3}, picture), -1);
    EXPECT_TRUE(picture.empty());
    // A size from a hostile skin file is refused, not allocated.
    EXPECT_EQ(CutPicture(Image(), SkinRect{0, 0, 2000000000, 2000000000}, picture), -1);
    EXPECT_EQ(CutPicture(Image(), SkinRect{2147483647, 2147483647, 2, 2}, picture), 0);
}

}  // namespace
}  // namespace tama05
