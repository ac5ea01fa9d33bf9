#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/byte_reader.h"
#include "core/file_bytes.h"
#include "core/image.h"
#include "core/message_sink.h"

namespace tama05 {

// A painter file, little-endian throughout (int32 signed, bytes unsigned):
//   0    12 bytes   "esi file 0a" or "esi file 0f" and a zero byte (eleven characters compared)
//   12   int32      format version, 0
//   16   50 bytes   painter name, code page 932, zero-terminated
//   66   int32      kept value
//   70   int32      picture type: 0 = JPEG stream, 1 = raw picture block of 100 × 100
//   74   byte       kept value
//   75   byte       sub-pictures flag (1: two 50 × 50 sub-pictures follow the picture)
//   76   byte       extension flag (1: the extension block follows)
//   77   2 bytes    kept values
//   79   byte       note flag (1: a 600-byte note ends the file)
//   80   40 bytes   reserved
//   120  7 int32, table A of 18 int32, 6 int32, table B of 18 int32, 4 + 6 + 3 + 5 + 1 + 5
//        int32 (kept values)
//   412  152 bytes  reserved
//   564  the picture (a JPEG stream or a raw picture block)
//   then, with the sub-pictures flag: twice a raw 50 × 50 picture block and 256 bytes of text
//   then, with the extension flag: two 46-byte tables, an int32, a byte, an int32
//   then, with the note flag: the 600-byte note
inline constexpr size_t kSourceHeaderBytes = 12;
inline constexpr size_t kPainterNameBytes = 50;
inline constexpr size_t kPainterSubTextBytes = 256;
inline constexpr size_t kPainterExtensionTableBytes = 46;
inline constexpr size_t kPainterNoteBytes = 600;
inline constexpr int32_t kPainterPictureSize = 100;
inline constexpr int32_t kPainterSubPictureSize = 50;

// Results of ReadPainter.
inline constexpr int kPainterOk = 0;
// The header is not a painter header, or the picture type is neither 0 nor 1.
inline constexpr int kPainterNotPainter = -1;
// The format version is not 0.
inline constexpr int kPainterBadVersion = -2;
// The file is cut short, the name has no terminator in its 50 bytes, or a raw picture block
// is damaged (see raw_picture.h).
inline constexpr int kPainterDamaged = -3;

// True when head holds at least the twelve header bytes and the first eleven match "esi file 0a"
// or "esi file 0f" position by position (either header's byte counts at every position, so
// "esi file 0" and then "a" or "f").
bool IsPainterHeader(std::span<const uint8_t> head);

// Everything a painter file holds besides its main picture. Texts are kept as the file's
// code page 932 bytes.
struct PainterRecord {
    std::string name;  // without its terminator, at most 49 bytes
    int32_t value66 = 0;
    int32_t pictureType = 0;
    uint8_t value74 = 0;
    uint8_t subPicturesFlag = 0;
    uint8_t extensionFlag = 0;
    uint8_t value77 = 0;
    uint8_t value78 = 0;
    uint8_t noteFlag = 0;
    std::array<int32_t, 7> values120{};
    std::array<int32_t, 18> tableA{};
    std::array<int32_t, 6> values220{};
    std::array<int32_t, 18> tableB{};
    std::array<int32_t, 4> values316{};
    std::array<int32_t, 6> values332{};
    std::array<int32_t, 3> values356{};
    std::array<int32_t, 5> values368{};
    int32_t value388 = 0;
    std::array<int32_t, 5> values392{};
    // Sub-pictures and their texts; without them the pictures are empty and the texts "---".
    std::array<Image, 2> subPictures;
    std::array<std::string, 2> subTexts;  // 256 bytes each as stored (zero bytes included)
    // Extension block; without it the tables are 0xFF bytes and the three values 1.
    std::array<std::array<uint8_t, kPainterExtensionTableBytes>, 2> extensionTables{};
    int32_t extensionValue1 = 1;
    uint8_t extensionValue2 = 1;
    int32_t extensionValue3 = 1;
    // The note; all zero bytes without it.
    std::array<uint8_t, kPainterNoteBytes> note{};
};

// Reads a painter file from the reader's position (its start) into record and its picture into
// target. A JPEG picture that does not decode shows "JPEGファイル読み込みに失敗しました。
// ReadPainter" ("失敗") and leaves target unchanged; as the end of an undecodable JPEG cannot
// be found, the optional blocks then take their defaults. After a decoded JPEG the optional
// blocks are read from the byte right after its end marker. record and target are written
// only on kPainterOk.
int ReadPainter(PainterRecord& record, ByteReader& reader, Image& target, MessageSink& messages);

// Largest painter, item or canvas file read into memory.
inline constexpr uint64_t kMaxSourceFileBytes = uint64_t{1} << 30;

// The file-level reader: reads the file at path whole and runs ReadPainter. Returns 0, or -1
// on any failure; a file that cannot be read shows nothing, a version other than 0 shows
// "このバージョンの絵師は使えません。(ToT)" ("残念ながら･･･").
int ReadPainterFile(MessageSink& messages, const std::filesystem::path& path, PainterRecord& record,
                    Image& target);
// The same on a file already opened (a file that failed to open reads as unreadable).
int ReadPainterFile(MessageSink& messages, OpenedFile& file, PainterRecord& record, Image& target);

}  // namespace tama05
