#pragma once

#include <cstdint>
#include <cstdlib>

#include "core/image.h"

namespace tama05::test {

// The cell distance exactly as defined: for every piece pixel (i, j from the top-left) whose
// picture position lies inside the answer, the absolute differences of its three bytes.
inline int64_t ReferenceCellDistance(const Image& answer, const Image& piece, int32_t row,
                                     int32_t column) {
    const int32_t pw = piece.width();
    const int32_t ph = piece.height();
    int64_t sum = 0;
    for (int32_t j = 0; j < ph; ++j) {
        const int32_t y = row * ph + j;
        if (y >= answer.height()) {
            continue;
        }
        for (int32_t i = 0; i < pw; ++i) {
            const int32_t x = column * pw + i;
            if (x >= answer.width()) {
                continue;
            }
            const uint8_t* a = answer.rowFromTop(y) + 3 * x;
            const uint8_t* p = piece.rowFromTop(j) + 3 * i;
            for (int c = 0; c < 3; ++c) {
                sum += std::abs(static_cast<int>(a[c]) - static_cast<int>(p[c]));
            }
        }
    }
    return sum;
}

}  // namespace tama05::test
