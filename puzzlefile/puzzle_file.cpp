#include "puzzlefile/puzzle_file.h"

#include <cstring>

#include "core/atomic_file.h"
#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/file_bytes.h"
#include "core/limits.h"
#include "core/png_file.h"
#include "puzzlefile/huffman_codec.h"

namespace tama05 {

namespace {

constexpr std::string_view kCaption = "失敗";
constexpr size_t kReservedBytes = 100;
// Largest puzzle file read: the stacked picture's bound with room for poor compression.
constexpr uint64_t kMaxPuzzleFileBytes = uint64_t{1} << 31;

struct Header {
    int32_t version = 0;
    int32_t pieceWidth = 0;
    int32_t pieceHeight = 0;
    int32_t blendValue = 0;
    IntArray scores;
    int32_t score = 0;
};

enum class HeaderResult { kOk, kNotPuzzle, kShort };

HeaderResult ReadHeader(ByteReader& reader, Header& header) {
    std::span<const uint8_t> magic;
    if (!reader.ReadSpan(12, magic) ||
        std::memcmp(magic.data(), kPuzzleFileMagic.data(), 11) != 0) {
        return HeaderResult::kNotPuzzle;
    }
    reader.ReadI32(header.version);
    reader.Skip(kReservedBytes);
    reader.ReadI32(header.pieceWidth);
    reader.ReadI32(header.pieceHeight);
    reader.ReadI32(header.blendValue);
    if (!reader.ok() || header.scores.ReadFrom(reader) != 0 || !reader.ReadI32(header.score)) {
        return HeaderResult::kShort;
    }
    return HeaderResult::kOk;
}

bool InRange(int32_t value, int32_t low, int32_t high) { return value >= low && value <= high; }

// The header against the pictures: piece size inside the picture, one score per cell, every
// value in its range.
bool Consistent(const Header& header, const Image& answer, const Image& canvas) {
    const int32_t w = answer.width();
    const int32_t h = answer.height();
    if (w <= 0 || h <= 0 || canvas.width() != w || canvas.height() != h) {
        return false;
    }
    if (!InRange(header.pieceWidth, 2, w) || !InRange(header.pieceHeight, 2, h) ||
        !InRange(header.blendValue, 0, 255) || !InRange(header.score, 0, 100)) {
        return false;
    }
    const int64_t cells = (int64_t{w} + header.pieceWidth - 1) / header.pieceWidth *
                          ((int64_t{h} + header.pieceHeight - 1) / header.pieceHeight);
    if (cells != header.scores.count()) {
        return false;
    }
    for (int32_t s : header.scores) {
        if (!InRange(s, 0, 100)) {
            return false;
        }
    }
    return true;
}

// Splits the stacked picture: the lower half (memory rows 0..h-1) is the mosaic, the next h
// rows the answer; an odd height leaves the top row unused.
bool SplitStacked(const Image& stacked, Image& canvas, Image& answer) {
    const int32_t w = stacked.width();
    const int32_t h = stacked.height() / 2;
    if (canvas.CreateFilled(w, h, 0) != 0 || answer.CreateFilled(w, h, 0) != 0) {
        return false;
    }
    const size_t bytes = static_cast<size_t>(w) * 3;
    for (int32_t r = 0; r < h; ++r) {
        std::memcpy(canvas.row(r), stacked.row(r), bytes);
        std::memcpy(answer.row(r), stacked.row(h + r), bytes);
    }
    return true;
}

}  // namespace

int EncodePuzzleFile(const Image& answer, const Image& canvas, int32_t pieceWidth,
                     int32_t pieceHeight, int32_t blendValue, const IntArray& scores,
                     int32_t score, MessageSink& messages, std::vector<uint8_t>& out) {
    out.assign(kPuzzleFileMagic.begin(), kPuzzleFileMagic.end());
    ByteWriter writer(out);
    writer.WriteI32(kPuzzleFileVersion);
    out.resize(out.size() + kReservedBytes, 0);
    writer.WriteI32(pieceWidth);
    writer.WriteI32(pieceHeight);
    writer.WriteI32(blendValue);
    scores.WriteTo(writer);
    writer.WriteI32(score);

    Image thumbnail;
    if (ScaleImage(canvas, thumbnail, kThumbnailWidth, kThumbnailHeight) != 0 ||
        HuffCodeImg(thumbnail, out) < 0) {
        // Without its thumbnail the file could not be read back: nothing is written.
        messages.ShowMessage("HuffCodeImgファイル作成に失敗しました。SAVE_TGR_temp_bmp_image",
                             kCaption);
        return -1;
    }

    // The answer above the mosaic: memory rows run bottom to top, so the mosaic comes first.
    const int32_t w = answer.width();
    const int32_t h = answer.height();
    Image stacked;
    if (canvas.width() != w || canvas.height() != h ||
        stacked.CreateFilled(w, h * 2, 0) != 0 || stacked.empty()) {
        messages.ShowMessage("ファイルオープンに失敗しました。SAVE_TGR", kCaption);
        return -1;
    }
    const size_t bytes = static_cast<size_t>(w) * 3;
    for (int32_t r = 0; r < h; ++r) {
        std::memcpy(stacked.row(r), canvas.row(r), bytes);
        std::memcpy(stacked.row(h + r), answer.row(r), bytes);
    }
    stacked.SetHeaders();
    if (WritePngStream(out, stacked, nullptr, false, FastPngWriteOptions()) != 0) {
        messages.ShowMessage("ファイルオープンに失敗しました。SAVE_TGR", kCaption);
        return -1;
    }
    return 0;
}

int SavePuzzleFile(MessageSink& messages, const std::filesystem::path& path, const Image& answer,
                   const Image& canvas, int32_t pieceWidth, int32_t pieceHeight,
                   int32_t blendValue, const IntArray& scores, int32_t score) {
    std::vector<uint8_t> bytes;
    if (EncodePuzzleFile(answer, canvas, pieceWidth, pieceHeight, blendValue, scores, score,
                         messages, bytes) != 0) {
        return -1;
    }
    if (WriteFileAtomically(path, bytes) != 0) {
        messages.ShowMessage("ファイルオープンに失敗しました。SAVE_TGR", kCaption);
        return -1;
    }
    return 0;
}

int DecodePuzzleFile(MessageSink& messages, std::span<const uint8_t> bytes, PuzzleFileData& data) {
    ByteReader reader(bytes);
    Header header;
    switch (ReadHeader(reader, header)) {
        case HeaderResult::kNotPuzzle:
            messages.ShowMessage("TGRファイルではありません。READ_TGR", kCaption);
            return -1;
        case HeaderResult::kShort:
            return -1;
        case HeaderResult::kOk:
            break;
    }

    Image canvas;
    Image answer;
    if (header.version == 0) {
        if (HuffDecodeImg(canvas, reader) != 0) {
            messages.ShowMessage("HuffDecodeImgファイル作成に失敗しました。READ_TGR_output_image",
                                 kCaption);
            return -1;
        }
        if (HuffDecodeImg(answer, reader) != 0) {
            messages.ShowMessage("HuffDecodeImgファイル作成に失敗しました。READ_TGR_image",
                                 kCaption);
            return -1;
        }
        // Such a puzzle must be saveable again as one stacked picture.
        if (!CheckPictureSize(answer.width(), answer.height(), kMaxAnswerPixels)) {
            return -1;
        }
    } else {
        Image thumbnail;
        if (HuffDecodeImg(thumbnail, reader) != 0) {
            messages.ShowMessage("HuffDecodeImgファイル作成に失敗しました。READ_TGR_output_image",
                                 kCaption);
        }
        Image stacked;
        if (ReadPngStream(reader, stacked, nullptr, nullptr) != 0 ||
            !SplitStacked(stacked, canvas, answer)) {
            return -1;
        }
    }
    if (!Consistent(header, answer, canvas)) {
        return -1;
    }
    canvas.SetHeaders();
    answer.SetHeaders();
    data.version = header.version;
    data.pieceWidth = header.pieceWidth;
    data.pieceHeight = header.pieceHeight;
    data.blendValue = header.blendValue;
    data.scores = std::move(header.scores);
    data.score = header.score;
    data.canvas = std::move(canvas);
    data.answer = std::move(answer);
    return 0;
}

int ReadPuzzleFile(MessageSink& messages, const std::filesystem::path& path,
                   PuzzleFileData& data) {
    std::vector<uint8_t> bytes;
    if (ReadFileBytes(path, bytes, kMaxPuzzleFileBytes) != 0) {
        messages.ShowMessage("ファイルオープンに失敗しました。READ_TGR", kCaption);
        return -1;
    }
    return DecodePuzzleFile(messages, bytes, data);
}

int ReadPuzzleThumbnail(MessageSink& messages, const std::filesystem::path& path, Image& image,
                        bool showMessages) {
    NullMessageSink silent;
    MessageSink& shown = showMessages ? messages : silent;
    std::vector<uint8_t> bytes;
    if (ReadFileBytes(path, bytes, kMaxPuzzleFileBytes) != 0) {
        shown.ShowMessage("ファイルオープンに失敗しました。READ_TGR", kCaption);
        return -1;
    }
    ByteReader reader(bytes);
    Header header;
    switch (ReadHeader(reader, header)) {
        case HeaderResult::kNotPuzzle:
            shown.ShowMessage("TGRファイルではありません。READ_TGR", kCaption);
            return -1;
        case HeaderResult::kShort:
            return -1;
        case HeaderResult::kOk:
            break;
    }
    Image thumbnail;
    if (HuffDecodeImg(thumbnail, reader) != 0) {
        shown.ShowMessage("HuffDecodeImgファイル作成に失敗しました。READ_TGR_output_image",
                          kCaption);
        return -1;
    }
    thumbnail.SetHeaders();
    image = std::move(thumbnail);
    return 0;
}

}  // namespace tama05
