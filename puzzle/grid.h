#pragma once

#include <cstdint>

namespace tama05 {

// The grid of cells over a W × H picture, anchored at its top-left corner. Cells in the last
// column and row may stick out past the right and bottom edges.
struct Grid {
    int32_t columns = 0;
    int32_t rows = 0;

    int64_t cellCount() const { return int64_t{columns} * rows; }
};

// columns = ceil(width / pieceWidth), rows = ceil(height / pieceHeight); an empty grid when a
// size is not positive.
constexpr Grid GridFor(int32_t width, int32_t height, int32_t pieceWidth, int32_t pieceHeight) {
    if (width <= 0 || height <= 0 || pieceWidth <= 0 || pieceHeight <= 0) {
        return {};
    }
    return {(width + pieceWidth - 1) / pieceWidth, (height + pieceHeight - 1) / pieceHeight};
}

}  // namespace tama05
