#include "painter/item_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/byte_reader.h"
#include "core/file_bytes.h"
#include "core/file_recognition.h"
#include "painter/painter_file.h"
#include "painter/raw_picture.h"

namespace tama05 {

namespace {

constexpr size_t kReservedBytes = 196;

template <size_t N>
void ReadInts(ByteReader& reader, std::array<int32_t, N>& values) {
    for (int32_t& v : values) {
        reader.ReadI32(v);
    }
}

}  // namespace

bool IsItemHeader(std::span<const uint8_t> head) {
    return RecogniseFile(head, {}, KindBit(FileKind::Item)) != nullptr;
}

int DecodeItem(std::span<const uint8_t> bytes, Image& target, ItemRecord& record,
               ItemTextState& text) {
    ByteReader reader(bytes);
    std::span<const uint8_t> head;
    if (!reader.ReadSpan(kSourceHeaderBytes, head) || !IsItemHeader(head)) {
        return kItemNotItem;
    }
    int32_t version = 0;
    if (!reader.ReadI32(version)) {
        return kItemDamaged;
    }
    if (version != 0) {
        return kItemBadVersion;
    }

    ItemRecord read;
    int32_t nameLength = 0;
    reader.ReadI32(read.itemClass);
    reader.ReadI32(read.longTextFlag);
    reader.Skip(kReservedBytes);
    if (!reader.ReadI32(nameLength) || nameLength < 1 ||
        static_cast<size_t>(nameLength) > kItemNameFieldBytes) {
        return kItemDamaged;
    }
    std::span<const uint8_t> name;
    if (!reader.ReadSpan(static_cast<size_t>(nameLength), name)) {
        return kItemDamaged;
    }
    const auto nameEnd = std::find(name.begin(), name.end(), uint8_t{0});
    if (nameEnd == name.end()) {
        return kItemDamaged;
    }
    read.name.assign(name.begin(), nameEnd);
    reader.ReadI32(read.brushShape);
    reader.ReadI32(read.value1);
    ReadInts(reader, read.partShapes);
    reader.ReadI32(read.width);
    reader.ReadI32(read.hardness);
    reader.ReadI32(read.density);
    reader.ReadI32(read.value2);
    ReadInts(reader, read.values);
    ReadInts(reader, read.valueTable);
    std::span<const uint8_t> description;
    if (!reader.ReadSpan(kItemDescriptionBytes, description)) {
        return kItemDamaged;
    }
    Image picture;
    if (ReadRawPicture(reader, kItemPictureSize, kItemPictureSize, picture) != kRawPictureOk) {
        return kItemDamaged;
    }
    std::span<const uint8_t> longText;
    if (read.longTextFlag == 1 && !reader.ReadSpan(kItemLongTextBytes, longText)) {
        return kItemDamaged;
    }

    record = std::move(read);
    std::copy(description.begin(), description.end(), text.description.begin());
    if (!longText.empty()) {
        std::copy(longText.begin(), longText.end(), text.description.begin());
    }
    target = std::move(picture);
    return kItemOk;
}

int ReadItem(MessageSink& messages, const std::filesystem::path& path, Image& target,
             ItemRecord& record, ItemTextState& text) {
    OpenedFile file;
    file.Open(path, 0);
    return ReadItem(messages, file, target, record, text);
}

int ReadItem(MessageSink& messages, OpenedFile& file, Image& target, ItemRecord& record,
             ItemTextState& text) {
    if (file.ReadWhole(kMaxSourceFileBytes) != 0) {
        messages.ShowMessage("ファイルオープンに失敗しました。ReadItem", "失敗");
        return kItemNotItem;
    }
    return DecodeItem(file.bytes(), target, record, text);
}

int UseItem(MessageSink& messages, const std::filesystem::path& path, Image& answer,
            ItemTextState& text, const std::function<void()>& redrawView) {
    OpenedFile file;
    file.Open(path, 0);
    return UseItem(messages, file, answer, text, redrawView);
}

int UseItem(MessageSink& messages, OpenedFile& file, Image& answer, ItemTextState& text,
            const std::function<void()>& redrawView) {
    Image picture;
    ItemRecord record;
    if (ReadItem(messages, file, picture, record, text) != kItemOk) {
        messages.ShowMessage("アイテムの読み込みに失敗しました。", "失敗");
        return -1;
    }
    Image made;
    if (made.Create(kItemPictureSize, kItemPictureSize) != 0) {
        messages.ShowMessage("アイテムの読み込みに失敗しました。", "失敗");
        return -1;
    }
    made.SetHeaders();
    std::memcpy(made.data(), picture.data(), made.byteCount());
    answer = std::move(made);
    if (redrawView) {
        redrawView();
    }
    return 0;
}

}  // namespace tama05
