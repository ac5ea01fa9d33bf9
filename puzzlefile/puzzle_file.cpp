#include "puzzlefile/puzzle_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/atomic_file.h"
#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/file_bytes.h"
#include "core/limits.h"
#include "core/png_chunks.h"
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

// The header against a puzzle picture of w × h: piece size inside the picture, one score per
// cell, every value in its range.
bool Consistent(const Header& header, int64_t w, int64_t h) {
    if (w <= 0 || h <= 0) {
        return false;
    }
    if (!InRange(header.pieceWidth, 2, w) || !InRange(header.pieceHeight, 2, h) ||
        !InRange(header.blendValue, 0, 255) || !InRange(header.score, 0, 100)) {
        return false;
    }
    const int64_t cells = (w + header.pieceWidth - 1) / header.pieceWidth *
                          ((h + header.pieceHeight - 1) / header.pieceHeight);
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

bool Consistent(const Header& header, const Image& answer, const Image& canvas) {
    return canvas.width() == answer.width() && canvas.height() == answer.height() &&
           Consistent(header, answer.width(), answer.height());
}

// The most bytes a puzzle file of this header can take: its pictures have at most one piece's
// pixels a score (and stay within the picture bound); every stream, however poorly it codes
// them, takes well under 64 bytes a pixel, plus the thumbnail. Nothing beyond is read.
uint64_t JustifiedFileBytes(const Header& header, size_t headerBytes) {
    constexpr uint64_t kStreamAllowance = uint64_t{8} << 20;
    const int64_t pieces =
        int64_t{std::max(header.pieceWidth, 0)} * std::max(header.pieceHeight, 0);
    const auto pixels = CheckedMultiply(header.scores.count(), pieces, kMaxPicturePixels);
    return headerBytes + kStreamAllowance +
           64 * static_cast<uint64_t>(pixels.value_or(kMaxPicturePixels));
}

// The header of an opened puzzle file, reading only its bytes: kOk with reader after it.
HeaderResult ReadOpenedHeader(OpenedFile& file, Header& header, size_t& headerBytes) {
    file.ReadTo(kPuzzleHeaderBytes);
    if (file.bytes().size() >= kPuzzleHeaderBytes) {
        ByteReader count(file.bytes().subspan(kPuzzleHeaderBytes - 8));
        int32_t n = 0;
        if (count.ReadI32(n) && n > 0) {
            file.ReadTo(kPuzzleHeaderBytes + 4 * static_cast<uint64_t>(n));
        }
    }
    ByteReader reader(file.bytes());
    const HeaderResult result = ReadHeader(reader, header);
    headerBytes = reader.position();
    return result;
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
    if (const int written = WriteFileAtomically(path, bytes); written != 0) {
        // When the file opened but writing it failed (a full disk), the system's reason follows.
        const int error = errno;
        std::string text = "ファイルオープンに失敗しました。SAVE_TGR";
        if (written != -1 && error != 0) {
            text += "\n" + SystemErrorText(error);
        }
        messages.ShowMessage(text, kCaption);
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
        // The stacked picture's size is compared with the header before it is decoded.
        if (const auto size = PeekPngSize(reader.Rest());
            size && !Consistent(header, size->width, size->height / 2)) {
            return -1;
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
    OpenedFile file;
    if (file.Open(path, 0) != 0) {
        messages.ShowMessage("ファイルオープンに失敗しました。READ_TGR", kCaption);
        return -1;
    }
    // The header first: a file that is no puzzle, or is larger than its header justifies, is
    // refused before the rest is read.
    Header header;
    size_t headerBytes = 0;
    if (ReadOpenedHeader(file, header, headerBytes) != HeaderResult::kOk) {
        return DecodePuzzleFile(messages, file.bytes(), data);
    }
    if (file.size() > JustifiedFileBytes(header, headerBytes)) {
        return -1;
    }
    if (file.ReadWhole(kMaxPuzzleFileBytes) != 0) {
        messages.ShowMessage("ファイルオープンに失敗しました。READ_TGR", kCaption);
        return -1;
    }
    return DecodePuzzleFile(messages, file.bytes(), data);
}

int DecodePuzzleThumbnail(MessageSink& messages, std::span<const uint8_t> bytes, Image& image,
                          bool showMessages) {
    NullMessageSink silent;
    MessageSink& shown = showMessages ? messages : silent;
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

int ReadPuzzleThumbnail(MessageSink& messages, const std::filesystem::path& path, Image& image,
                        bool showMessages) {
    OpenedFile file;
    if (file.Open(path, 0) != 0) {
        if (showMessages) {
            messages.ShowMessage("ファイルオープンに失敗しました。READ_TGR", kCaption);
        }
        return -1;
    }
    // Only the header and the thumbnail's stream are read: its fixed head, then the code bytes
    // it declares.
    Header header;
    size_t headerBytes = 0;
    if (ReadOpenedHeader(file, header, headerBytes) == HeaderResult::kOk) {
        constexpr size_t kStreamHead = 12 + 257 * 4;
        file.ReadTo(headerBytes + kStreamHead);
        ByteReader stream(file.bytes().subspan(std::min(headerBytes, file.bytes().size())));
        int32_t width = 0;
        int32_t height = 0;
        int32_t codeBytes = 0;
        if (stream.ReadI32(width) && stream.ReadI32(height) && stream.ReadI32(codeBytes) &&
            codeBytes > 0) {
            file.ReadTo(headerBytes + kStreamHead + static_cast<uint64_t>(codeBytes));
        }
    }
    return DecodePuzzleThumbnail(messages, file.bytes(), image, showMessages);
}

}  // namespace tama05
