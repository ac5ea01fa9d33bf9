#include "core/file_recognition.h"

#include <algorithm>
#include <optional>

#include "core/bmp_file.h"
#include "core/byte_reader.h"
#include "core/jpeg_file.h"
#include "core/jpeg_shape.h"
#include "core/limits.h"
#include "core/png_file.h"

namespace tama05 {

namespace {

// Each of the tested bytes equals the byte at that position in one of patterns.
bool MatchesPositionally(std::string_view tested, std::span<const std::string_view> patterns) {
    for (size_t i = 0; i < tested.size(); ++i) {
        bool any = false;
        for (std::string_view pattern : patterns) {
            any = any || (i < pattern.size() && tested[i] == pattern[i]);
        }
        if (!any) {
            return false;
        }
    }
    return true;
}

bool HeadMatches(std::span<const uint8_t> head, const RecognitionRow& row) {
    const std::span<const std::string_view> patterns = row.heads;
    if (head.size() < row.headBytes) {
        return false;
    }
    if (patterns.empty()) {
        return true;
    }
    const size_t length = patterns.front().size();
    if (head.size() < length) {
        return false;
    }
    return MatchesPositionally(std::string_view(reinterpret_cast<const char*>(head.data()), length),
                               patterns);
}

bool NameMatches(const std::string& name, std::span<const std::string_view> patterns) {
    if (patterns.empty()) {
        return true;
    }
    if (name.size() < 4) {
        return false;
    }
    return MatchesPositionally(std::string_view(name).substr(name.size() - 4), patterns);
}

int ReadPng(OpenedFile& file, Image& image, AlphaPlane* alphaPlane, PictureReadState* state) {
    if (alphaPlane != nullptr) {
        alphaPlane->Clear();
    }
    if (file.ReadWhole(kMaxPictureFileBytes) != 0) {
        return kPngCannotOpen;
    }
    ByteReader reader(file.bytes());
    return ReadPngStream(reader, image, alphaPlane, state);
}

// Only the bytes the headers justify are read: a small header before gigabytes of anything
// costs its header.
int ReadBmp(OpenedFile& file, Image& image, AlphaPlane*, PictureReadState*) {
    if (file.ReadTo(kBmpHeaderBytes) != 0 || file.ReadTo(BmpBytesNeeded(file.bytes())) != 0) {
        return kBmpCannotOpen;
    }
    return DecodeBmp(file.bytes(), image);
}

int ReadJpeg(OpenedFile& file, Image& image, AlphaPlane*, PictureReadState*) {
    if (file.ReadWhole(kMaxPictureFileBytes) != 0) {
        return kJpegCannotOpen;
    }
    ByteReader reader(file.bytes());
    return ReadJpegStream(reader, image);
}

// Costs judged from headers: the picture of width × height 24-bit pixels.
uint64_t PictureBytes(uint64_t width, uint64_t height) {
    const auto size = CheckPictureSize(static_cast<int64_t>(std::min<uint64_t>(width, 1u << 30)),
                                       static_cast<int64_t>(std::min<uint64_t>(height, 1u << 30)));
    // Pictures beyond the bound are refused before anything is allocated.
    return size ? static_cast<uint64_t>(size->bytes) : 0;
}

uint32_t Big32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// The decoded rows (up to 4 bytes a pixel), the picture and an alpha plane.
uint64_t PngCost(OpenedFile& file) {
    constexpr size_t kHeaderEnd = 8 + 8 + 13;
    if (file.ReadTo(kHeaderEnd) != 0 || file.bytes().size() < kHeaderEnd) {
        return file.size();
    }
    const uint64_t width = Big32(file.bytes().data() + 16);
    const uint64_t height = Big32(file.bytes().data() + 20);
    const uint64_t picture = PictureBytes(width, height);
    return picture == 0 ? file.size() : file.size() + picture + picture / 3 * 4 + width * height;
}

uint64_t BmpCost(OpenedFile& file) {
    if (file.ReadTo(kBmpHeaderBytes) != 0) {
        return kBmpHeaderBytes;
    }
    const uint64_t held = std::min<uint64_t>(file.size(), BmpBytesNeeded(file.bytes()));
    return 2 * held;
}

// The picture, and for a progressive stream the decoder's coefficients (128 bytes a block).
uint64_t JpegCost(OpenedFile& file) {
    if (file.ReadWhole(kMaxPictureFileBytes) != 0) {
        return 0;
    }
    const std::optional<JpegShape> shape = InspectJpegShape(file.bytes());
    if (!shape || !JpegWorkAcceptable(file.bytes())) {
        return file.size();
    }
    const uint64_t picture = PictureBytes(shape->width, shape->height);
    if (picture == 0) {
        return file.size();
    }
    return file.size() + picture + (shape->progressive ? shape->blocks * 128 : 0);
}

// Painter and canvas files embed pictures anywhere in them: judged by their size.
uint64_t SourceCost(OpenedFile& file) {
    return 8 * file.size() + (uint64_t{32} << 20);
}

void ShowPngFailure(MessageSink& messages, int code, bool) {
    switch (code) {
        case kPngNoSignature:
            messages.ShowMessage("本ソフトで扱えるPNGファイルではありません。", "失敗");
            break;
        case kPngCannotOpen:
            messages.ShowMessage("PNGファイルのオープンに失敗しました。", "失敗");
            break;
        case kPngPalette:
            messages.ShowMessage(
                "申し訳有りませんが、本ソフトはカラーパレット付きPNGファイルに対応していません。",
                "失敗");
            break;
        case kPngNot8Bit:
            messages.ShowMessage(
                "PNGファイルの色深度が8bit以外です。本ソフトではPNGファイルは色深度8bitのみ対応です"
                "。",
                "失敗");
            break;
        case kPngUnsupportedColourType:
            messages.ShowMessage("PNGファイルのカラータイプが未対応です。", "失敗");
            break;
        default:
            break;
    }
}

void ShowBmpFailure(MessageSink& messages, int code, bool) {
    if (code == kBmpNot24Bit) {
        messages.ShowMessage(
            "BMP画像がフルカラー（24ビット）ではありません。（２４ビットのみ対応しております。）",
            "エラー");
    }
}

void ShowJpegFailure(MessageSink& messages, int, bool showMessages) {
    if (showMessages) {
        messages.ShowMessage("JPEGファイルオープンに失敗しました。2", "失敗");
    }
}

constexpr std::string_view kItemHeads[] = {"itm file 0f"};
constexpr std::string_view kPainterHeads[] = {"esi file 0a", "esi file 0f"};
constexpr std::string_view kCanvasHeads[] = {"cnv file 0a"};
constexpr std::string_view kPngHeads[] = {"\x89PNG\r\n\x1a\n"};
constexpr std::string_view kBmpHeads[] = {"BM"};
constexpr std::string_view kBmpNames[] = {".bmp", ".BMP"};
constexpr std::string_view kJpegNames[] = {".jpg", ".JPG", "jpeg", "JPEG"};

// Painter, canvas and item files start with eleven characters and a zero byte; only the
// characters are compared, but a file needs all twelve bytes.
const RecognitionRow kTable[] = {
    {FileKind::Item, kItemHeads, 12, {}, nullptr, nullptr, nullptr, SourceCost},
    {FileKind::Painter, kPainterHeads, 12, {}, nullptr, nullptr, nullptr, SourceCost},
    {FileKind::Canvas, kCanvasHeads, 12, {}, nullptr, nullptr, nullptr, SourceCost},
    {FileKind::Png,
     kPngHeads,
     8,
     {},
     ReadPng,
     [](int code) { return code == kPngOk; },
     ShowPngFailure,
     PngCost},
    {FileKind::Bmp, kBmpHeads, 2, kBmpNames, ReadBmp, [](int code) { return code >= 0; },
     ShowBmpFailure, BmpCost},
    {FileKind::Jpeg,
     {},
     0,
     kJpegNames,
     ReadJpeg,
     [](int code) { return code == kJpegOk; },
     ShowJpegFailure,
     JpegCost},
};

}  // namespace

std::span<const RecognitionRow> RecognitionTable() {
    return kTable;
}

const RecognitionRow* RecogniseFile(std::span<const uint8_t> head,
                                    const std::filesystem::path& path, FileKinds kinds) {
    const std::string name = path.string();
    for (const RecognitionRow& row : kTable) {
        if ((kinds & KindBit(row.kind)) != 0 && HeadMatches(head, row) &&
            NameMatches(name, row.nameEndings)) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace tama05
