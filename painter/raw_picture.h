#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/byte_reader.h"
#include "core/image.h"

namespace tama05 {

// The raw picture block of painter and item files, for a picture of a size fixed by the file
// kind (100 × 100 for a painter's picture, 50 × 50 for sub-pictures and item pictures):
//   int32  mode: 0 = plain bytes, 1 = three run-length coded colour planes
//   int32  count: the number of picture bytes
//   mode 0: count bytes, copied into the pixel block in memory order
//   mode 1: three run-length streams of count / 3 bytes each; stream j fills byte j of every
//           pixel (plane byte k goes to block byte 3k + j)
// A run-length stream repeats until its plane is full: one byte v, then z zero bytes and one
// non-zero byte n, meaning 256 × z + n copies of v. The end of the data ends a stream early
// (what is left of the picture stays black).

inline constexpr int kRawPictureOk = 0;
// The count is negative or larger than the picture's pixel block, a run passes the end of
// its plane, or the plain bytes are cut short.
inline constexpr int kRawPictureDamaged = -1;
// The picture size itself is refused.
inline constexpr int kRawPictureBadSize = -2;

// Decodes one run-length stream into plane, which it fills from the start. Returns 0 when
// the plane is full or the data ended (bytes not reached are left as they were), or -1 when a
// run would pass the end of the plane (plane then partly written).
int DecodeRunLengthStream(ByteReader& reader, std::span<uint8_t> plane);

// Reads one raw picture block into image, which is first made width × height and black (with
// headers). A mode other than 0 and 1 leaves the picture black and consumes only the two
// int32 fields. On failure image is left unchanged.
int ReadRawPicture(ByteReader& reader, int32_t width, int32_t height, Image& image);

}  // namespace tama05
