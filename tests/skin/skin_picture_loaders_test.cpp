#include "skin/skin_picture_loaders.h"

#include <gtest/gtest.h>

#include "picture_writers.h"

namespace tama05 {
namespace {

TEST(SkinPictureLoaders, StateSheetsFromRealPngFilesUseTheirAlpha) {
    test::ScratchFolder skin;
    // A 2 × 1 grey back (RGB) and a white normal sheet (RGBA): transparent, then opaque.
    skin.Write("ctrl_back.png",
               test::MakePng(2, 1, PNG_COLOR_TYPE_RGB, 8, {{40, 40, 40, 40, 40, 40}}));
    skin.Write("ctrl_normal.png", test::MakePng(2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8,
                                                {{255, 255, 255, 0, 255, 255, 255, 255}}));
    StateSheets sheets;
    ASSERT_EQ(BuildStateSheets(skin.path(), PngPictureLoader(), sheets), 0);
    ASSERT_EQ(sheets.normal.width(), 2);
    EXPECT_EQ(sheets.normal.rowFromTop(0)[0], 40);
    EXPECT_EQ(sheets.normal.rowFromTop(0)[3], 255);
    EXPECT_TRUE(sheets.hover.empty());
}

TEST(SkinPictureLoaders, MissingBackgroundIsSilentAndWhite) {
    test::ScratchFolder skin;
    Image picture;
    ASSERT_EQ(LoadSkinBackground(skin.path(), skin.path() / "none", "ctrl_back.png",
                                 SilentPictureLoader(), picture),
              0);
    EXPECT_EQ(picture.width(), 400);
    EXPECT_EQ(picture.height(), 300);
}

}  // namespace
}  // namespace tama05
