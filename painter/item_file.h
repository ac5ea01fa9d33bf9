#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

#include "core/file_bytes.h"
#include "core/image.h"
#include "core/message_sink.h"

namespace tama05 {

// An item file, little-endian throughout (int32 signed):
//   12 bytes   "itm file 0f" and a zero byte (eleven characters compared)
//   int32      format version, 0
//   int32      item class (0 brush item, 1 other item)
//   int32      long-text flag (1: a 2000-byte text follows the picture)
//   196 bytes  reserved
//   int32      L, then L bytes: the item name (code page 932), a zero byte within the L bytes
//   int32      brush shape (−2 hybrid brush), int32 kept value
//   5 int32    hybrid part shapes (−1 empty part)
//   int32      width, hardness, density, kept value
//   6 int32    kept values; 38 int32 kept value table
//   256 bytes  description text
//   the item picture: a raw picture block of 50 × 50 (raw_picture.h)
//   2000 bytes with the long-text flag: a description that replaces the first
inline constexpr size_t kItemNameFieldBytes = 256;
inline constexpr size_t kItemDescriptionBytes = 256;
inline constexpr size_t kItemLongTextBytes = 2000;
inline constexpr int32_t kItemPictureSize = 50;

// Results of ReadItem.
inline constexpr int kItemOk = 0;
// The file cannot be read, or its header is not an item header.
inline constexpr int kItemNotItem = -1;
// The format version is not 0.
inline constexpr int kItemBadVersion = -2;
// The file is cut short, the name length is outside 1..256 or the name has no zero byte within
// it, or the picture block is damaged.
inline constexpr int kItemDamaged = -3;

// True when head holds at least the twelve header bytes and the first eleven are "itm file 0f".
bool IsItemHeader(std::span<const uint8_t> head);

// One item read. The name is kept as its code page 932 bytes, without the terminator.
struct ItemRecord {
    int32_t itemClass = 0;
    int32_t longTextFlag = 0;
    std::string name;
    int32_t brushShape = 0;
    int32_t value1 = 0;
    std::array<int32_t, 5> partShapes{};
    int32_t width = 0;
    int32_t hardness = 0;
    int32_t density = 0;
    int32_t value2 = 0;
    std::array<int32_t, 6> values{};
    std::array<int32_t, 38> valueTable{};
};

// The description text shared by every item read: 2000 bytes, of which an item without its
// long text fills the first 256 (the rest keeps what an earlier item left there).
struct ItemTextState {
    std::array<uint8_t, kItemLongTextBytes> description{};
};

// Reads the item file at path: record, the description into text, the 50 × 50 picture into
// target. A file that cannot be read shows "ファイルオープンに失敗しました。ReadItem" ("失敗").
// record, text and target are written only on kItemOk.
int ReadItem(MessageSink& messages, const std::filesystem::path& path, Image& target,
             ItemRecord& record, ItemTextState& text);
// The same on a file already opened (a file that failed to open reads as unreadable).
int ReadItem(MessageSink& messages, OpenedFile& file, Image& target, ItemRecord& record,
             ItemTextState& text);

// ReadItem on the bytes of a whole item file, without the file and its message.
int DecodeItem(std::span<const uint8_t> bytes, Image& target, ItemRecord& record,
               ItemTextState& text);

// Makes the item's picture the answer image: the item is read into a picture of its own; on
// failure "アイテムの読み込みに失敗しました。" ("失敗") is shown and -1 returned. Otherwise answer
// is made 50 × 50, the item picture copied into it, redrawView (when set) called, and 0
// returned.
int UseItem(MessageSink& messages, const std::filesystem::path& path, Image& answer,
            ItemTextState& text, const std::function<void()>& redrawView);
// The same on a file already opened.
int UseItem(MessageSink& messages, OpenedFile& file, Image& answer, ItemTextState& text,
            const std::function<void()>& redrawView);

}  // namespace tama05
