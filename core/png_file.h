#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "core/alpha_plane.h"
#include "core/byte_reader.h"
#include "core/image.h"
#include "core/limits.h"
#include "core/message_sink.h"
#include "core/picture_read_state.h"

namespace tama05 {

// Result codes of ReadPngFile and ReadPngStream.
inline constexpr int kPngOk = 0;
inline constexpr int kPngUnsupportedColourType = -1;
inline constexpr int kPngNot8Bit = -2;
inline constexpr int kPngPalette = -3;
inline constexpr int kPngCannotOpen = -4;
inline constexpr int kPngNoSignature = -5;
// The data is corrupt or ends early, or the decoder refused it.
inline constexpr int kPngCorrupt = -6;
// The declared size exceeds the picture bound.
inline constexpr int kPngSizeRefused = -7;

// True when bytes start with the 8-byte PNG signature.
bool HasPngSignature(std::span<const uint8_t> bytes);

// Decodes one PNG (8-bit grey, grey+alpha, RGB or RGBA) from the reader's current position.
// On success the reader is moved past the PNG's last chunk (IEND), the picture is in image
// with headers set, alphaPlane (when given) holds the picture's alpha (255 everywhere when the
// file has none), and state->PictureHasAlpha is set for an RGBA picture. On failure image
// keeps its contents, the reader does not move and alphaPlane is cleared. A picture of more
// than maxPixels pixels is refused (kPngSizeRefused) before anything is allocated, and so is
// one whose rows could not all be coded in the bytes left (kPngCorrupt).
int ReadPngStream(ByteReader& reader, Image& image, AlphaPlane* alphaPlane, PictureReadState* state,
                  int64_t maxPixels = kMaxPicturePixels);

// ReadPngStream on a whole file, after a signature test; records the path on success.
int ReadPngFile(const std::filesystem::path& path, Image& image, AlphaPlane* alphaPlane,
                PictureReadState* state);

// Appends an 8-bit PNG of image (no interlace, default compression) to out. It is RGBA with
// alphaPlane's values when useAlpha is set and alphaPlane matches the picture's size, plain
// RGB otherwise. Returns 0, or -1 (out as it was) when encoding fails.
// How hard the encoder works: libpng's defaults unless set. A lower zlib level and a fixed row
// filter trade a little size for much speed; every choice is a standard PNG.
struct PngWriteOptions {
    int zlibLevel = -1;  // 0..9; -1 keeps libpng's default
    int filters = -1;    // PNG_FILTER_* flags; -1 keeps libpng's adaptive default
};

// zlib level 1 with the Up filter: measured on a 4000 × 6000 stacked puzzle picture, about six
// times faster than the defaults for a file within 1% of their size.
PngWriteOptions FastPngWriteOptions();

int WritePngStream(std::vector<uint8_t>& out, const Image& image, const AlphaPlane* alphaPlane,
                   bool useAlpha, const PngWriteOptions& options = {});

// Writes image as a PNG file at path, RGBA when alphaPlane is given and has the picture's size,
// RGB otherwise. The file is replaced whole or not at all. Returns 0, or -1 after showing
// "ファイルオープンに失敗しました。WRITE_PNG" when the file cannot be written.
int WritePngFile(MessageSink& messages, const std::filesystem::path& path, const Image& image,
                 const AlphaPlane* alphaPlane, const PngWriteOptions& options = {});

}  // namespace tama05
