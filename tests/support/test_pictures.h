#pragma once

#include <cstdint>
#include <random>

#include "core/image.h"

namespace tama05::test {

// A width × height picture of random bytes (padding included), with headers.
inline Image RandomImage(int32_t width, int32_t height, std::mt19937& rng) {
    Image image;
    image.Create(width, height);
    std::uniform_int_distribution<int> byte(0, 255);
    for (size_t i = 0; i < image.byteCount(); ++i) {
        image.data()[i] = static_cast<uint8_t>(byte(rng));
    }
    image.SetHeaders();
    return image;
}

// A picture of one colour (blue, green, red); padding bytes 0.
inline Image SolidImage(int32_t width, int32_t height, uint8_t b, uint8_t g, uint8_t r) {
    Image image;
    image.CreateFilled(width, height, 0);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = image.row(y);
        for (int32_t x = 0; x < width; ++x) {
            row[3 * x] = b;
            row[3 * x + 1] = g;
            row[3 * x + 2] = r;
        }
    }
    image.SetHeaders();
    return image;
}

// The blue byte of picture pixel (x, y counted from the top).
inline uint8_t BlueAt(const Image& image, int32_t x, int32_t y) {
    return image.rowFromTop(y)[3 * x];
}

}  // namespace tama05::test
