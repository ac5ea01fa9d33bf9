#include "core/picture_export.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/bmp_file.h"
#include "core/png_file.h"
#include "picture_writers.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using test::Bytes;

// The blend written out plainly: weight = blend × (1/255 as a float), limited to 0..1, the
// byte mix formed in double precision, cut toward zero, limited to 0..255.
uint8_t ReferenceByte(int blend, uint8_t canvas, uint8_t answer) {
    const float oneOver255 = 1.0f / 255.0f;
    double x = blend * static_cast<double>(oneOver255);
    if (x > 1.0) {
        x = 1.0;
    }
    if (x < 0.0) {
        x = 0.0;
    }
    double value = std::trunc(x * canvas + (1.0 - x) * answer);
    value = std::min(255.0, std::max(0.0, value));
    return static_cast<uint8_t>(value);
}

class ExportTest : public ::testing::Test {
  protected:
    ExportTest() {
        std::mt19937 rng(11);
        canvas = test::RandomImage(7, 5, rng);
        answer = test::RandomImage(7, 5, rng);
    }
    Image canvas;
    Image answer;
    test::ScratchFolder folder;
    RecordingMessageSink messages;
};

TEST_F(ExportTest, ComposeMatchesThePlainDoubleBlendBitForBit) {
    for (int blend : {0, 1, 77, 128, 254, 255}) {
        Image out;
        ASSERT_EQ(ComposeExportImage(canvas, answer, blend, out), 0);
        ASSERT_EQ(out.byteCount(), answer.byteCount());
        for (size_t i = 0; i < out.byteCount(); ++i) {
            ASSERT_EQ(out.data()[i], ReferenceByte(blend, canvas.data()[i], answer.data()[i]))
                << "blend " << blend << " byte " << i;
        }
    }
}

TEST_F(ExportTest, EndsOfTheSliderGiveTheAnswerAndTheCanvas) {
    Image out;
    ASSERT_EQ(ComposeExportImage(canvas, answer, 0, out), 0);
    EXPECT_EQ(Bytes(out.data(), out.data() + out.byteCount()),
              Bytes(answer.data(), answer.data() + answer.byteCount()));
    ASSERT_EQ(ComposeExportImage(canvas, answer, 255, out), 0);
    EXPECT_EQ(Bytes(out.data(), out.data() + out.byteCount()),
              Bytes(canvas.data(), canvas.data() + canvas.byteCount()));
    // 128: the weight 0.50196… of canvas 255 over answer 0 is 128.0… → 128; over 1 → 128.
    Image white = test::SolidImage(1, 1, 255, 255, 255);
    Image black = test::SolidImage(1, 1, 0, 0, 0);
    ASSERT_EQ(ComposeExportImage(white, black, 128, out), 0);
    EXPECT_EQ(out.data()[0], 128);
    ASSERT_EQ(ComposeExportImage(black, white, 128, out), 0);
    EXPECT_EQ(out.data()[0], 126);  // 0.49804 × 255 = 126.99… cut to 126
}

TEST_F(ExportTest, ComposeRefusesPicturesOfDifferentSizes) {
    Image small = test::SolidImage(3, 3, 0, 0, 0);
    Image out;
    EXPECT_EQ(ComposeExportImage(small, answer, 10, out), -1);
}

TEST_F(ExportTest, JpegIsProgressiveQuality80) {
    Image big_canvas = test::SolidImage(64, 48, 10, 200, 30);
    Image big_answer = test::SolidImage(64, 48, 10, 200, 30);
    const auto path = folder.path() / "out.jpg";
    ASSERT_EQ(ExportJpeg(messages, path, big_canvas, big_answer, 128), 0);
    EXPECT_TRUE(messages.messages.empty());
    const Bytes bytes = folder.Read("out.jpg");
    const auto facts = test::InspectJpeg(bytes);
    EXPECT_TRUE(facts.progressive);
    EXPECT_EQ(facts.width, 64);
    EXPECT_EQ(facts.height, 48);
    EXPECT_NEAR(facts.rgb[0], 30, 4);
    EXPECT_NEAR(facts.rgb[1], 200, 4);
    // Quality 80 scales the standard luminance table by 40 %: its first entry 16 becomes 6.
    bool found = false;
    for (size_t i = 0; i + 5 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xDB) {
            EXPECT_EQ(bytes[i + 4], 0);  // table 0, 8-bit
            EXPECT_EQ(bytes[i + 5], 6);
            found = true;
            break;
        }
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.jpg"});
}

