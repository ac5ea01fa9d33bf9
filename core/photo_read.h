#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/alpha_plane.h"
#include "core/image.h"
#include "core/limits.h"
#include "core/picture_read_state.h"

namespace tama05 {

// How a HEIF, WebP, AVIF or JPEG XL picture is read.
struct PhotoReadOptions {
    // Read the picture as coded, without the rotation and mirroring (and, in HEIF and AVIF
    // files, the crop) that the file asks for. Pictures are turned upright by default.
    bool keepOrientation = false;
    // A picture of more pixels is refused before it is decoded.
    int64_t maxPixels = kMaxPicturePixels;
};

// Result codes shared by ReadHeifBytes, ReadWebpBytes, ReadAvifBytes and ReadJxlBytes.
inline constexpr int kPhotoOk = 0;
// The file is of the format but holds nothing this program can decode (no decoder for its
// coding, no colour picture).
inline constexpr int kPhotoUnsupported = -1;
// The bytes do not start like a file of the format.
inline constexpr int kPhotoNotRecognised = -5;
// The data is corrupt or ends early, or the decoder refused it.
inline constexpr int kPhotoCorrupt = -6;
// The picture exceeds the picture bound, or memory ran out.
inline constexpr int kPhotoSizeRefused = -7;

// Rows decoded by a library, top row first, samples in the order red, green, blue (, alpha).
struct DecodedRows {
    const uint8_t* data = nullptr;
    size_t rowBytes = 0;  // bytes from one row to the next
    int32_t width = 0;
    int32_t height = 0;
    int channels = 3;  // samples a pixel: 3, or 4 with a fourth sample after blue
    // The fourth sample is alpha to keep (when false, a fourth sample is skipped).
    bool hasAlpha = false;
    // 8: a byte a sample. 9..16: native-endian 16-bit samples of that many bits, reduced to
    // 8 bits by rounding (v × 255 / (2^bitDepth − 1), to the nearest).
    int bitDepth = 8;
};

// Makes image the decoded picture (rows bottom to top, blue, green, red, zero padding, headers
// set). When alphaPlane is given it receives the alpha channel, or 255 everywhere when there
// is none; state->PictureHasAlpha is set for a picture with alpha. Returns kPhotoOk, or
// kPhotoSizeRefused (image and plane untouched) when the size is refused or memory runs out.
int StoreDecodedRows(const DecodedRows& rows, Image& image, AlphaPlane* alphaPlane,
                     PictureReadState* state, int64_t maxPixels = kMaxPicturePixels);

// True when head starts with an ISO media file-type box ("ftyp" after its 32-bit big-endian
// size) that names brand (four characters) as its major brand or, as far as head holds the
// box, among its compatible brands.
bool HasFileTypeBrand(std::span<const uint8_t> head, std::string_view brand);

}  // namespace tama05
