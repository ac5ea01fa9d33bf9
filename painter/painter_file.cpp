#include "painter/painter_file.h"

#include <algorithm>
#include <cstring>

#include "core/file_bytes.h"
#include "core/file_recognition.h"
#include "core/jpeg_file.h"
#include "painter/raw_picture.h"

namespace tama05 {

namespace {

constexpr size_t kReservedAfterFlags = 40;
constexpr size_t kReservedBeforePicture = 152;

template <size_t N>
bool ReadInts(ByteReader& reader, std::array<int32_t, N>& values) {
    for (int32_t& v : values) {
        if (!reader.ReadI32(v)) {
            return false;
        }
    }
    return true;
}

// The fields from the name to the reserved area before the picture.
bool ReadFixedFields(ByteReader& reader, PainterRecord& record, bool& nameTerminated) {
    std::span<const uint8_t> name;
    if (!reader.ReadSpan(kPainterNameBytes, name)) {
        return false;
    }
    const auto end = std::find(name.begin(), name.end(), uint8_t{0});
    nameTerminated = end != name.end();
    record.name.assign(name.begin(), end);
    reader.ReadI32(record.value66);
    reader.ReadI32(record.pictureType);
    reader.ReadU8(record.value74);
    reader.ReadU8(record.subPicturesFlag);
    reader.ReadU8(record.extensionFlag);
    reader.ReadU8(record.value77);
    reader.ReadU8(record.value78);
    reader.ReadU8(record.noteFlag);
    reader.Skip(kReservedAfterFlags);
    ReadInts(reader, record.values120);
    ReadInts(reader, record.tableA);
    ReadInts(reader, record.values220);
    ReadInts(reader, record.tableB);
    ReadInts(reader, record.values316);
    ReadInts(reader, record.values332);
    ReadInts(reader, record.values356);
    ReadInts(reader, record.values368);
    reader.ReadI32(record.value388);
    ReadInts(reader, record.values392);
    reader.Skip(kReservedBeforePicture);
    return reader.ok();
}

bool ReadSubPictures(ByteReader& reader, PainterRecord& record) {
    for (size_t i = 0; i < 2; ++i) {
        if (ReadRawPicture(reader, kPainterSubPictureSize, kPainterSubPictureSize,
                           record.subPictures[i]) != kRawPictureOk) {
            return false;
        }
        std::span<const uint8_t> text;
        if (!reader.ReadSpan(kPainterSubTextBytes, text)) {
            return false;
        }
        record.subTexts[i].assign(text.begin(), text.end());
    }
    return true;
}

bool ReadExtension(ByteReader& reader, PainterRecord& record) {
    for (auto& table : record.extensionTables) {
        if (!reader.ReadBytes(table)) {
            return false;
        }
    }
    reader.ReadI32(record.extensionValue1);
    reader.ReadU8(record.extensionValue2);
    reader.ReadI32(record.extensionValue3);
    return reader.ok();
}

void SetOptionalDefaults(PainterRecord& record, bool subPictures, bool extension, bool note) {
    if (!subPictures) {
        for (size_t i = 0; i < 2; ++i) {
            record.subPictures[i].Clear();
            record.subTexts[i] = "---";
        }
    }
    if (!extension) {
        for (auto& table : record.extensionTables) {
            table.fill(0xFF);
        }
        record.extensionValue1 = 1;
        record.extensionValue2 = 1;
        record.extensionValue3 = 1;
    }
    if (!note) {
        record.note.fill(0);
    }
}

}  // namespace

bool IsPainterHeader(std::span<const uint8_t> head) {
    return RecogniseFile(head, {}, KindBit(FileKind::Painter)) != nullptr;
}

int ReadPainter(PainterRecord& record, ByteReader& reader, Image& target, MessageSink& messages) {
    std::span<const uint8_t> head;
    if (!reader.ReadSpan(kSourceHeaderBytes, head) || !IsPainterHeader(head)) {
        return kPainterNotPainter;
    }
    int32_t version = 0;
    if (!reader.ReadI32(version)) {
        return kPainterDamaged;
    }
    if (version != 0) {
        return kPainterBadVersion;
    }
    PainterRecord read;
    bool nameTerminated = false;
    if (!ReadFixedFields(reader, read, nameTerminated) || !nameTerminated) {
        return kPainterDamaged;
    }

    Image picture;
    bool pictureRead = false;
    bool positionKnown = true;
    if (read.pictureType == 1) {
        if (ReadRawPicture(reader, kPainterPictureSize, kPainterPictureSize, picture) !=
            kRawPictureOk) {
            return kPainterDamaged;
        }
        pictureRead = true;
    } else if (read.pictureType == 0) {
        if (ReadJpegStream(reader, picture) == kJpegOk) {
            pictureRead = true;
        } else {
            messages.ShowMessage("JPEGファイル読み込みに失敗しました。ReadPainter", "失敗");
            positionKnown = false;
        }
    } else {
        return kPainterNotPainter;
    }

    const bool subPictures = positionKnown && read.subPicturesFlag == 1;
    const bool extension = positionKnown && read.extensionFlag == 1;
    const bool note = positionKnown && read.noteFlag == 1;
    if (subPictures && !ReadSubPictures(reader, read)) {
        return kPainterDamaged;
    }
    if (extension && !ReadExtension(reader, read)) {
        return kPainterDamaged;
    }
    if (note && !reader.ReadBytes(read.note)) {
        return kPainterDamaged;
    }
    SetOptionalDefaults(read, subPictures, extension, note);

    record = std::move(read);
    if (pictureRead) {
        target = std::move(picture);
    }
    return kPainterOk;
}

int ReadPainterFile(MessageSink& messages, const std::filesystem::path& path, PainterRecord& record,
                    Image& target) {
    OpenedFile file;
    file.Open(path, 0);
    return ReadPainterFile(messages, file, record, target);
}

int ReadPainterFile(MessageSink& messages, OpenedFile& file, PainterRecord& record, Image& target) {
    if (file.ReadWhole(kMaxSourceFileBytes) != 0) {
        return -1;
    }
    ByteReader reader(file.bytes());
    const int result = ReadPainter(record, reader, target, messages);
    if (result == kPainterBadVersion) {
        messages.ShowMessage("このバージョンの絵師は使えません。(ToT)", "残念ながら･･･");
    }
    return result < 0 ? -1 : 0;
}

}  // namespace tama05