TEST_F(ExportTest, BmpHoldsTheComposedPixels) {
    const auto path = folder.path() / "out.bmp";
    ASSERT_EQ(ExportBmp(messages, path, canvas, answer, 128), 0);
    Image expected;
    ComposeExportImage(canvas, answer, 128, expected);
    Image back;
    EXPECT_EQ(ReadBmpFile(back, path), static_cast<int>(54 + 120 - 14));
    EXPECT_EQ(Bytes(back.data(), back.data() + back.byteCount()),
              Bytes(expected.data(), expected.data() + expected.byteCount()));
    EXPECT_EQ(back.info.biSizeImage, 120u);  // stride 24 × 5 rows
}

TEST_F(ExportTest, PngUsesTheAnswersOwnPlaneOnly) {
    const auto path = folder.path() / "out.png";
    ASSERT_EQ(ExportPng(messages, path, canvas, answer, 255, nullptr), 0);
    EXPECT_EQ(folder.Read("out.png")[25], PNG_COLOR_TYPE_RGB);
    Image back;
    ASSERT_EQ(ReadPngFile(path, back, nullptr, nullptr), kPngOk);
    for (int32_t r = 0; r < 5; ++r) {
        EXPECT_EQ(Bytes(back.row(r), back.row(r) + 21), Bytes(canvas.row(r), canvas.row(r) + 21));
    }

    AlphaPlane own;
    own.FillOpaque(7, 5);
    own.values[3] = 17;
    ASSERT_EQ(ExportPng(messages, path, canvas, answer, 0, &own), 0);
    EXPECT_EQ(folder.Read("out.png")[25], PNG_COLOR_TYPE_RGB_ALPHA);
    AlphaPlane backPlane;
    ASSERT_EQ(ReadPngFile(path, back, &backPlane, nullptr), kPngOk);
    EXPECT_EQ(backPlane.values[3], 17);

    AlphaPlane stranger;
    stranger.FillOpaque(5, 7);
    ASSERT_EQ(ExportPng(messages, path, canvas, answer, 0, &stranger), 0);
    EXPECT_EQ(folder.Read("out.png")[25], PNG_COLOR_TYPE_RGB);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ExportTest, FailedExportsSayItAndLeaveNoFile) {
    const auto missing = folder.path() / "missing";
    EXPECT_EQ(ExportJpeg(messages, missing / "a.jpg", canvas, answer, 0), -1);
    EXPECT_EQ(ExportBmp(messages, missing / "a.bmp", canvas, answer, 0), -3);
    EXPECT_EQ(ExportPng(messages, missing / "a.png", canvas, answer, 0, nullptr), -1);
    using Message = RecordingMessageSink::Message;
    EXPECT_EQ(messages.messages,
              (std::vector<Message>{{"ファイルオープンに失敗しました。WRITE_JPEG", "失敗"},
                                    {"ファイル生成に失敗しました。", "Error"},
                                    {"ファイルオープンに失敗しました。WRITE_PNG", "失敗"}}));
    messages.messages.clear();
    // The target is a folder: the file is written but cannot take its place.
    std::filesystem::create_directory(folder.path() / "taken.jpg");
    EXPECT_EQ(ExportJpeg(messages, folder.path() / "taken.jpg", canvas, answer, 0), -1);
    EXPECT_EQ(messages.messages,
              (std::vector<Message>{{"JPEGファイル作成に失敗しました。WRITE_JPEG", "失敗"}}));
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"taken.jpg"});
    // An empty answer image cannot be encoded.
    messages.messages.clear();
    EXPECT_EQ(ExportJpeg(messages, folder.path() / "e.jpg", Image{}, Image{}, 0), -1);
    EXPECT_EQ(messages.messages,
              (std::vector<Message>{{"JPEGファイル作成に失敗しました。WRITE_JPEG", "失敗"}}));
}

}  // namespace
}  // namespace tama05
