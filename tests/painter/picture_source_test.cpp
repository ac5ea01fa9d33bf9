#include "painter/picture_source.h"

#include <gtest/gtest.h>

#include "painter_test_files.h"
#include "picture_writers.h"
#include "puzzlefile/huffman_codec.h"

namespace tama05 {
namespace {

using test::painter::Bytes;
using Message = RecordingMessageSink::Message;

const std::string kDashes = "\x81\x7C\x81\x7C";  // "－－" in code page 932

Bytes RgbaPng() {
    return test::MakePng(2, 1, 6, 8, {Bytes{1, 2, 3, 40, 5, 6, 7, 80}});
}

Bytes RawPainterFile(const std::string& name, const std::string& header = "esi file 0a") {
    test::painter::PainterForm form;
    form.header = header;
    form.nameText = name;
    form.picture = test::painter::RawPlainBlock(test::PatternBlock(100, 100));
    return test::painter::MakePainterFile(form);
}

Bytes CanvasFile() {
    test::painter::CanvasForm form;
    form.name = test::painter::Text("canvas picture");
    form.painterPath = test::painter::Text("C:\\paint\\brush.esi");
    Image picture;
    picture.CreateFilled(6, 5, 77);
    HuffCodeImg(picture, form.picture);
    return test::painter::MakeCanvasFile(form);
}

Bytes ItemFile() {
    test::painter::ItemForm form;
    form.picture = test::painter::RawPlainBlock(test::PatternBlock(50, 50));
    return test::painter::MakeItemFile(form);
}

class SniffSourceFileTest : public ::testing::Test {
  protected:
    int Sniff(const std::filesystem::path& path) {
        return SniffSourceFile(sink, state, path, image, &alpha);
    }
    std::filesystem::path Write(const std::string& name, const Bytes& bytes) {
        return test::WriteFile(folder, name, bytes);
    }

