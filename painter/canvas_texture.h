#pragma once

#include <cstdint>

#include "core/image.h"

namespace tama05 {

// Resamples source to width × height with bilinear interpolation. The ratios source ÷ target
// are held as 32-bit floats; for target column k the source column is k × ratio (in double
// precision), split into its integer part x0 and fraction fx, with x1 = x0 + 1 and both
// limited to the last column (rows likewise); every byte is
// trunc((1 − fy)((1 − fx) p(x0, y0) + fx p(x1, y0)) + fy((1 − fx) p(x0, y1) + fx p(x1, y1))).
// Rows count in memory order. The destination is re-created with headers. Returns 0, or -1
// when the source is empty or the size is refused.
int ResampleBilinear(const Image& source, Image& destination, int32_t width, int32_t height);

// Turns a decoded texture into the working texture that the blend reads: threshold (limited
// to −127..127 and written back) and scale percent are the canvas file's signed control bytes.
// A scale of 0 keeps the size, any other scale gives max(1, trunc(scale × size × 0.01)) in each
// direction; then, with h = 2 × threshold, a pixel whose first byte is below h becomes black
// and every other byte b becomes trunc((b − h) × 255 ÷ (255 − h)), limited to 0..255.
// Returns 0, or -1 when the texture is empty or the scaled size is refused.
int PrepareTexture(const Image& texture, int8_t& threshold, int8_t scalePercent, Image& working);

// Blends the paper into target through the working texture: for the pixel at column j and
// memory row i, x = first byte of the texture pixel at (j mod texture width, i mod texture
// height) × the 32-bit float nearest 1/255, in double precision; each of the pixel's bytes
// becomes trunc((1 − x) × paper byte + x × target byte), limited to 0..255, the paper byte
// taken at the same byte offset. Padding bytes are left alone. Returns 0, or -1 (nothing
// changed) when the texture is empty or the paper is narrower or lower than the target.
int BlendTexture(Image& target, const Image& texture, const Image& paper);

}  // namespace tama05
