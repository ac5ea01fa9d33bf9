#pragma once

#include <cstdint>

#include "core/owned_array.h"

namespace tama05 {

// The alpha values of one picture, kept with the picture they belong to: width × height bytes,
// one a pixel, in the pixel order of the Image (memory row r, column x at r × width + x), no
// row padding. 255 is opaque. A plane is only ever applied to a picture of its own size.
struct AlphaPlane {
    ByteArray values;
    int32_t width = 0;
    int32_t height = 0;
    // True when the values came from the file's own alpha channel (grey+alpha or RGBA);
    // false when the plane was filled opaque because the file has none.
    bool fromFile = false;

    bool Matches(int32_t w, int32_t h) const {
        return !values.empty() && width == w && height == h;
    }
    void Clear() {
        values.Release();
        width = height = 0;
        fromFile = false;
    }
    // Opaque everywhere.
    bool FillOpaque(int32_t w, int32_t h) {
        Clear();
        if (w <= 0 || h <= 0 || !values.AllocateFilled(w * h, 255)) {
            return false;
        }
        width = w;
        height = h;
        return true;
    }
    uint8_t At(int32_t memoryRow, int32_t x) const {
        return values[static_cast<size_t>(memoryRow) * static_cast<size_t>(width) +
                      static_cast<size_t>(x)];
    }
};

}  // namespace tama05
