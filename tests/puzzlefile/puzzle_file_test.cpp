#include "puzzlefile/puzzle_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <random>

#include "bomb_files.h"
#include "core/byte_reader.h"
#include "core/png_file.h"
#include "puzzlefile/huffman_codec.h"
#include "temp_folder.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using Bytes = std::vector<uint8_t>;

// A 100 × 80 puzzle of 16 × 16 pieces: 7 × 5 cells.
struct SamplePuzzle {
    SamplePuzzle() {
        std::mt19937 rng(5);
        answer = test::RandomImage(100, 80, rng);
        canvas = test::RandomImage(100, 80, rng);
        scores.AllocateFilled(35, 0);
        for (int32_t i = 0; i < 35; ++i) {
            scores[i] = i * 2;
        }
    }
    int Encode(Bytes& out, MessageSink& messages) const {
        return EncodePuzzleFile(answer, canvas, 16, 16, 200, scores, 34, messages, out);
    }
    Image answer;
    Image canvas;
    IntArray scores;
};

int32_t I32At(const Bytes& bytes, size_t offset) {
    return static_cast<int32_t>(bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
                                static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

void PutI32At(Bytes& bytes, size_t offset, int32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
    }
}

bool SamePixels(const Image& a, const Image& b) {
    if (a.width() != b.width() || a.height() != b.height()) {
        return false;
    }
    for (int32_t r = 0; r < a.height(); ++r) {
        if (!std::equal(a.row(r), a.row(r) + 3 * a.width(), b.row(r))) {
            return false;
        }
    }
    return true;
}

TEST(PuzzleFileTest, LayoutOfTheHeaderThumbnailAndStackedPicture) {
    SamplePuzzle sample;
    RecordingMessageSink messages;
    Bytes bytes;
    ASSERT_EQ(sample.Encode(bytes, messages), 0);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 12), std::string("tgr file 01\0", 12));
    EXPECT_EQ(I32At(bytes, 12), 1);
    EXPECT_TRUE(std::all_of(bytes.begin() + 16, bytes.begin() + 116, [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(I32At(bytes, 116), 16);
    EXPECT_EQ(I32At(bytes, 120), 16);
    EXPECT_EQ(I32At(bytes, 124), 200);
    EXPECT_EQ(I32At(bytes, 128), 35);
    EXPECT_EQ(I32At(bytes, 132 + 4 * 34), 68);
    EXPECT_EQ(I32At(bytes, 272), 34);  // 136 + 140 = 276 bytes before the thumbnail

    ByteReader reader(std::span<const uint8_t>(bytes).subspan(276));
    Image thumbnail;
    ASSERT_EQ(HuffDecodeImg(thumbnail, reader), 0);
    EXPECT_EQ(thumbnail.width(), 120);
    EXPECT_EQ(thumbnail.height(), 110);
    Image expectedThumbnail;
    ScaleImage(sample.canvas, expectedThumbnail, 120, 110);
    EXPECT_TRUE(SamePixels(thumbnail, expectedThumbnail));

    Image stacked;
    ASSERT_EQ(ReadPngStream(reader, stacked, nullptr, nullptr), 0);
    EXPECT_TRUE(reader.AtEnd());  // the PNG ends the file
    EXPECT_EQ(stacked.width(), 100);
    EXPECT_EQ(stacked.height(), 160);
    // The answer is the upper half, the mosaic the lower half.
    EXPECT_EQ(stacked.rowFromTop(0)[5], sample.answer.rowFromTop(0)[5]);
    EXPECT_EQ(stacked.rowFromTop(80)[7], sample.canvas.rowFromTop(0)[7]);
    EXPECT_TRUE(messages.messages.empty());
}

TEST(PuzzleFileTest, SavesAreIdenticalAndReadBack) {
    SamplePuzzle sample;
    test::TempFolder folder;
    RecordingMessageSink messages;
    const auto first = folder.path() / "a.tgr";
    const auto second = folder.path() / "b.tgr";
    ASSERT_EQ(SavePuzzleFile(messages, first, sample.answer, sample.canvas, 16, 16, 200,
                             sample.scores, 34), 0);
    ASSERT_EQ(SavePuzzleFile(messages, second, sample.answer, sample.canvas, 16, 16, 200,
                             sample.scores, 34), 0);
    std::ifstream a(first, std::ios::binary);
    std::ifstream b(second, std::ios::binary);
    EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(a), {}), Bytes(std::istreambuf_iterator<char>(b), {}));

    PuzzleFileData data;
    ASSERT_EQ(ReadPuzzleFile(messages, first, data), 0);
    EXPECT_EQ(data.pieceWidth, 16);
    EXPECT_EQ(data.blendValue, 200);
    EXPECT_EQ(data.score, 34);
    ASSERT_EQ(data.scores.count(), 35);
    EXPECT_EQ(data.scores[34], 68);
    EXPECT_TRUE(SamePixels(data.answer, sample.answer));
    EXPECT_TRUE(SamePixels(data.canvas, sample.canvas));
    EXPECT_EQ(data.answer.info.biWidth, 100);

    Image thumbnail;
    ASSERT_EQ(ReadPuzzleThumbnail(messages, first, thumbnail, true), 0);
    EXPECT_EQ(thumbnail.width(), 120);
    EXPECT_TRUE(messages.messages.empty());
}

