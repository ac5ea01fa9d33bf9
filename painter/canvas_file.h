#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/file_bytes.h"
#include "core/image.h"
#include "core/message_sink.h"

namespace tama05 {

// A canvas file, little-endian throughout (int32 signed):
//   12 bytes   "cnv file 0a" and a zero byte (eleven characters compared)
//   int32      format version, 0
//   int32 N1, N1 bytes   first text (code page 932): the name of the picture
//   int32 N2, N2 bytes   second text (code page 932): a painter path
//   7 int32    kept values
//   byte       picture coding: 1 = Huffman stream, otherwise a JPEG stream
//   byte       texture flag: 1 = texture and paper pictures follow
//   byte       texture threshold (signed), byte texture scale in percent (signed)
//   46 bytes   reserved
//   int32 N3, N3 bytes   canvas data (kept)
//   int32      paper width, int32 paper height
//   with the texture flag: the texture picture and the paper picture, each a Huffman stream
//   the canvas picture: a Huffman stream or a JPEG stream, by the picture coding byte
// The texts are read as N bytes and end at their first zero byte; N may not exceed 260 and
// each text must fit a 260-byte field with its terminator.
inline constexpr size_t kCanvasTextFieldBytes = 260;
inline constexpr size_t kCanvasReservedBytes = 46;
inline constexpr int32_t kCanvasDefaultTextureSize = 100;

// Results of ReadCNV2.
inline constexpr int kCanvasOk = 0;
// The file cannot be read, or its header is not a canvas header.
inline constexpr int kCanvasNotCanvas = -1;
// The format version is not 0.
inline constexpr int kCanvasBadVersion = -2;
// The file is cut short, a text is longer than its field, a length is negative, the paper is
// smaller than the picture it is blended into, or the texture cannot be prepared.
inline constexpr int kCanvasDamaged = -3;

// True when head holds at least the twelve header bytes and the first eleven are "cnv file 0a".
bool IsCanvasHeader(std::span<const uint8_t> head);

// Everything a canvas file holds besides its picture.
struct CanvasRecord {
    std::array<int32_t, 7> values{};
    uint8_t pictureCoding = 0;
    uint8_t textureFlag = 0;
    int8_t textureThreshold = 0;  // limited to −127..127 when a texture is prepared
    int8_t textureScale = 0;
    std::vector<uint8_t> canvasData;
    int32_t paperWidth = 0;
    int32_t paperHeight = 0;
    // Without the texture flag: 100 × 100 white, and no paper picture (nothing would read it).
    Image texture;
    Image paper;
    // The texture as prepared for the blend.
    Image workingTexture;
};

// Reads the canvas file at path: the first text into targetName, the second into painterPath
// (both as code page 932 bytes), the picture into target, everything else into record (when
// given). A wrong header shows "本当にcnvファイルですか？" ("失敗してしまいました。"), a version
// other than 0 shows "このバージョンのcnvファイルは使えません。ソフトのバージョンを上げてくださ
// い。（ToT)" ("残念ながら･･･"). A texture or paper picture that does not decode shows
// "HuffDecodeImgファイル作成に失敗しました。WRITE_CNV2", the canvas picture "JPEGファイル作成に
// 失敗しました。ReadCNV" (Huffman) or "JPEGファイル読み込みに失敗しました。ReadCNV" (JPEG), all
// with "失敗"; reading goes on after them. An undecodable texture is replaced by 100 × 100
// white; without a decoded paper or canvas picture there is no blend, and target then keeps
// what it held. Outputs are written only on kCanvasOk.
int ReadCNV2(MessageSink& messages, std::string& targetName, std::string& painterPath,
             const std::filesystem::path& path, Image& target, CanvasRecord* record = nullptr);
// The same on a file already opened (a file that failed to open reads as no canvas).
int ReadCNV2(MessageSink& messages, std::string& targetName, std::string& painterPath,
             OpenedFile& file, Image& target, CanvasRecord* record = nullptr);

// ReadCNV2 on the bytes of a whole canvas file.
int DecodeCNV2(MessageSink& messages, std::span<const uint8_t> bytes, std::string& targetName,
               std::string& painterPath, Image& target, CanvasRecord* record = nullptr);

}  // namespace tama05
