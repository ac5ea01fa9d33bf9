// Runs the readers over the public PngSuite and BMP suite when they are present beside the
// project (../shared/testsuites, or the folder named by TAMA05_TESTSUITES).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/bmp_file.h"
#include "core/png_file.h"

namespace tama05 {
namespace {

namespace fs = std::filesystem;

fs::path SuitesFolder() {
    if (const char* named = std::getenv("TAMA05_TESTSUITES")) {
        return named;
    }
    return fs::path(TAMA05_SOURCE_DIR).parent_path() / "shared" / "testsuites";
}

TEST(PictureTestsuiteTest, PngSuiteReadsWithoutHarm) {
    const fs::path folder = SuitesFolder() / "pngsuite" / "png";
    if (!fs::is_directory(folder)) {
        GTEST_SKIP() << "PngSuite not present";
    }
    int files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".png") {
            continue;
        }
        ++files;
        const std::string name = entry.path().filename().string();
        Image image;
        AlphaPlane plane;
        PictureReadState state;
        const int code = ReadPngFile(entry.path(), image, &plane, &state);
        if (name[0] == 'x') {
            EXPECT_LT(code, 0) << name;
        }
        if (code == kPngOk) {
            EXPECT_TRUE(plane.Matches(image.width(), image.height())) << name;
        }
        if (name == "basn2c08.png" || name == "basn6a08.png") {
            EXPECT_EQ(code, kPngOk) << name;
            EXPECT_EQ(image.width(), 32) << name;
            EXPECT_EQ(state.PictureHasAlpha, name == "basn6a08.png");
        }
        if (name == "basn3p08.png") {
            EXPECT_EQ(code, kPngPalette);
        }
        if (name == "basn0g16.png") {
            EXPECT_EQ(code, kPngNot8Bit);
        }
    }
    EXPECT_GT(files, 0);
}

TEST(PictureTestsuiteTest, BmpSuiteReadsWithoutHarm) {
    const fs::path folder = SuitesFolder() / "bmpsuite";
    if (!fs::is_directory(folder)) {
        GTEST_SKIP() << "BMP suite not present";
    }
    int files = 0;
    for (const auto& group : fs::directory_iterator(folder)) {
        if (!group.is_directory()) {
            continue;
        }
        for (const auto& entry : fs::directory_iterator(group.path())) {
            if (entry.path().extension() != ".bmp") {
                continue;
            }
            ++files;
            Image image;
            const int code = ReadBmpFile(image, entry.path());
            if (code >= 0) {
                EXPECT_EQ(image.info.biBitCount, 24) << entry.path();
                EXPECT_EQ(image.info.biCompression, 0u) << entry.path();
            }
            const std::string name = entry.path().filename().string();
            if (name == "pal8.bmp") {
                EXPECT_EQ(code, kBmpNot24Bit);
            }
            if (name == "rgb24.bmp" && group.path().filename() == "g") {
                EXPECT_GE(code, 0);
            }
        }
    }
    EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace tama05
