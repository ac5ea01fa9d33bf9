#include "core/image_file.h"
#include "core/file_recognition.h"

#include <gtest/gtest.h>

#include "picture_writers.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using test::Bytes;
using Message = RecordingMessageSink::Message;

const Message kUnsupported{"ファイルの読み込みに失敗しました。未対応のファイルです。", "失敗"};
const Message kJpegFailed{"JPEGファイルオープンに失敗しました。2", "失敗"};
const Message kNot24Bit{
    "BMP画像がフルカラー（24ビット）ではありません。（２４ビットのみ対応しております。）",
    "エラー"};
const Message kPalette{
    "申し訳有りませんが、本ソフトはカラーパレット付きPNGファイルに対応していません。", "失敗"};
const Message kDepth{
    "PNGファイルの色深度が8bit以外です。本ソフトではPNGファイルは色深度8bitのみ対応です。", "失敗"};

Bytes SmallPng() {
    return test::MakePng(1, 1, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3}});
}
Bytes SmallJpeg() {
    test::JpegForm form;
    return test::MakeJpeg(form, Bytes(8 * 8 * 3, 128));
}
Bytes SmallBmp(uint16_t bits = 24, uint32_t compression = 0) {
    test::BmpForm form;
    form.width = 1;
    form.height = 1;
    form.bitCount = bits;
    form.compression = compression;
    form.pixels = {4, 5, 6, 0};
    return test::MakeBmp(form);
}

class LoadImageFileTest : public ::testing::Test {
  protected:
    int Load(const std::string& name, const Bytes& bytes, bool show = true) {
        image = Image{};
        return LoadImageFile(messages, folder.Write(name, bytes), image, show, &plane, &state);
    }
    test::ScratchFolder folder;
    RecordingMessageSink messages;
    Image image;
    AlphaPlane plane;
    PictureReadState state;
};

TEST_F(LoadImageFileTest, PngIsRecognisedByContentWhateverTheName) {
    ASSERT_EQ(Load("picture.jpg", SmallPng()), 0);
    EXPECT_EQ(image.row(0)[0], 3);
    EXPECT_TRUE(plane.Matches(1, 1));
    EXPECT_EQ(image.path, (folder.path() / "picture.jpg").string());
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(LoadImageFileTest, JpegNamedPngIsUnsupported) {
    EXPECT_EQ(Load("photo.png", SmallJpeg()), -1);
    EXPECT_EQ(messages.messages, std::vector<Message>{kUnsupported});
    messages.messages.clear();
    EXPECT_EQ(Load("photo.png", SmallJpeg(), false), -1);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(LoadImageFileTest, ExtensionsMatchCharacterByCharacter) {
    EXPECT_EQ(Load("a.Bmp", SmallBmp()), 0);
    EXPECT_EQ(image.path, (folder.path() / "a.Bmp").string());
    EXPECT_EQ(Load("b.bMP", SmallBmp()), 0);
    EXPECT_EQ(Load("c.JpG", SmallJpeg()), 0);
    EXPECT_EQ(Load("d.jpeg", SmallJpeg()), 0);
    EXPECT_EQ(Load("e.JPEG", SmallJpeg()), 0);
    EXPECT_EQ(Load("f.jPEG", SmallJpeg()), 0);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(Load("g.dib", SmallBmp()), -1);
    EXPECT_EQ(Load("h.jpe", SmallJpeg()), -1);
    EXPECT_EQ(messages.messages, (std::vector<Message>{kUnsupported, kUnsupported}));
    EXPECT_EQ(RecogniseFile(std::vector<uint8_t>{'B', 'M'}, "bmp", kPictureKinds), nullptr);
    EXPECT_EQ(RecogniseFile({}, "jpg", kPictureKinds), nullptr);
}

TEST_F(LoadImageFileTest, BmpNeedsItsSignature) {
    EXPECT_EQ(Load("fake.bmp", Bytes{'X', 'Y', 1, 2}), -1);
    EXPECT_EQ(messages.messages, std::vector<Message>{kUnsupported});
}

TEST_F(LoadImageFileTest, BmpMessagesFollowTheCode) {
    EXPECT_EQ(Load("eight.bmp", SmallBmp(8), false), -1);
    EXPECT_EQ(messages.messages, std::vector<Message>{kNot24Bit});
    messages.messages.clear();
    EXPECT_EQ(Load("rle.bmp", SmallBmp(8, 1)), -1);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(LoadImageFileTest, PngMessagesAreShownEvenWhenSilent) {
    EXPECT_EQ(Load("p.png", test::MakePng(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}}), false), -1);
    EXPECT_EQ(Load("d.png", test::MakePng(1, 1, PNG_COLOR_TYPE_RGB, 16, {Bytes(6, 0)}), false), -1);
    EXPECT_EQ(messages.messages, (std::vector<Message>{kPalette, kDepth}));
}

TEST_F(LoadImageFileTest, ChosenReadersFailureIsFinal) {
    // A BMP file named .jpg goes to the JPEG reader and is not tried as BMP.
    EXPECT_EQ(Load("bitmap.jpg", SmallBmp()), -1);
    EXPECT_EQ(messages.messages, std::vector<Message>{kJpegFailed});
    messages.messages.clear();
    EXPECT_EQ(Load("bitmap.jpg", SmallBmp(), false), -1);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(LoadImageFile(messages, folder.path() / "missing.jpg", image), -1);
    EXPECT_EQ(messages.messages, std::vector<Message>{kJpegFailed});
}

TEST_F(LoadImageFileTest, AlphaPlaneAlwaysDescribesThePictureRead) {
    const Bytes rgba = test::MakePng(1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {{1, 2, 3, 4}});
    ASSERT_EQ(Load("a.png", rgba), 0);
    EXPECT_TRUE(state.PictureHasAlpha);
    EXPECT_EQ(plane.At(0, 0), 4);
    ASSERT_EQ(Load("b.bmp", SmallBmp()), 0);
    EXPECT_TRUE(plane.values.empty());
    ASSERT_EQ(Load("a.png", rgba), 0);
    EXPECT_EQ(Load("p.png", test::MakePng(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}})), -1);
    EXPECT_TRUE(plane.values.empty());
    ASSERT_EQ(Load("a.png", rgba), 0);
    EXPECT_EQ(Load("x.txt", Bytes{1, 2}), -1);
    EXPECT_TRUE(plane.values.empty());
    EXPECT_FALSE(plane.Matches(1, 1));
    // Without a state object nothing is tracked and nothing breaks.
    Image other;
    EXPECT_EQ(LoadImageFile(messages, folder.Write("c.png", rgba), other, true, nullptr, nullptr),
              0);
}

}  // namespace
}  // namespace tama05
