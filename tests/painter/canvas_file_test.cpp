#include "painter/canvas_file.h"

#include <gtest/gtest.h>

#include "painter_test_files.h"
#include "picture_writers.h"
#include "puzzlefile/huffman_codec.h"

namespace tama05 {
namespace {

using test::painter::Bytes;
using test::painter::CanvasForm;
using test::painter::MakeCanvasFile;
using test::painter::Text;
using Message = RecordingMessageSink::Message;

Image Filled(int32_t width, int32_t height, uint8_t value) {
    Image image;
    image.CreateFilled(width, height, value);
    return image;
}

Bytes Huffman(const Image& image) {
    Bytes out;
    HuffCodeImg(image, out);
    return out;
}

CanvasForm HuffmanCanvas() {
    CanvasForm form;
    form.name = Text("picture name");
    form.painterPath = Text("C:\\paint\\\x8A\x47.esi");
    Image picture;
    picture.Create(4, 3);
    for (size_t i = 0; i < picture.byteCount(); ++i) {
        picture.data()[i] = static_cast<uint8_t>(i * 5);
    }
    form.picture = Huffman(picture);
    form.paperWidth = 640;
    form.paperHeight = 480;
    return form;
}

class CanvasFileTest : public ::testing::Test {
  protected:
    int Read(const CanvasForm& form) { return ReadBytes(MakeCanvasFile(form)); }
    int ReadBytes(const Bytes& bytes) {
        return ReadCNV2(sink, name, painterPath, test::WriteFile(folder, "c.cnv", bytes), image,
                        &record);
    }

