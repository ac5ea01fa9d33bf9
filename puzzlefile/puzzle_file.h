#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "core/image.h"
#include "core/int_array.h"
#include "core/message_sink.h"

namespace tama05 {

// A puzzle file (.tgr), little-endian throughout:
//   0    12 bytes  "tgr file 01" and a zero byte (only the eleven characters are compared)
//   12   int32     version: 1 when written; 0 marks the older layout
//   16   100 bytes reserved, zero
//   116  int32     piece width, then piece height, then the blend value 0..255
//   128  int32     N, the number of cell scores, then N int32 scores 0..100 in cell order
//   ...  int32     the puzzle score 0..100
//   then, version 0: a Huffman stream of the mosaic, then one of the answer picture;
//   any other version: a Huffman stream of a 120 × 110 thumbnail of the mosaic, then one PNG
//   (8-bit RGB) of W × 2H pixels with the answer picture in its upper half and the mosaic in
//   its lower half; the PNG ends the file.
inline constexpr std::string_view kPuzzleFileMagic{"tgr file 01\0", 12};
inline constexpr int32_t kPuzzleFileVersion = 1;
inline constexpr int32_t kThumbnailWidth = 120;
inline constexpr int32_t kThumbnailHeight = 110;
inline constexpr size_t kPuzzleHeaderBytes = 136;  // before the scores' 4 × N bytes

// Everything a puzzle file holds.
struct PuzzleFileData {
    int32_t version = kPuzzleFileVersion;
    int32_t pieceWidth = 0;
    int32_t pieceHeight = 0;
    int32_t blendValue = 255;
    IntArray scores;
    int32_t score = 0;
    Image canvas;
    Image answer;
};

// The bytes of a version 1 puzzle file for a ready puzzle. Returns 0, or -1 (messages shown)
// when a picture cannot be coded.
int EncodePuzzleFile(const Image& answer, const Image& canvas, int32_t pieceWidth,
                     int32_t pieceHeight, int32_t blendValue, const IntArray& scores,
                     int32_t score, MessageSink& messages, std::vector<uint8_t>& out);

// Writes a puzzle file so that path either keeps its previous contents or holds the whole new
// file (a temporary beside it, flushed, then renamed). Returns 0, or -1 after showing
// "ファイルオープンに失敗しました。SAVE_TGR" when the file cannot be written.
int SavePuzzleFile(MessageSink& messages, const std::filesystem::path& path, const Image& answer,
                   const Image& canvas, int32_t pieceWidth, int32_t pieceHeight,
                   int32_t blendValue, const IntArray& scores, int32_t score);

// Reads a whole puzzle file into data. Everything is checked before data is filled: the
// sizes against the picture bound and the bytes in the file, the scores against the grid of
// the stored picture and piece size, every value against its range. Returns 0, or -1 when the
// file cannot be opened (message), is not a puzzle file (message), or is short, corrupt or
// inconsistent (data then unchanged). A thumbnail that does not decode only shows its message.
int ReadPuzzleFile(MessageSink& messages, const std::filesystem::path& path,
                   PuzzleFileData& data);
// The same from bytes already in memory.
int DecodePuzzleFile(MessageSink& messages, std::span<const uint8_t> bytes, PuzzleFileData& data);

// Reads only the thumbnail (for version 0 files, the whole mosaic) for a preview. Messages are
// shown only when showMessages is set. Returns 0, or -1 (image unchanged) when the file cannot
// be read or the thumbnail does not decode.
int ReadPuzzleThumbnail(MessageSink& messages, const std::filesystem::path& path, Image& image,
                        bool showMessages);
// The same from the bytes of a puzzle file already in memory.
int DecodePuzzleThumbnail(MessageSink& messages, std::span<const uint8_t> bytes, Image& image,
                          bool showMessages);

}  // namespace tama05
