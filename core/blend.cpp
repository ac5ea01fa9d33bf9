#include "core/blend.h"

#include <algorithm>

namespace tama05 {

double BlendWeight(int32_t blendValue) {
    const double t = blendValue * static_cast<double>(kBlendFactor);
    return std::clamp(t, 0.0, 1.0);
}

uint8_t BlendByte(uint8_t canvas, uint8_t answer, double t) {
    const double value = t * canvas + (1.0 - t) * answer;
    return static_cast<uint8_t>(std::clamp(static_cast<int>(value), 0, 255));
}

namespace detail {

void BlendBytesScalar(const uint8_t* canvas, const uint8_t* answer, uint8_t* out, size_t count,
                      int64_t weight31) {
    for (size_t i = 0; i < count; ++i) {
        const int64_t d = static_cast<int64_t>(canvas[i]) - answer[i];
        // >> on a negative value is an arithmetic shift, i.e. floor.
        out[i] = static_cast<uint8_t>(answer[i] + ((weight31 * d) >> 31));
    }
}

bool HaveAvx2() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
#else
    return false;
#endif
}

}  // namespace detail

void BlendBytes(const uint8_t* canvas, const uint8_t* answer, uint8_t* out, size_t count,
                int32_t blendValue) {
    const double t = BlendWeight(blendValue);
    if (t >= 1.0) {
        std::copy(canvas, canvas + count, out);
        return;
    }
    const double scaled = t * 2147483648.0;
    const auto weight31 = static_cast<int64_t>(scaled);
    if (static_cast<double>(weight31) != scaled) {
        // Not a multiple of 2^-31 (no blend value gives such a weight): use the definition.
        for (size_t i = 0; i < count; ++i) {
            out[i] = BlendByte(canvas[i], answer[i], t);
        }
        return;
    }
    size_t done = 0;
    if (detail::HaveAvx2()) {
        done = detail::BlendBytesAvx2(canvas, answer, out, count, weight31);
    }
    detail::BlendBytesScalar(canvas + done, answer + done, out + done, count - done, weight31);
}

}  // namespace tama05