    test::TempFolder folder;
    RecordingMessageSink sink;
    std::string name = "old name";
    std::string painterPath = "old painter";
    Image image;
    CanvasRecord record;
};

TEST_F(CanvasFileTest, HuffmanPictureWithoutTextureIsLeftUntouched) {
    ASSERT_EQ(Read(HuffmanCanvas()), kCanvasOk);
    EXPECT_EQ(name, "picture name");
    EXPECT_EQ(painterPath, "C:\\paint\\\x8A\x47.esi");
    EXPECT_EQ(image.width(), 4);
    EXPECT_EQ(image.info.biHeight, 3);
    for (size_t i = 0; i < image.byteCount(); ++i) {
        ASSERT_EQ(image.data()[i], static_cast<uint8_t>(i * 5));
    }
    EXPECT_EQ(record.values[0], 300);
    EXPECT_EQ(record.values[6], 306);
    EXPECT_EQ(record.canvasData, (Bytes{1, 2, 3}));
    EXPECT_EQ(record.paperWidth, 640);
    EXPECT_EQ(record.paperHeight, 480);
    EXPECT_EQ(record.texture.width(), 100);
    EXPECT_EQ(record.texture.data()[0], 255);
    EXPECT_TRUE(record.paper.empty());
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(CanvasFileTest, JpegPicture) {
    CanvasForm form = HuffmanCanvas();
    form.pictureCoding = 0;
    test::JpegForm jpeg;
    form.picture = test::MakeJpeg(jpeg, Bytes(8 * 8 * 3, 60));
    ASSERT_EQ(Read(form), kCanvasOk);
    EXPECT_EQ(image.width(), 8);
    EXPECT_NEAR(image.data()[0], 60, 2);
}

TEST_F(CanvasFileTest, TextureIsPreparedAndBlendedWithThePaper) {
    CanvasForm form = HuffmanCanvas();
    form.textureFlag = 1;
    form.threshold = 0;
    form.scale = 0;
    Image texture = Filled(1, 1, 0);
    texture.data()[0] = 128;  // the first byte weighs
    form.texture = Huffman(texture);
    form.paper = Huffman(Filled(5, 3, 255));
    form.picture = Huffman(Filled(4, 3, 0));
    ASSERT_EQ(Read(form), kCanvasOk);
    // (1 − 128 × 0.0039215689) × 255 + 0 = 126.99999 → 126, every byte but the padding.
    EXPECT_EQ(image.data()[0], 126);
    EXPECT_EQ(image.data()[35], 126);
    EXPECT_EQ(record.paper.width(), 5);
    EXPECT_EQ(record.workingTexture.data()[0], 128);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(CanvasFileTest, ThresholdIsLimitedAndStoredBack) {
    CanvasForm form = HuffmanCanvas();
    form.textureFlag = 1;
    form.threshold = 0x80;  // −128
    form.texture = Huffman(Filled(2, 2, 10));
    form.paper = Huffman(Filled(4, 3, 0));
    ASSERT_EQ(Read(form), kCanvasOk);
    EXPECT_EQ(record.textureThreshold, -127);
}

TEST_F(CanvasFileTest, UndecodablePicturesShowTheirMessagesAndReadingGoesOn) {
    CanvasForm form = HuffmanCanvas();
    form.textureFlag = 1;
    form.texture = Bytes(12, 0);  // width 0: refused after its 12 bytes
    form.paper = Bytes(12, 0);
    form.picture = Bytes(12, 0);
    image = Filled(2, 2, 7);
    ASSERT_EQ(Read(form), kCanvasOk);
    const Message texture{"HuffDecodeImgファイル作成に失敗しました。WRITE_CNV2", "失敗"};
    EXPECT_EQ(sink.messages,
              (std::vector<Message>{
                  texture, texture, {"JPEGファイル作成に失敗しました。ReadCNV", "失敗"}}));
    EXPECT_EQ(image.width(), 2);  // no picture: the target keeps its own
    EXPECT_EQ(image.data()[0], 7);
    EXPECT_EQ(record.texture.width(), 100);  // white in place of the broken texture
    EXPECT_EQ(name, "picture name");

    sink.messages.clear();
    form = HuffmanCanvas();
    form.pictureCoding = 2;
    form.picture = Bytes{0xFF, 0xD8, 0xFF};
    ASSERT_EQ(Read(form), kCanvasOk);
    EXPECT_EQ(sink.messages,
              (std::vector<Message>{{"JPEGファイル読み込みに失敗しました。ReadCNV", "失敗"}}));
}

TEST_F(CanvasFileTest, HeaderAndVersionMessages) {
    EXPECT_EQ(ReadCNV2(sink, name, painterPath, folder.path() / "none.cnv", image, &record),
              kCanvasNotCanvas);
    EXPECT_TRUE(sink.messages.empty());
    CanvasForm form = HuffmanCanvas();
    form.header = "cnv file 0b";
    EXPECT_EQ(Read(form), kCanvasNotCanvas);
    form = HuffmanCanvas();
    form.version = 1;
    EXPECT_EQ(Read(form), kCanvasBadVersion);
    EXPECT_EQ(
        sink.messages,
        (std::vector<Message>{
            {"本当にcnvファイルですか？", "失敗してしまいました。"},
            {"このバージョンのcnvファイルは使えません。ソフトのバージョンを上げてください。（ToT)",
             "残念ながら･･･"}}));
    EXPECT_EQ(name, "old name");
}

TEST_F(CanvasFileTest, HostileSizesAreRefusedWithoutTouchingTheBuffers) {
    image = Filled(1, 1, 3);
    CanvasForm longName = HuffmanCanvas();
    longName.name = Text(std::string(260, 'n'));  // 260 characters do not fit 260 bytes
    EXPECT_EQ(Read(longName), kCanvasDamaged);

    CanvasForm longPath = HuffmanCanvas();
    longPath.painterPath = Bytes(300, 'p');
    EXPECT_EQ(Read(longPath), kCanvasDamaged);

    CanvasForm longField = HuffmanCanvas();  // a short text in a field beyond 260 bytes
    longField.name = Text("short");
    longField.name.resize(261, 0);
    EXPECT_EQ(Read(longField), kCanvasDamaged);

    CanvasForm hugeData = HuffmanCanvas();
    hugeData.canvasDataLength = 0x7FFFFFF0;
    EXPECT_EQ(Read(hugeData), kCanvasDamaged);

    CanvasForm negativeData = HuffmanCanvas();
    negativeData.canvasDataLength = -1;
    EXPECT_EQ(Read(negativeData), kCanvasDamaged);

    CanvasForm smallPaper = HuffmanCanvas();
    smallPaper.textureFlag = 1;
    smallPaper.texture = Huffman(Filled(2, 2, 10));
    smallPaper.paper = Huffman(Filled(4, 2, 0));  // the picture is 4 × 3
    EXPECT_EQ(Read(smallPaper), kCanvasDamaged);

    Bytes cut = MakeCanvasFile(HuffmanCanvas());
    cut.resize(40);
    EXPECT_EQ(ReadBytes(cut), kCanvasDamaged);

    EXPECT_EQ(name, "old name");
    EXPECT_EQ(painterPath, "old painter");
    EXPECT_EQ(image.width(), 1);
    EXPECT_TRUE(sink.messages.empty());

    CanvasForm longest = HuffmanCanvas();
    longest.name = Text(std::string(259, 'n'));
    EXPECT_EQ(Read(longest), kCanvasOk);
    EXPECT_EQ(name.size(), 259u);
}

TEST_F(CanvasFileTest, TextTargetMayBeThePicturesOwnName) {
    ASSERT_EQ(ReadCNV2(sink, image.path, painterPath,
                       test::WriteFile(folder, "own.cnv", MakeCanvasFile(HuffmanCanvas())), image),
              kCanvasOk);
    EXPECT_EQ(image.path, "picture name");
    EXPECT_EQ(image.width(), 4);
}

}  // namespace
}  // namespace tama05

namespace tama05 {
namespace {

TEST_F(CanvasFileTest, EveryTruncationIsReadOrRefused) {
    CanvasForm form = HuffmanCanvas();
    form.textureFlag = 1;
    form.texture = Huffman(Filled(2, 2, 10));
    form.paper = Huffman(Filled(4, 3, 0));
    const Bytes file = MakeCanvasFile(form);
    for (size_t size = 0; size < file.size(); size += 7) {
        sink.messages.clear();
        const int result = ReadBytes(Bytes(file.begin(), file.begin() + static_cast<long>(size)));
        ASSERT_TRUE(result == kCanvasOk || result == kCanvasNotCanvas || result == kCanvasDamaged)
            << size;
        if (result == kCanvasOk) {
            // Only the pictures can be cut and read on: each cut one says so.
            ASSERT_FALSE(sink.messages.empty()) << size;
        }
    }
}

}  // namespace
}  // namespace tama05
