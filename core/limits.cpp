#include "core/limits.h"

namespace tama05 {

std::optional<int64_t> CheckedMultiply(int64_t a, int64_t b, int64_t limit) {
    if (a < 0 || b < 0 || limit < 0) {
        return std::nullopt;
    }
    if (a != 0 && b > limit / a) {
        return std::nullopt;
    }
    return a * b;
}

std::optional<PictureSize> CheckPictureSize(int64_t width, int64_t height, int64_t maxPixels) {
    if (width < 0 || height < 0 || width > kMaxPicturePixels || height > kMaxPicturePixels) {
        return std::nullopt;
    }
    if (!CheckedMultiply(width, height, maxPixels)) {
        return std::nullopt;
    }
    const int64_t stride = (width * 3 + 3) / 4 * 4;
    const auto bytes = CheckedMultiply(stride, height, kMaxBlockBytes);
    if (!bytes) {
        return std::nullopt;
    }
    return PictureSize{static_cast<int32_t>(stride), *bytes};
}

}  // namespace tama05