TEST(PuzzleFileTest, LaterVersionsReadLikeVersionOne) {
    SamplePuzzle sample;
    NullMessageSink messages;
    Bytes bytes;
    ASSERT_EQ(sample.Encode(bytes, messages), 0);
    PutI32At(bytes, 12, 2);
    PuzzleFileData data;
    ASSERT_EQ(DecodePuzzleFile(messages, bytes, data), 0);
    EXPECT_EQ(data.version, 2);
    EXPECT_TRUE(SamePixels(data.canvas, sample.canvas));
}

Bytes VersionZeroFile(const Image& canvas, const Image& answer, int32_t pieceSize, int32_t cells) {
    Bytes bytes(12 + 4 + 100, 0);
    std::memcpy(bytes.data(), "tgr file 01", 11);
    ByteWriter writer(bytes);
    writer.WriteI32(pieceSize);
    writer.WriteI32(pieceSize);
    writer.WriteI32(255);
    writer.WriteI32(cells);
    for (int32_t i = 0; i < cells; ++i) {
        writer.WriteI32(50);
    }
    writer.WriteI32(50);
    HuffCodeImg(canvas, bytes);
    HuffCodeImg(answer, bytes);
    return bytes;
}

TEST(PuzzleFileTest, VersionZeroHoldsTwoHuffmanPictures) {
    std::mt19937 rng(9);
    const Image canvas = test::RandomImage(30, 20, rng);
    const Image answer = test::RandomImage(30, 20, rng);
    const Bytes bytes = VersionZeroFile(canvas, answer, 10, 6);
    NullMessageSink messages;
    PuzzleFileData data;
    ASSERT_EQ(DecodePuzzleFile(messages, bytes, data), 0);
    EXPECT_EQ(data.version, 0);
    EXPECT_TRUE(SamePixels(data.canvas, canvas));
    EXPECT_TRUE(SamePixels(data.answer, answer));

    // Its preview is the whole mosaic.
    test::TempFolder folder;
    const auto path = folder.path() / "old.tgr";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    Image preview;
    ASSERT_EQ(ReadPuzzleThumbnail(messages, path, preview, false), 0);
    EXPECT_TRUE(SamePixels(preview, canvas));

    // Two pictures of different sizes are not one puzzle.
    const Image other = test::RandomImage(31, 20, rng);
    EXPECT_EQ(DecodePuzzleFile(messages, VersionZeroFile(canvas, other, 10, 6), data), -1);
}

TEST(PuzzleFileTest, WrongMagicIsRefusedWithItsMessage) {
    SamplePuzzle sample;
    NullMessageSink quiet;
    Bytes bytes;
    ASSERT_EQ(sample.Encode(bytes, quiet), 0);
    for (auto mutate : {+[](Bytes& b) { b[10] = '2'; }, +[](Bytes& b) { b[0] = 0; },
                        +[](Bytes& b) { b.resize(5); }}) {
        Bytes copy = bytes;
        mutate(copy);
        RecordingMessageSink messages;
        PuzzleFileData data;
        EXPECT_EQ(DecodePuzzleFile(messages, copy, data), -1);
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].text, "TGRファイルではありません。READ_TGR");
        EXPECT_EQ(messages.messages[0].caption, "失敗");
    }
}

