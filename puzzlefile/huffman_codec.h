#pragma once

#include <cstdint>
#include <vector>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/image.h"

namespace tama05 {

// A picture's pixel block (stride × height bytes in memory order, padding included) stored as
// a self-describing, lossless Huffman stream. The stream holds the symbol weights, not the
// codes: encoder and decoder build the same tree from them.
//
// Stream layout, little-endian:
//   0     int32      width
//   4     int32      height
//   8     int32      L, the number of code bytes
//   12    257 × f32  weights of the symbols 0..255 and of the end symbol (stored as 0)
//   1040  L bytes    the codes of every block byte and then of the end symbol, packed most
//                    significant bit first; the unused low bits of the last byte are 0

// Result codes; every failure is negative.
inline constexpr int kHuffOk = 0;
// Width, height or L not positive; or, when coding, a picture without pixels.
inline constexpr int kHuffBadSize = -1;
// The picture exceeds the picture bound or memory; or its code would not fit a stream.
inline constexpr int kHuffTooLarge = -2;
// The data ends before the stream does.
inline constexpr int kHuffTruncated = -3;
// The code does not describe the picture: too few code bytes for its size, the code bytes end
// before the end symbol, or they hold more bytes than the picture.
inline constexpr int kHuffCorrupt = -4;

// Appends one stream of image to out. Returns kHuffOk; on failure nothing is appended.
int HuffCodeImg(const Image& image, std::vector<uint8_t>& out);
int HuffCodeImg(const Image& image, ByteWriter& writer);

// Reads one stream at the reader's position. On kHuffOk the image is re-created with the
// stream's width and height and holds the decoded bytes (bytes after an early end symbol are
// 0); its headers and path are left as they were, so callers run SetHeaders. On failure the
// image is unchanged. The reader is left right after the stream, except for kHuffBadSize and
// kHuffTruncated, after which only the 12 size bytes have been consumed (or, when even those
// are missing, the reader has failed).
int HuffDecodeImg(Image& image, ByteReader& reader);

}  // namespace tama05
