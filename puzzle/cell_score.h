#pragma once

#include <cstdint>

namespace tama05 {

// The score factor is the single-precision value nearest to 100/255 (0.39215687...): a perfect
// match scores 100 because 255 × k = 100.0000016, and the float, not the double, decides the
// truncation at the boundaries (distance 27540 over a 10 × 10 piece scores 64, not 63).
inline constexpr float kScoreFactor = 100.0f / 255.0f;

// The score of one cell: trunc((255 - d / (pw · ph · 3)) × k) in double precision. The divisor
// is always the full piece area, also for cells cut off by the picture's edge. Distances are
// 64-bit so that a piece as large as the picture cannot wrap; the result is limited to 0..100.
int CellScore(int64_t distance, int32_t pieceWidth, int32_t pieceHeight);

}  // namespace tama05

namespace tama05 {

// For one piece size, the distances below which a cell's score beats each stored score:
// CellScore(d) > s exactly when d < Limit(s). The score falls as the distance grows, so each
// limit is found once by bisection with CellScore itself, and deciding a cell needs no division.
class ScoreThresholds {
public:
    ScoreThresholds(int32_t pieceWidth, int32_t pieceHeight);
    bool Beats(int64_t distance, int32_t storedScore) const;

private:
    int64_t m_limit[101];
};

}  // namespace tama05