// A sparse 2 GB file with a wrong magic is judged on its head, and a file far larger than its
// header justifies is not read; a stacked picture that disagrees with the header is refused
// before it is decoded. Every reader of puzzle files goes through these two.
TEST(PuzzleFileTest, HeadersAreCheckedBeforeTheRestIsRead) {
    test::TempFolder folder;
    const std::filesystem::path sparse = folder.path() / "sparse.tgr";
    { std::ofstream(sparse) << "xgr file 01"; }
    ASSERT_EQ(::truncate(sparse.c_str(), int64_t{2} << 30), 0);
    RecordingMessageSink messages;
    PuzzleFileData data;
    Image thumbnail;
    EXPECT_EQ(ReadPuzzleFile(messages, sparse, data), -1);
    EXPECT_EQ(ReadPuzzleThumbnail(messages, sparse, thumbnail, true), -1);
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].text, "TGRファイルではありません。READ_TGR");

    SamplePuzzle sample;
    Bytes bytes;
    ASSERT_EQ(sample.Encode(bytes, messages), 0);
    const std::filesystem::path grown = folder.path() / "grown.tgr";
    {
        std::ofstream(grown, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    ASSERT_EQ(ReadPuzzleThumbnail(messages, grown, thumbnail, true), 0);
    ASSERT_EQ(ReadPuzzleFile(messages, grown, data), 0);
    ASSERT_EQ(::truncate(grown.c_str(), int64_t{1} << 30), 0);
    EXPECT_EQ(ReadPuzzleFile(messages, grown, data), -1);
    EXPECT_EQ(ReadPuzzleThumbnail(messages, grown, thumbnail, true), 0);

    Bytes claiming(bytes.begin(),
                   bytes.begin() + static_cast<ptrdiff_t>(test::FindPngStart(bytes)));
    const Bytes zeros = test::PngZeroBomb(100, 4000);
    claiming.insert(claiming.end(), zeros.begin(), zeros.end());
    EXPECT_EQ(DecodePuzzleFile(messages, claiming, data), -1);
}

TEST(PuzzleFileTest, MissingFileShowsTheOpenMessage) {
    RecordingMessageSink messages;
    PuzzleFileData data;
    EXPECT_EQ(ReadPuzzleFile(messages, "/nonexistent/x.tgr", data), -1);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "ファイルオープンに失敗しました。READ_TGR");
}

// Every inconsistency leaves the data untouched and fails.
TEST(PuzzleFileTest, InconsistentHeadersAreRefusedWhole) {
    SamplePuzzle sample;
    NullMessageSink messages;
    Bytes good;
    ASSERT_EQ(sample.Encode(good, messages), 0);
    struct Case {
        const char* what;
        size_t offset;
        int32_t value;
    };
    const Case cases[] = {
        {"piece width 1", 116, 1},        {"piece wider than the picture", 116, 101},
        {"piece height 0", 120, 0},       {"blend 256", 124, 256},
        {"blend -1", 124, -1},            {"score 101", 272, 101},
        {"cell score -1", 132, -1},       {"cell score 101", 132 + 4 * 10, 101},
        {"piece width 14 changes the grid", 116, 14},
    };
    for (const Case& c : cases) {
        Bytes bytes = good;
        PutI32At(bytes, c.offset, c.value);
        PuzzleFileData data;
        data.blendValue = 77;
        EXPECT_EQ(DecodePuzzleFile(messages, bytes, data), -1) << c.what;
        EXPECT_EQ(data.blendValue, 77) << c.what;
        EXPECT_TRUE(data.canvas.empty()) << c.what;
    }
}

TEST(PuzzleFileTest, HostileScoreCountsAllocateNothing) {
    SamplePuzzle sample;
    NullMessageSink messages;
    Bytes bytes;
    ASSERT_EQ(sample.Encode(bytes, messages), 0);
    for (int32_t count : {INT32_MAX, -1, 36, 1 << 28}) {
        Bytes copy = bytes;
        PutI32At(copy, 128, count);
        PuzzleFileData data;
        EXPECT_EQ(DecodePuzzleFile(messages, copy, data), -1) << count;
    }
}

TEST(PuzzleFileTest, EveryTruncationFailsCleanly) {
    SamplePuzzle sample;
    NullMessageSink messages;
    Bytes bytes;
    ASSERT_EQ(sample.Encode(bytes, messages), 0);
    for (size_t length = 0; length < bytes.size(); length += (length < 400 ? 1 : 97)) {
        const std::span<const uint8_t> prefix(bytes.data(), length);
        PuzzleFileData data;
        ASSERT_EQ(DecodePuzzleFile(messages, prefix, data), -1) << length;
        ASSERT_TRUE(data.answer.empty());
    }
}

TEST(PuzzleFileTest, AFailedSaveKeepsTheOldFile) {
    SamplePuzzle sample;
    test::TempFolder folder;
    RecordingMessageSink messages;
    const auto path = folder.path() / "keep.tgr";
    std::ofstream(path) << "old";
    // A target inside a folder that does not exist cannot be written.
    EXPECT_EQ(SavePuzzleFile(messages, folder.path() / "missing" / "x.tgr", sample.answer,
                             sample.canvas, 16, 16, 255, sample.scores, 0),
              -1);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "ファイルオープンに失敗しました。SAVE_TGR");
    if (::geteuid() != 0) {
        std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::owner_exec);
        EXPECT_EQ(SavePuzzleFile(messages, path, sample.answer, sample.canvas, 16, 16, 255,
                                 sample.scores, 0),
                  -1);
        std::ifstream in(path);
        std::string text;
        in >> text;
        EXPECT_EQ(text, "old");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

}  // namespace
}  // namespace tama05
