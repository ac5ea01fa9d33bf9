#pragma once

#include <cstddef>
#include <cstdint>

namespace tama05 {

// The single-precision value nearest to 1/255 (0.003921568859368563 exactly).
inline constexpr float kBlendFactor = 1.0f / 255.0f;

// The weight of the mosaic for a blend value: value × k in double precision (k being the single-
// precision 1/255), limited to 0..1. At 255 the product is 1.0000000591 and becomes exactly 1.
double BlendWeight(int32_t blendValue);

// One byte of the blend: trunc(t · canvas + (1 − t) · answer) in double precision, limited to
// 0..255. The definition every fast path must equal.
uint8_t BlendByte(uint8_t canvas, uint8_t answer, double t);

// count bytes of the blend of canvas and answer for a blend value, into out (which may be either
// input). For every blend value 0..255 each step of the double formula is exact, because t is a
// multiple of 2^-31 (k is, having 24 significant bits just above 2^-8): the byte is answer + floor(T · (canvas − answer) / 2^31) with T = t · 2^31,
// which integer vector code computes bit for bit.
void BlendBytes(const uint8_t* canvas, const uint8_t* answer, uint8_t* out, size_t count,
                int32_t blendValue);

namespace detail {
// The integer form, one byte at a time (also the tail of the vector kernel).
void BlendBytesScalar(const uint8_t* canvas, const uint8_t* answer, uint8_t* out, size_t count,
                      int64_t weight31);
// 32 bytes at a time; returns how many bytes it did (a multiple of 32).
size_t BlendBytesAvx2(const uint8_t* canvas, const uint8_t* answer, uint8_t* out, size_t count,
                      int64_t weight31);
bool HaveAvx2();
}  // namespace detail

}  // namespace tama05
