#pragma once

#include <cstdint>
#include <optional>

namespace tama05 {

// Every picture the program holds is bounded here, so that a file that claims a huge
// size is refused before anything is allocated.
inline constexpr int64_t kMaxPicturePixels = int64_t{1} << 28;
// A single pixel block stays below 2^31 bytes so that its byte count fits an int32.
inline constexpr int64_t kMaxBlockBytes = (int64_t{1} << 31) - 1;
// Answer images are held to half the bound: the puzzle file stores the answer and the
// mosaic stacked as one picture of twice the height.
inline constexpr int64_t kMaxAnswerPixels = kMaxPicturePixels / 2;

// Bytes per row of a 24-bit picture: three bytes a pixel, rounded up to a multiple of 4.
// Only meaningful for widths that passed CheckPictureSize.
constexpr int32_t StrideFor(int32_t width) {
    int32_t stride = width * 3;
    if (stride % 4 != 0) {
        stride += 4 - stride % 4;
    }
    return stride;
}

struct PictureSize {
    int32_t stride = 0;
    int64_t bytes = 0;
};

// The stride and block size of a width × height 24-bit picture, or nothing when either
// dimension is negative or the picture exceeds the pixel or block bound.
std::optional<PictureSize> CheckPictureSize(int64_t width, int64_t height,
                                            int64_t maxPixels = kMaxPicturePixels);

// a × b when both are non-negative and the product stays at or below limit.
std::optional<int64_t> CheckedMultiply(int64_t a, int64_t b, int64_t limit);

}  // namespace tama05
