#include "puzzle/detail/simd_distance_impl.h"

#if defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>

namespace tama05::detail {
namespace {

struct Sse2Ops {
    using Vec = __m128i;
    static constexpr int kWidth = 16;
    static Vec Zero() { return _mm_setzero_si128(); }
    static Vec Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const Vec*>(p)); }
    static Vec LoadU(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const Vec*>(p)); }
    static Vec And(Vec a, Vec b) { return _mm_and_si128(a, b); }
    static Vec Sad(Vec a, Vec b) { return _mm_sad_epu8(a, b); }
    static Vec Add(Vec a, Vec b) { return _mm_add_epi64(a, b); }
    static int64_t HorizontalSum(Vec v) {
        return _mm_cvtsi128_si64(v) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(v, v));
    }
};

}  // namespace

void CellDistancesSse2(const DistanceJob& job) { CellDistancesSimd<Sse2Ops>(job); }

}  // namespace tama05::detail
#else
namespace tama05::detail {
void CellDistancesSse2(const DistanceJob& job) { CellDistancesScalar(job); }
}  // namespace tama05::detail
#endif
