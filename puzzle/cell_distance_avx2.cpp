// Compiled with AVX2 enabled; only called after the processor was found to support it.
#include "puzzle/detail/simd_distance_impl.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace tama05::detail {
namespace {

struct Avx2Ops {
    using Vec = __m256i;
    static constexpr int kWidth = 32;
    static Vec Zero() { return _mm256_setzero_si256(); }
    static Vec Load(const uint8_t* p) {
        return _mm256_loadu_si256(reinterpret_cast<const Vec*>(p));
    }
    static Vec LoadU(const uint8_t* p) {
        return _mm256_loadu_si256(reinterpret_cast<const Vec*>(p));
    }
    static Vec And(Vec a, Vec b) { return _mm256_and_si256(a, b); }
    static Vec Sad(Vec a, Vec b) { return _mm256_sad_epu8(a, b); }
    static Vec Add(Vec a, Vec b) { return _mm256_add_epi64(a, b); }
    static int64_t HorizontalSum(Vec v) {
        const __m128i s = _mm_add_epi64(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
        return _mm_cvtsi128_si64(s) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(s, s));
    }
};

}  // namespace

void CellDistancesAvx2(const DistanceJob& job) { CellDistancesSimd<Avx2Ops>(job); }

}  // namespace tama05::detail
#else
namespace tama05::detail {
void CellDistancesAvx2(const DistanceJob& job) { CellDistancesSse2(job); }
}  // namespace tama05::detail
#endif
