#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "core/byte_reader.h"
#include "core/image.h"
#include "core/limits.h"

namespace tama05 {

// Result codes of ReadJpegFile and ReadJpegStream.
inline constexpr int kJpegOk = 1;
inline constexpr int kJpegDecodeFailed = 0;
inline constexpr int kJpegCannotOpen = -1;

// Decodes one JPEG from the reader's current position into image (headers set). Colour,
// greyscale and CMYK/YCCK pictures all become ordinary 3-byte pictures. On success the
// reader is moved just past the JPEG's end marker, so data that follows an embedded JPEG
// can be read next. Returns 1, or 0 (image and reader as they were) when the data is
// corrupt, ends early, or declares more than maxPixels pixels (refused before the decoder
// allocates its buffers).
int ReadJpegStream(ByteReader& reader, Image& image, int64_t maxPixels = kMaxPicturePixels);

// ReadJpegStream on a whole file; records the path on success. Returns 1, 0, or -1 when the
// file cannot be opened or read.
int ReadJpegFile(const std::filesystem::path& path, Image& image);

// Appends a JPEG of image to out: the given quality (baseline tables forced) and, when
// progressive is set, the library's simple progression script. Returns 1, or 0 (out as it
// was) when the encoder fails; the process never ends on an encoder error.
int WriteJpegStream(std::vector<uint8_t>& out, const Image& image, int quality, bool progressive);

}  // namespace tama05
