#pragma once

#include <cstdint>

namespace tama05::fuzz {

// Pictures decoded by the fuzz targets are held to a million pixels, as image libraries'
// own fuzzers do: larger headers are refused by the same size check as the full bound, so
// the refusal path is exercised while every run stays fast and small.
inline constexpr int64_t kFuzzMaxPixels = int64_t{1} << 20;

// Stops the run with a crash report when a reader breaks one of its promises.
inline void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace tama05::fuzz
