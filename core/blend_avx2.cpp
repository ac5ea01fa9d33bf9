// Compiled with AVX2 enabled; only called after the processor was found to support it.
#include "core/blend.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace tama05::detail {

namespace {

// floor(V · e / 2^31) for V < 2^30 split as Vh · 2^15 + Vl, e = ±(canvas − answer):
// = floor((Vh · e + floor(Vl · e / 2^15)) / 2^16). The inner floor is the high half of the
// signed product Vl × 2e; the outer sum is one multiply-add of the pairs (e, f) · (Vh, 1), and
// the division an arithmetic shift.
inline __m256i BlendHalf(__m256i base, __m256i e, __m256i low, __m256i highAndOne) {
    const __m256i f = _mm256_mulhi_epi16(_mm256_add_epi16(e, e), low);
    const __m256i xLow = _mm256_madd_epi16(_mm256_unpacklo_epi16(e, f), highAndOne);
    const __m256i xHigh = _mm256_madd_epi16(_mm256_unpackhi_epi16(e, f), highAndOne);
    const __m256i q = _mm256_packs_epi32(_mm256_srai_epi32(xLow, 16), _mm256_srai_epi32(xHigh, 16));
    return _mm256_add_epi16(base, q);
}

}  // namespace

size_t BlendBytesAvx2(const uint8_t* canvas, const uint8_t* answer, uint8_t* out, size_t count,
                      int64_t weight31) {
    // a + floor(T·d / 2^31) = c + floor((2^31 − T)·(−d) / 2^31): use the smaller multiplier.
    const bool fromAnswer = weight31 < (int64_t{1} << 30);
    const int64_t v = fromAnswer ? weight31 : (int64_t{1} << 31) - weight31;
    const __m256i low = _mm256_set1_epi16(static_cast<int16_t>(v & 0x7FFF));
    const __m256i highAndOne = _mm256_set1_epi32(static_cast<int32_t>((v >> 15) | (1 << 16)));
    size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i c8 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(canvas + i));
        const __m256i a8 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(answer + i));
        const __m256i cLow = _mm256_cvtepu8_epi16(_mm256_castsi256_si128(c8));
        const __m256i cHigh = _mm256_cvtepu8_epi16(_mm256_extracti128_si256(c8, 1));
        const __m256i aLow = _mm256_cvtepu8_epi16(_mm256_castsi256_si128(a8));
        const __m256i aHigh = _mm256_cvtepu8_epi16(_mm256_extracti128_si256(a8, 1));
        __m256i rLow;
        __m256i rHigh;
        if (fromAnswer) {
            rLow = BlendHalf(aLow, _mm256_sub_epi16(cLow, aLow), low, highAndOne);
            rHigh = BlendHalf(aHigh, _mm256_sub_epi16(cHigh, aHigh), low, highAndOne);
        } else {
            rLow = BlendHalf(cLow, _mm256_sub_epi16(aLow, cLow), low, highAndOne);
            rHigh = BlendHalf(cHigh, _mm256_sub_epi16(aHigh, cHigh), low, highAndOne);
        }
        const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(rLow, rHigh), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), packed);
    }
    return i;
}

}  // namespace tama05::detail
#else
namespace tama05::detail {
size_t BlendBytesAvx2(const uint8_t*, const uint8_t*, uint8_t*, size_t, int64_t) { return 0; }
}  // namespace tama05::detail
#endif
