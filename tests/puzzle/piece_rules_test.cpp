#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "puzzle/piece_folder.h"
#include "puzzle/piece_size.h"
#include "temp_folder.h"

namespace tama05 {
namespace {

PieceSizeDecision Sizes(uint32_t w, uint32_t h, int32_t width = 100, int32_t height = 80) {
    PieceSizeChoice choice;
    choice.mode = PieceSizeMode::kPieceSize;
    choice.pieceWidth = w;
    choice.pieceHeight = h;
    return DecidePieceSize(choice, width, height);
}

PieceSizeDecision Divisions(uint32_t a, uint32_t b, int32_t width = 100, int32_t height = 80) {
    PieceSizeChoice choice;
    choice.mode = PieceSizeMode::kDivisions;
    choice.columns = a;
    choice.rows = b;
    return DecidePieceSize(choice, width, height);
}

TEST(PieceSizeTest, PieceSizeModeBounds) {
    EXPECT_EQ(Sizes(0, 16).refusal, "ピースサイズをもっと大きくしてください。");
    EXPECT_EQ(Sizes(16, 1).refusal, "ピースサイズをもっと大きくしてください。");
    EXPECT_EQ(Sizes(101, 16).refusal, "ピースサイズは画像サイズよりも小さい値にしてください。");
    const PieceSizeDecision whole = Sizes(100, 80);  // one cell
    EXPECT_TRUE(whole.accepted);
    EXPECT_EQ(whole.pieceWidth, 100);
    EXPECT_TRUE(Sizes(2, 2).accepted);
    // The 64 of the field labels is not enforced.
    EXPECT_TRUE(Sizes(65, 70).accepted);
}

TEST(PieceSizeTest, DivisionModeBounds) {
    const PieceSizeDecision three = Divisions(3, 4);
    ASSERT_TRUE(three.accepted);
    EXPECT_EQ(three.pieceWidth, 33);
    EXPECT_EQ(three.pieceHeight, 20);
    EXPECT_EQ(Divisions(1, 4).refusal, "もっと分割数を大きくしてください。");
    EXPECT_EQ(Divisions(60, 4).refusal, "もっと分割数を小さくしてください。");
    EXPECT_EQ(Divisions(0xFFFFFFFFu, 4).refusal, "もっと分割数を小さくしてください。");
}

TEST(PieceSizeTest, FieldsReadAsUnsignedNumbers) {
    EXPECT_EQ(ParsePieceSizeField("16"), 16u);
    EXPECT_EQ(ParsePieceSizeField(" 7 "), 7u);
    EXPECT_EQ(ParsePieceSizeField("abc"), 0u);
    EXPECT_EQ(ParsePieceSizeField("12px"), 0u);
    EXPECT_EQ(ParsePieceSizeField(""), 0u);
    EXPECT_EQ(ParsePieceSizeField("99999999999"), 0u);
    EXPECT_EQ(Sizes(ParsePieceSizeField("x"), 16).refusal,
              "ピースサイズをもっと大きくしてください。");
}

void Touch(const std::filesystem::path& path) { std::ofstream(path) << "x"; }

TEST(ScanPieceFolderTest, PatternsInOrderThenNamesCaseBlind) {
    test::TempFolder folder;
    for (const char* name : {"b.png", "a.PNG", "z.jpg", "Y.JPG", "m.jpeg", "c.bmp", "B.Bmp",
                             "notes.txt", "x.jpgx", "_u.jpg"}) {
        Touch(folder.path() / name);
    }
    std::filesystem::create_directory(folder.path() / "dir.bmp");
    EXPECT_EQ(ScanPieceFolder(folder.path()),
              (std::vector<std::string>{"B.Bmp", "c.bmp", "Y.JPG", "z.jpg", "_u.jpg", "m.jpeg",
                                        "a.PNG", "b.png"}));
}

TEST(ScanPieceFolderTest, KeepsAtMost128Names) {
    test::TempFolder folder;
    for (int i = 0; i < 130; ++i) {
        Touch(folder.path() / ("p" + std::to_string(1000 + i) + ".png"));
    }
    const auto names = ScanPieceFolder(folder.path());
    ASSERT_EQ(names.size(), 128u);
    EXPECT_EQ(names.front(), "p1000.png");
    EXPECT_EQ(names.back(), "p1127.png");
}

TEST(ScanPieceFolderTest, ThreeBitmapsComeBeforeTwentyJpegs) {
    test::TempFolder folder;
    for (int i = 0; i < 20; ++i) {
        Touch(folder.path() / ("photo" + std::to_string(10 + i) + ".jpg"));
    }
    for (int i = 0; i < 3; ++i) {
        Touch(folder.path() / ("z" + std::to_string(i) + ".bmp"));
    }
    const auto names = ScanPieceFolder(folder.path(), kFillPieces);
    ASSERT_EQ(names.size(), 10u);
    EXPECT_EQ(names[0], "z0.bmp");
    EXPECT_EQ(names[2], "z2.bmp");
    EXPECT_EQ(names[3], "photo10.jpg");
    EXPECT_EQ(names[9], "photo16.jpg");
}

TEST(ScanPieceFolderTest, MissingFolderGivesNothing) {
    EXPECT_TRUE(ScanPieceFolder("/nonexistent/tama05/folder").empty());
}

}  // namespace
}  // namespace tama05
