#include "puzzle/cell_score.h"

#include <gtest/gtest.h>

namespace tama05 {
namespace {

TEST(CellScoreTest, PerfectWorstAndOneOffMatches) {
    EXPECT_EQ(CellScore(0, 16, 16), 100);
    EXPECT_EQ(CellScore(int64_t{16} * 16 * 3, 16, 16), 99);  // every byte off by one
    EXPECT_EQ(CellScore(int64_t{255} * 16 * 16 * 3, 16, 16), 0);
}

TEST(CellScoreTest, TheFactorIsTheSinglePrecisionValue) {
    EXPECT_EQ(static_cast<double>(kScoreFactor), 0.3921568691730499);
    // The double nearest to 100/255 would give 63 and 58 here.
    EXPECT_EQ(CellScore(27540, 10, 10), 64);
    EXPECT_EQ(CellScore(31365, 10, 10), 59);
}

TEST(CellScoreTest, DividesByTheFullPieceAreaForEdgeCells) {
    // One column of a 33-wide piece, every byte off by 255: far from the worst score.
    const int64_t d = int64_t{255} * 1 * 20 * 3;
    EXPECT_EQ(CellScore(d, 33, 20), static_cast<int>((255.0 - d / (33.0 * 20 * 3)) *
                                                     static_cast<double>(0.39215687f)));
    EXPECT_GT(CellScore(d, 33, 20), 95);
}

TEST(CellScoreTest, HugePiecesNeitherWrapNorLeaveTheRange) {
    // A picture-sized piece of 2^28 pixels, every byte off by 255: beyond 32 bits.
    const int64_t d = int64_t{255} * 3 * (int64_t{1} << 28);
    EXPECT_EQ(CellScore(d, 1 << 14, 1 << 14), 0);
    EXPECT_EQ(CellScore(d / 2, 1 << 14, 1 << 14), 50);
    EXPECT_EQ(CellScore(-1, 4, 4), 100);
}

}  // namespace
}  // namespace tama05

namespace tama05 {
namespace {

// The thresholds must decide exactly as comparing CellScore with the stored score.
TEST(ScoreThresholdsTest, AgreeWithCellScoreEverywhere) {
    for (auto [pw, ph] : {std::pair{2, 2}, {10, 10}, {16, 16}, {33, 7}}) {
        const ScoreThresholds thresholds(pw, ph);
        const int64_t worst = int64_t{255} * 3 * pw * ph;
        const int64_t step = worst > 200000 ? 7 : 1;
        for (int64_t d = 0; d <= worst; d += step) {
            const int score = CellScore(d, pw, ph);
            for (int stored : {score - 1, score, score + 1, 0, 100}) {
                if (stored < 0 || stored > 100) {
                    continue;
                }
                ASSERT_EQ(thresholds.Beats(d, stored), score > stored)
                    << pw << "x" << ph << " d=" << d << " stored=" << stored;
            }
        }
    }
}

}  // namespace
}  // namespace tama05
