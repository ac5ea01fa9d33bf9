#include "painter/painter_file.h"

#include <gtest/gtest.h>

#include "painter/raw_picture.h"
#include "painter_test_files.h"
#include "picture_writers.h"

namespace tama05 {
namespace {

using test::painter::Bytes;
using test::painter::MakePainterFile;
using test::painter::PainterForm;
using Message = RecordingMessageSink::Message;

Bytes SmallJpeg(uint8_t level) {
    test::JpegForm form;
    form.width = 16;
    form.height = 8;
    return test::MakeJpeg(form, Bytes(16 * 8 * 3, level));
}

PainterForm RawPainter() {
    PainterForm form;
    form.picture = test::painter::RawRunLengthBlock(test::PatternBlock(100, 100));
    return form;
}

int Read(const Bytes& file, PainterRecord& record, Image& image, RecordingMessageSink& sink) {
    ByteReader reader(file);
    return ReadPainter(record, reader, image, sink);
}

TEST(PainterHeader, EitherHeaderPassesPositionByPosition) {
    const auto test = [](const char* text) {
        return IsPainterHeader(std::span(reinterpret_cast<const uint8_t*>(text), 12));
    };
    EXPECT_TRUE(test("esi file 0a"));
    EXPECT_TRUE(test("esi file 0f"));
    EXPECT_FALSE(test("esi file 0b"));
    EXPECT_FALSE(test("esi_file 0a"));
    EXPECT_FALSE(IsPainterHeader(std::span<const uint8_t>()));
}

TEST(ReadPainter, RawPictureAndEveryFieldInFileOrder) {
    RecordingMessageSink sink;
    PainterRecord record;
    Image image;
    PainterForm form = RawPainter();
    form.nameText = "\x8A\x47\x8E\x74";  // two CP932 characters, kept as bytes
    ASSERT_EQ(Read(MakePainterFile(form), record, image, sink), kPainterOk);
    EXPECT_EQ(record.name, "\x8A\x47\x8E\x74");
    EXPECT_EQ(test::Block(image), test::PatternBlock(100, 100));
    EXPECT_EQ(image.info.biWidth, 100);
    // Each kept int32 was written as its own offset in the file.
    EXPECT_EQ(record.value66, 66);
    EXPECT_EQ(record.value74, 74);
    EXPECT_EQ(record.value77, 77);
    EXPECT_EQ(record.value78, 78);
    EXPECT_EQ(record.values120[0], 120);
    EXPECT_EQ(record.values120[6], 144);
    EXPECT_EQ(record.tableA[0], 148);
    EXPECT_EQ(record.tableA[17], 216);
    EXPECT_EQ(record.values220[0], 220);
    EXPECT_EQ(record.tableB[0], 244);
    EXPECT_EQ(record.values316[0], 316);
    EXPECT_EQ(record.values332[0], 332);
    EXPECT_EQ(record.values356[0], 356);
    EXPECT_EQ(record.values368[0], 368);
    EXPECT_EQ(record.value388, 388);
    EXPECT_EQ(record.values392[4], 408);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(ReadPainter, AbsentBlocksTakeTheirDefaults) {
    RecordingMessageSink sink;
    PainterRecord record;
    Image image;
    ASSERT_EQ(Read(MakePainterFile(RawPainter()), record, image, sink), kPainterOk);
    EXPECT_EQ(record.subTexts[0], "---");
    EXPECT_EQ(record.subTexts[1], "---");
    EXPECT_TRUE(record.subPictures[0].empty());
    for (const auto& table : record.extensionTables) {
        EXPECT_TRUE(std::all_of(table.begin(), table.end(), [](uint8_t b) { return b == 0xFF; }));
    }
    EXPECT_EQ(record.extensionValue1, 1);
    EXPECT_EQ(record.extensionValue2, 1);
    EXPECT_EQ(record.extensionValue3, 1);
    EXPECT_TRUE(
        std::all_of(record.note.begin(), record.note.end(), [](uint8_t b) { return b == 0; }));
}

TEST(ReadPainter, BlocksAfterAJpegAreReadFromTheByteAfterItsEndMarker) {
    PainterForm form;
    form.pictureType = 0;
    form.picture = SmallJpeg(200);
    form.subPicturesFlag = 1;
    form.extensionFlag = 1;
    form.noteFlag = 1;
    form.subPictures[0] = test::painter::RawPlainBlock(test::PatternBlock(50, 50, 3, 0));
    form.subPictures[1] = test::painter::RawRunLengthBlock(test::PatternBlock(50, 50, 0, 44));
    const Bytes file = MakePainterFile(form);

    RecordingMessageSink sink;
    PainterRecord record;
    Image image;
    ByteReader reader(file);
    ASSERT_EQ(ReadPainter(record, reader, image, sink), kPainterOk);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(image.width(), 16);
    EXPECT_EQ(image.height(), 8);
    EXPECT_NEAR(image.data()[0], 200, 2);
    EXPECT_EQ(test::Block(record.subPictures[0]), test::PatternBlock(50, 50, 3, 0));
    Bytes second(7600, 44);
    second[7599] = 0;  // the run-length planes cover 7599 of the 7600 bytes
    EXPECT_EQ(test::Block(record.subPictures[1]), second);
    EXPECT_EQ(record.subTexts[0].size(), 256u);
    EXPECT_EQ(record.subTexts[0].substr(0, 6), std::string("first\0", 6));
    EXPECT_EQ(record.subTexts[1].substr(0, 6), "second");
    EXPECT_EQ(record.extensionTables[0][0], 1);
    EXPECT_EQ(record.extensionTables[1][45], 92);
    EXPECT_EQ(record.extensionValue1, 7);
    EXPECT_EQ(record.extensionValue2, 8);
    EXPECT_EQ(record.extensionValue3, 9);
    EXPECT_EQ(record.note[0], 0);
    EXPECT_EQ(record.note[599], 599 % 251);
}

TEST(ReadPainter, UndecodableJpegShowsItsMessageAndReadingGoesOn) {
    PainterForm form;
    form.pictureType = 0;
    form.picture = Bytes{0xFF, 0xD8, 0x00, 0x01, 0x02};
    form.noteFlag = 1;
    RecordingMessageSink sink;
    PainterRecord record;
    Image image;
    image.CreateFilled(3, 3, 5);
    form.nameText = "kept";
    ASSERT_EQ(Read(MakePainterFile(form), record, image, sink), kPainterOk);
    EXPECT_EQ(sink.messages,
              (std::vector<Message>{{"JPEGファイル読み込みに失敗しました。ReadPainter", "失敗"}}));
    EXPECT_EQ(record.name, "kept");
    EXPECT_EQ(image.width(), 3);  // the target keeps its picture
    // The end of the broken picture is unknown: the optional blocks take their defaults.
    EXPECT_EQ(record.note[599], 0);
}

TEST(ReadPainter, HeaderVersionAndPictureType) {
    RecordingMessageSink sink;
    PainterRecord record;
    record.name = "before";
    Image image;
    PainterForm form = RawPainter();
    form.header = "esi file 0f";
    EXPECT_EQ(Read(MakePainterFile(form), record, image, sink), kPainterOk);
    form.header = "esi file 0b";
    EXPECT_EQ(Read(MakePainterFile(form), record, image, sink), kPainterNotPainter);
    form = RawPainter();
    form.version = 1;
    EXPECT_EQ(Read(MakePainterFile(form), record, image, sink), kPainterBadVersion);
    form = RawPainter();
    form.pictureType = 2;
    EXPECT_EQ(Read(MakePainterFile(form), record, image, sink), kPainterNotPainter);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(ReadPainter, DamagedFilesAreRefusedWithoutTouchingTheRecord) {
    RecordingMessageSink sink;
    PainterRecord record;
    record.name = "before";
    Image image;
    image.CreateFilled(2, 2, 1);

    PainterForm noTerminator = RawPainter();
    noTerminator.name50.assign(50, 'A');
    EXPECT_EQ(Read(MakePainterFile(noTerminator), record, image, sink), kPainterDamaged);

    PainterForm bigCount = RawPainter();
    bigCount.picture = test::painter::RawPlainBlock(Bytes(30001, 1));
    EXPECT_EQ(Read(MakePainterFile(bigCount), record, image, sink), kPainterDamaged);

    PainterForm longRun = RawPainter();
    longRun.picture = Bytes{1, 0, 0, 0, 3, 0, 0, 0, 0x10, 0x02};  // plane of 1, run of 2
    EXPECT_EQ(Read(MakePainterFile(longRun), record, image, sink), kPainterDamaged);

    PainterForm missingNote = RawPainter();
    missingNote.noteFlag = 1;
    Bytes cut = MakePainterFile(missingNote);
    cut.resize(cut.size() - 1);
    EXPECT_EQ(Read(cut, record, image, sink), kPainterDamaged);

    Bytes header = MakePainterFile(RawPainter());
    header.resize(300);
    EXPECT_EQ(Read(header, record, image, sink), kPainterDamaged);

    EXPECT_EQ(record.name, "before");
    EXPECT_EQ(image.width(), 2);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(ReadPainterFile, ResultsAndTheVersionMessage) {
    test::TempFolder folder;
    RecordingMessageSink sink;
    PainterRecord record;
    Image image;
    EXPECT_EQ(ReadPainterFile(sink, folder.path() / "missing.esi", record, image), -1);
    EXPECT_TRUE(sink.messages.empty());

    PainterForm form = RawPainter();
    form.version = 3;
    EXPECT_EQ(ReadPainterFile(sink, test::WriteFile(folder, "v3.esi", MakePainterFile(form)),
                              record, image),
              -1);
    EXPECT_EQ(sink.messages,
              (std::vector<Message>{{"このバージョンの絵師は使えません。(ToT)", "残念ながら･･･"}}));

    sink.messages.clear();
    form.version = 0;
    form.noteFlag = 1;
    Bytes cut = MakePainterFile(form);
    cut.resize(cut.size() - 10);
    EXPECT_EQ(ReadPainterFile(sink, test::WriteFile(folder, "cut.esi", cut), record, image), -1);
    EXPECT_EQ(
        ReadPainterFile(sink, test::WriteFile(folder, "ok.esi", MakePainterFile(RawPainter())),
                        record, image),
        0);
    EXPECT_EQ(record.name, "painter");
    EXPECT_TRUE(sink.messages.empty());
}

}  // namespace
}  // namespace tama05

namespace tama05 {
namespace {

TEST(ReadPainter, EveryTruncationIsReadOrRefused) {
    test::painter::PainterForm form;
    form.picture = test::painter::RawRunLengthBlock(test::painter::Bytes(30000, 9));
    form.subPicturesFlag = 1;
    form.extensionFlag = 1;
    form.noteFlag = 1;
    form.subPictures[0] = test::painter::RawRunLengthBlock(test::painter::Bytes(7600, 1));
    form.subPictures[1] = test::painter::RawPlainBlock(test::painter::Bytes(20, 2));
    const test::painter::Bytes file = test::painter::MakePainterFile(form);
    RecordingMessageSink sink;
    for (size_t size = 0; size < file.size(); ++size) {
        PainterRecord record;
        Image image;
        ByteReader reader(std::span(file.data(), size));
        const int result = ReadPainter(record, reader, image, sink);
        // Every block is announced by a flag, so a cut file is always short of one.
        ASSERT_TRUE(result == kPainterNotPainter || result == kPainterDamaged) << size;
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST(ReadPainter, RunLengthPictureCutByTheEndOfTheFileStaysPartlyBlack) {
    test::painter::PainterForm form;
    form.picture = test::painter::RawRunLengthBlock(test::painter::Bytes(30000, 9));
    test::painter::Bytes file = test::painter::MakePainterFile(form);
    file.resize(file.size() - 2);
    // Each plane is one run of 10000 = 256 × 39 + 16; the last stream loses its final bytes.
    RecordingMessageSink sink;
    PainterRecord record;
    Image image;
    ByteReader reader(file);
    ASSERT_EQ(ReadPainter(record, reader, image, sink), kPainterOk);
    EXPECT_EQ(image.data()[0], 9);
    EXPECT_EQ(image.data()[29998], 9);
    EXPECT_EQ(image.data()[2], 0);
    EXPECT_EQ(image.data()[29999], 0);
}

}  // namespace
}  // namespace tama05