    test::TempFolder folder;
    RecordingMessageSink sink;
    PictureSourceState state;
    Image image;
    AlphaPlane alpha;
};

TEST_F(SniffSourceFileTest, PngNamedJpgIsReadByItsContent) {
    const auto path = Write("picture.jpg", RgbaPng());
    ASSERT_EQ(Sniff(path), 0);
    EXPECT_EQ(image.width(), 2);
    EXPECT_EQ(image.path, path.string());
    EXPECT_TRUE(state.read.PictureHasAlpha);
    ASSERT_TRUE(alpha.Matches(2, 1));
    EXPECT_EQ(alpha.At(0, 1), 80);
    EXPECT_EQ(state.painterName, kDashes);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(SniffSourceFileTest, TextNamedPngFailsSilently) {
    EXPECT_EQ(Sniff(Write("notes.png", Bytes(40, 'x'))), -1);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(SniffSourceFileTest, BothPainterHeadersGoToThePainterReader) {
    const auto a = Write("a.bin", RawPainterFile("painter A"));
    ASSERT_EQ(Sniff(a), 0);
    EXPECT_EQ(state.painterName, "painter A");
    EXPECT_EQ(state.painterPath, a);
    EXPECT_EQ(image.width(), 100);
    EXPECT_EQ(test::Block(image), test::PatternBlock(100, 100));
    const auto f = Write("f.bin", RawPainterFile("painter F", "esi file 0f"));
    ASSERT_EQ(Sniff(f), 0);
    EXPECT_EQ(state.painterName, "painter F");
    EXPECT_EQ(state.painterPath, f);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(SniffSourceFileTest, ElevenCharactersEndingInBAreAPlainPictureThatFails) {
    state.painterName = "someone";
    EXPECT_EQ(Sniff(Write("b.esi", RawPainterFile("painter B", "esi file 0b"))), -1);
    EXPECT_EQ(state.painterName, kDashes);
    EXPECT_TRUE(state.painterPath.empty());
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(SniffSourceFileTest, ShortFileEndsInMinusOne) {
    state.painterName = "kept";
    Bytes eleven = RawPainterFile("x");
    eleven.resize(11);
    EXPECT_EQ(Sniff(Write("short.esi", eleven)), -1);
    EXPECT_EQ(Sniff(Write("empty.png", {})), -1);
    EXPECT_EQ(state.painterName, "kept");
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(SniffSourceFileTest, ItemFileIsSkippedSilently) {
    EXPECT_EQ(Sniff(Write("brush.itm", ItemFile())), -1);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(state.painterName, kDashes);
}

TEST_F(SniffSourceFileTest, PainterNameAfterAPlainPictureAndAfterACanvas) {
    ASSERT_EQ(Sniff(Write("p.esi", RawPainterFile("painter P"))), 0);
    const auto canvas = Write("c.cnv", CanvasFile());
    ASSERT_EQ(Sniff(canvas), 0);
    EXPECT_EQ(state.painterName, "painter P");  // a canvas leaves the name
    EXPECT_EQ(state.painterPath, std::filesystem::path("C:\\paint\\brush.esi"));
    EXPECT_EQ(state.canvasPath, canvas);
    EXPECT_EQ(image.path, "canvas picture");
    EXPECT_EQ(image.width(), 6);
    EXPECT_FALSE(alpha.Matches(6, 5));
    ASSERT_EQ(Sniff(Write("plain.png", RgbaPng())), 0);
    EXPECT_EQ(state.painterName, kDashes);
    EXPECT_EQ(state.canvasPath, canvas);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(SniffSourceFileTest, MissingFileLeavesTheAlphaFlag) {
    state.read.PictureHasAlpha = true;
    EXPECT_EQ(Sniff(folder.path() / "missing.png"), -3);
    EXPECT_TRUE(state.read.PictureHasAlpha);
    ASSERT_EQ(Sniff(Write("p.esi", RawPainterFile("P"))), 0);
    EXPECT_FALSE(state.read.PictureHasAlpha);
}

TEST_F(SniffSourceFileTest, FailingCanvasAddsItsOwnMessage) {
    Bytes canvas = CanvasFile();
    canvas[12] = 1;  // version 1
    image.CreateFilled(1, 1, 0);
    EXPECT_EQ(Sniff(Write("v1.cnv", canvas)), -1);
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[1], (Message{"失敗：ReadCNV2", "失敗しちゃいました。"}));
    EXPECT_TRUE(state.canvasPath.empty());
    EXPECT_EQ(image.width(), 1);
}

TEST_F(SniffSourceFileTest, PainterWhosePictureDoesNotDecodeGivesNoPiece) {
    test::painter::PainterForm form;
    form.nameText = "broken";
    form.pictureType = 0;
    form.picture = Bytes{0xFF, 0xD8, 0xFF, 0xC0};
    image.CreateFilled(3, 3, 1);
    EXPECT_EQ(Sniff(Write("broken.esi", test::painter::MakePainterFile(form))), -1);
    EXPECT_EQ(sink.messages,
              (std::vector<Message>{{"JPEGファイル読み込みに失敗しました。ReadPainter", "失敗"}}));
    EXPECT_EQ(image.width(), 3);
}

TEST_F(SniffSourceFileTest, RefreshIsCalledWithPathAndName) {
    const auto path = Write("p.esi", RawPainterFile("painter R"));
    std::string seen;
    ASSERT_EQ(SniffSourceFile(sink, state, path, image, nullptr,
                              [&](const std::filesystem::path& p, std::string_view name) {
                                  seen = p.filename().string() + "|" + std::string(name);
                              }),
              0);
    EXPECT_EQ(seen, "p.esi|painter R");
}

class ReadAnswerFileTest : public SniffSourceFileTest {
  protected:
    int Answer(const std::filesystem::path& path) {
        return ReadAnswerFile(sink, state, path, candidate, &alpha, &source);
    }
    Image candidate;
    AnswerSource source = AnswerSource::None;
};

TEST_F(ReadAnswerFileTest, MissingFileShowsTwoMessages) {
    const auto path = folder.path() / "missing.jpg";
    EXPECT_EQ(Answer(path), -3);
    EXPECT_EQ(sink.messages, (std::vector<Message>{{"ファイル生成に失敗しました。", "Read_ESI_CNV"},
                                                   {path.string(), "test"}}));
}

TEST_F(ReadAnswerFileTest, ItemPictureBecomesTheCandidate) {
    state.painterName = "someone";
    ASSERT_EQ(Answer(Write("brush.itm", ItemFile())), 0);
    EXPECT_EQ(source, AnswerSource::Item);
    EXPECT_EQ(candidate.width(), 50);
    EXPECT_EQ(test::Block(candidate), test::PatternBlock(50, 50));
    EXPECT_EQ(state.painterName, kDashes);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ReadAnswerFileTest, PainterAndCanvas) {
    const auto painter = Write("p.esi", RawPainterFile("painter Q"));
    ASSERT_EQ(Answer(painter), 0);
    EXPECT_EQ(source, AnswerSource::Painter);
    EXPECT_EQ(candidate.width(), 100);
    EXPECT_EQ(state.painterName, "painter Q");
    EXPECT_EQ(state.painterPath, painter);

    const auto canvas = Write("c.cnv", CanvasFile());
    ASSERT_EQ(Answer(canvas), 0);
    EXPECT_EQ(source, AnswerSource::Canvas);
    EXPECT_EQ(candidate.width(), 6);
    EXPECT_EQ(candidate.path, "canvas picture");
    EXPECT_EQ(state.canvasPath, canvas);
    EXPECT_EQ(state.painterName, "painter Q");

    Bytes badPainter = RawPainterFile("v");
    badPainter[12] = 2;
    EXPECT_EQ(Answer(Write("v.esi", badPainter)), -1);
    EXPECT_TRUE(candidate.empty());
    EXPECT_EQ(sink.messages,
              (std::vector<Message>{{"このバージョンの絵師は使えません。(ToT)", "残念ながら･･･"}}));
}

TEST_F(ReadAnswerFileTest, PlainPictureAndItsFailure) {
    state.read.PictureHasAlpha = true;
    const auto png = Write("a.png", RgbaPng());
    ASSERT_EQ(Answer(png), 0);
    EXPECT_EQ(source, AnswerSource::Picture);
    EXPECT_EQ(candidate.width(), 2);
    EXPECT_EQ(candidate.path, png.string());
    EXPECT_TRUE(alpha.Matches(2, 1));

    EXPECT_EQ(Answer(Write("text.txt", Bytes(30, 'x'))), 0);  // completed, nothing to commit
    EXPECT_TRUE(candidate.empty());
    EXPECT_FALSE(state.read.PictureHasAlpha);
    EXPECT_EQ(state.painterName, kDashes);
    EXPECT_EQ(
        sink.messages,
        (std::vector<Message>{{"ファイルの読み込みに失敗しました。未対応のファイルです。", "失敗"},
                              {"ファイルの読み込みに失敗しました。", "失敗"}}));
}

}  // namespace
}  // namespace tama05
