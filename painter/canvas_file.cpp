#include "painter/canvas_file.h"

#include <algorithm>
#include <cstring>

#include "core/byte_reader.h"
#include "core/file_bytes.h"
#include "core/file_recognition.h"
#include "core/jpeg_file.h"
#include "painter/canvas_texture.h"
#include "painter/painter_file.h"
#include "puzzlefile/huffman_codec.h"

namespace tama05 {

namespace {

constexpr std::string_view kCaption = "失敗";
constexpr std::string_view kTextureMessage = "HuffDecodeImgファイル作成に失敗しました。WRITE_CNV2";

// A length-prefixed text: the field may not exceed 260 bytes and the text, up to its first
// zero byte, must leave room for the terminator.
bool ReadText(ByteReader& reader, std::string& text) {
    int32_t length = 0;
    if (!reader.ReadI32(length) || length < 0 ||
        static_cast<size_t>(length) > kCanvasTextFieldBytes) {
        return false;
    }
    std::span<const uint8_t> bytes;
    if (!reader.ReadSpan(static_cast<size_t>(length), bytes)) {
        return false;
    }
    const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    if (static_cast<size_t>(end - bytes.begin()) >= kCanvasTextFieldBytes) {
        return false;
    }
    text.assign(bytes.begin(), end);
    return true;
}

bool DecodeHuffman(ByteReader& reader, Image& image) {
    if (HuffDecodeImg(image, reader) < 0) {
        return false;
    }
    image.SetHeaders();
    return true;
}

bool MakeWhite(Image& image, int32_t width, int32_t height) {
    if (image.CreateFilled(width, height, 255) != 0) {
        return false;
    }
    image.SetHeaders();
    return true;
}

}  // namespace

bool IsCanvasHeader(std::span<const uint8_t> head) {
    return RecogniseFile(head, {}, KindBit(FileKind::Canvas)) != nullptr;
}

int ReadCNV2(MessageSink& messages, std::string& targetName, std::string& painterPath,
             const std::filesystem::path& path, Image& target, CanvasRecord* record) {
    OpenedFile file;
    file.Open(path, 0);
    return ReadCNV2(messages, targetName, painterPath, file, target, record);
}

int ReadCNV2(MessageSink& messages, std::string& targetName, std::string& painterPath,
             OpenedFile& file, Image& target, CanvasRecord* record) {
    if (file.ReadWhole(kMaxSourceFileBytes) != 0) {
        return kCanvasNotCanvas;
    }
    return DecodeCNV2(messages, file.bytes(), targetName, painterPath, target, record);
}

int DecodeCNV2(MessageSink& messages, std::span<const uint8_t> bytes, std::string& targetName,
               std::string& painterPath, Image& target, CanvasRecord* record) {
    ByteReader reader(bytes);
    std::span<const uint8_t> head;
    if (!reader.ReadSpan(kSourceHeaderBytes, head) || !IsCanvasHeader(head)) {
        messages.ShowMessage("本当にcnvファイルですか？", "失敗してしまいました。");
        return kCanvasNotCanvas;
    }
    int32_t version = 0;
    if (!reader.ReadI32(version)) {
        return kCanvasDamaged;
    }
    if (version != 0) {
        messages.ShowMessage(
            "このバージョンのcnvファイルは使えません。ソフトのバージョンを上げてください。（ToT)",
            "残念ながら･･･");
        return kCanvasBadVersion;
    }

    std::string name;
    std::string painter;
    if (!ReadText(reader, name) || !ReadText(reader, painter)) {
        return kCanvasDamaged;
    }
    CanvasRecord read;
    for (int32_t& v : read.values) {
        reader.ReadI32(v);
    }
    uint8_t threshold = 0;
    uint8_t scale = 0;
    reader.ReadU8(read.pictureCoding);
    reader.ReadU8(read.textureFlag);
    reader.ReadU8(threshold);
    reader.ReadU8(scale);
    read.textureThreshold = static_cast<int8_t>(threshold);
    read.textureScale = static_cast<int8_t>(scale);
    reader.Skip(kCanvasReservedBytes);
    int32_t dataLength = 0;
    if (!reader.ReadI32(dataLength) || dataLength < 0) {
        return kCanvasDamaged;
    }
    std::span<const uint8_t> data;
    if (!reader.ReadSpan(static_cast<size_t>(dataLength), data)) {
        return kCanvasDamaged;
    }
    read.canvasData.assign(data.begin(), data.end());
    reader.ReadI32(read.paperWidth);
    reader.ReadI32(read.paperHeight);
    if (!reader.ok()) {
        return kCanvasDamaged;
    }

    const bool textured = read.textureFlag == 1;
    bool paperRead = false;
    if (textured) {
        if (!DecodeHuffman(reader, read.texture)) {
            messages.ShowMessage(kTextureMessage, kCaption);
        }
        if (DecodeHuffman(reader, read.paper)) {
            paperRead = true;
        } else {
            messages.ShowMessage(kTextureMessage, kCaption);
        }
    }
    if (read.texture.empty() &&
        !MakeWhite(read.texture, kCanvasDefaultTextureSize, kCanvasDefaultTextureSize)) {
        return kCanvasDamaged;
    }

    Image picture;
    bool pictureRead = false;
    if (read.pictureCoding == 1) {
        pictureRead = DecodeHuffman(reader, picture);
        if (!pictureRead) {
            messages.ShowMessage("JPEGファイル作成に失敗しました。ReadCNV", kCaption);
        }
    } else {
        pictureRead = ReadJpegStream(reader, picture) == kJpegOk;
        if (!pictureRead) {
            messages.ShowMessage("JPEGファイル読み込みに失敗しました。ReadCNV", kCaption);
        }
    }

    if (read.textureFlag != 0) {
        if (PrepareTexture(read.texture, read.textureThreshold, read.textureScale,
                           read.workingTexture) != 0) {
            return kCanvasDamaged;
        }
    } else if (read.workingTexture.CopyFrom(read.texture) != 0) {
        return kCanvasDamaged;
    }
    if (textured && pictureRead && paperRead &&
        BlendTexture(picture, read.workingTexture, read.paper) != 0) {
        return kCanvasDamaged;
    }

    // The picture first: targetName may be the path field of target itself.
    if (pictureRead) {
        target = std::move(picture);
    }
    targetName = std::move(name);
    painterPath = std::move(painter);
    if (record != nullptr) {
        *record = std::move(read);
    }
    return kCanvasOk;
}

}  // namespace tama05
