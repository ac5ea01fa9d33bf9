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

namespace tama05 {

ScoreThresholds::ScoreThresholds(int32_t pieceWidth, int32_t pieceHeight) {
    const int64_t worst = int64_t{255} * 3 * pieceWidth * pieceHeight;
    for (int s = 0; s <= 100; ++s) {
        // The smallest distance whose score is at most s.
        int64_t low = 0;
        int64_t high = worst;
        while (low < high) {
            const int64_t middle = low + (high - low) / 2;
            if (CellScore(middle, pieceWidth, pieceHeight) <= s) {
                high = middle;
            } else {
                low = middle + 1;
            }
        }
        m_limit[s] = low;
    }
}

bool ScoreThresholds::Beats(int64_t distance, int32_t storedScore) const {
    if (storedScore < 0) {
        return true;
    }
    return storedScore <= 100 && distance < m_limit[storedScore];
}

}  // namespace tama05
