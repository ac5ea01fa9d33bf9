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

#include <span>

namespace tama05::fuzz {

// True when some JPEG frame header (FF C0..CF, not C4, C8 or CC) anywhere in bytes declares
// more than kFuzzMaxPixels pixels. Readers that take embedded JPEG streams at the full picture
// bound (painter and canvas files, dropped .jpg files) are not given such inputs: decoding a
// quarter-billion-pixel picture from a few bytes is allowed by the bound and only slow.
inline bool ClaimsLargeJpeg(std::span<const uint8_t> bytes) {
    for (size_t i = 0; i + 9 <= bytes.size(); ++i) {
        const uint8_t marker = bytes[i + 1];
        if (bytes[i] != 0xFF || marker < 0xC0 || marker > 0xCF || marker == 0xC4 ||
            marker == 0xC8 || marker == 0xCC) {
            continue;
        }
        const int64_t height = (int64_t{bytes[i + 5]} << 8) | bytes[i + 6];
        const int64_t width = (int64_t{bytes[i + 7]} << 8) | bytes[i + 8];
        if (width * height > kFuzzMaxPixels) {
            return true;
        }
    }
    return false;
}

}  // namespace tama05::fuzz
