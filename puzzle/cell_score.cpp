#include "puzzle/cell_score.h"

#include <algorithm>

namespace tama05 {

int CellScore(int64_t distance, int32_t pieceWidth, int32_t pieceHeight) {
    const double area = static_cast<double>(pieceWidth) * pieceHeight * 3;
    const double score =
        (255.0 - static_cast<double>(distance) / area) * static_cast<double>(kScoreFactor);
    // Clamp before converting: a score outside 0..100 means a distance the grid cannot produce.
    return static_cast<int>(std::clamp(score, 0.0, 100.0));
}

}  // namespace tama05
