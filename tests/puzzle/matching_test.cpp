#include "puzzle/matching.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>
#include <vector>

#include "puzzle/cell_score.h"
#include "puzzle/grid.h"
#include "reference_matching.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using test::SolidImage;

struct Flash {
    int32_t x, y, width, height;
    uint8_t blue;
    bool operator==(const Flash&) const = default;
};

class MatchingTest : public ::testing::Test {
protected:
    FlashCellFn Recorder() {
        return [this](const Image& piece, int32_t x, int32_t y, int32_t w, int32_t h) {
            flashes.push_back({x, y, w, h, piece.row(0)[0]});
        };
    }
    std::vector<Flash> flashes;
};

TEST_F(MatchingTest, FillGivesEachCellItsBestPieceAndScore) {
    // Left half blue 10, right half blue 200; two pieces, one for each half.
    Image answer = SolidImage(8, 4, 10, 10, 10);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 4; x < 8; ++x) {
            uint8_t* p = answer.rowFromTop(y) + 3 * x;
            p[0] = p[1] = p[2] = 200;
        }
    }
    std::vector<Image> pieces;
    pieces.push_back(SolidImage(4, 2, 200, 200, 200));
    pieces.push_back(SolidImage(4, 2, 11, 11, 11));
    Image canvas;
    IntArray scores;
    ASSERT_EQ(FillMosaic(answer, pieces, canvas, scores), 0);
    ASSERT_EQ(scores.count(), 4);
    EXPECT_EQ(scores[0], 99);   // off by one
    EXPECT_EQ(scores[1], 100);  // exact
    EXPECT_EQ(test::BlueAt(canvas, 0, 0), 11);
    EXPECT_EQ(test::BlueAt(canvas, 7, 3), 200);
    EXPECT_EQ(canvas.stride(), answer.stride());
    EXPECT_EQ(canvas.info.biWidth, 8);
}

TEST_F(MatchingTest, FillKeepsTheEarlierPieceAmongEqualDistances) {
    Image answer = SolidImage(4, 4, 100, 100, 100);
    std::vector<Image> pieces;
    pieces.push_back(SolidImage(2, 2, 90, 100, 100));
    pieces.push_back(SolidImage(2, 2, 110, 100, 100));  // same distance, later
    Image canvas;
    IntArray scores;
    ASSERT_EQ(FillMosaic(answer, pieces, canvas, scores), 0);
    EXPECT_EQ(test::BlueAt(canvas, 3, 3), 90);
}

TEST_F(MatchingTest, FillBlackensTheCanvasAndSetsEdgeCells) {
    Image answer = SolidImage(101, 10, 50, 50, 50);
    std::vector<Image> pieces;
    pieces.push_back(SolidImage(33, 10, 50, 50, 50));
    Image canvas;
    IntArray scores;
    ASSERT_EQ(FillMosaic(answer, pieces, canvas, scores), 0);
    ASSERT_EQ(scores.count(), 4);
    EXPECT_EQ(test::BlueAt(canvas, 100, 9), 50);
    EXPECT_EQ(scores[3], 100);
    // The padding byte of every canvas row stays black.
    EXPECT_EQ(canvas.row(0)[303], 0);
}

TEST_F(MatchingTest, MatchPastesOnlyStrictlyBetterCellsInCellOrder) {
    Image answer = SolidImage(6, 4, 100, 100, 100);
    Image canvas = SolidImage(6, 4, 0, 0, 0);
    IntArray scores;
    scores.AllocateFilled(6, 0);  // 3 columns × 2 rows of 2 × 2
    scores[1] = 100;              // already perfect: stays
    const int equal = CellScore(int64_t{20} * 12, 2, 2);
    scores[4] = equal;  // equal to what the piece scores: stays
    const Image piece = SolidImage(2, 2, 120, 120, 120);
    const int changed =
        MatchPieces(Recorder(), answer, std::span<const Image>(&piece, 1), canvas, scores);
    EXPECT_EQ(changed, 4);
    EXPECT_EQ(flashes, (std::vector<Flash>{{0, 0, 6, 4, 120},
                                           {4, 0, 6, 4, 120},
                                           {0, 2, 6, 4, 120},
                                           {4, 2, 6, 4, 120}}));
    EXPECT_EQ(scores[0], equal);
    EXPECT_EQ(scores[1], 100);
    EXPECT_EQ(test::BlueAt(canvas, 2, 0), 0);  // cell 1 untouched
    EXPECT_EQ(test::BlueAt(canvas, 3, 3), 0);  // cell 4 untouched
    EXPECT_EQ(test::BlueAt(canvas, 5, 3), 120);

    // The same piece again changes nothing.
    flashes.clear();
    EXPECT_EQ(MatchPieces(Recorder(), answer, std::span<const Image>(&piece, 1), canvas, scores),
              0);
    EXPECT_TRUE(flashes.empty());
}

TEST_F(MatchingTest, WrongCanvasOrScoresChangeNothing) {
    Image answer = SolidImage(6, 4, 100, 100, 100);
    const Image piece = SolidImage(2, 2, 100, 100, 100);
    Image narrow = SolidImage(5, 4, 0, 0, 0);
    IntArray scores;
    scores.AllocateFilled(6, 0);
    EXPECT_EQ(MatchPieces(Recorder(), answer, std::span<const Image>(&piece, 1), narrow, scores),
              -1);
    EXPECT_EQ(scores[0], 0);

    Image canvas = SolidImage(6, 4, 0, 0, 0);
    IntArray wrong;
    wrong.AllocateFilled(5, 0);
    EXPECT_EQ(MatchPieces(Recorder(), answer, std::span<const Image>(&piece, 1), canvas, wrong),
              -2);
    EXPECT_EQ(wrong[0], 0);
    EXPECT_EQ(test::BlueAt(canvas, 0, 0), 0);
    EXPECT_TRUE(flashes.empty());
}

TEST_F(MatchingTest, UnusablePiecesAreRefused) {
    Image answer = SolidImage(6, 4, 100, 100, 100);
    Image canvas;
    IntArray scores;
    EXPECT_EQ(FillMosaic(answer, {}, canvas, scores), -3);
    std::vector<Image> mixed;
    mixed.push_back(SolidImage(2, 2, 1, 1, 1));
    mixed.push_back(SolidImage(3, 2, 1, 1, 1));
    EXPECT_EQ(FillMosaic(answer, mixed, canvas, scores), -3);
    std::vector<Image> tooWide;
    tooWide.push_back(SolidImage(7, 2, 1, 1, 1));
    EXPECT_EQ(FillMosaic(answer, tooWide, canvas, scores), -3);
    EXPECT_TRUE(canvas.empty());
}

TEST_F(MatchingTest, MeanPieceScore) {
    IntArray scores;
    scores.AllocateFilled(3, 100);
    scores[2] = 99;
    EXPECT_DOUBLE_EQ(MeanPieceScore(scores), 299.0 / 3);
    EXPECT_EQ(static_cast<int>(MeanPieceScore(scores)), 99);
    EXPECT_EQ(MeanPieceScore(IntArray{}), 0.0);
}

// The whole drop step against a straightforward model: every cell's reference distance, the
// strict comparison, pasting in cell order.
TEST_F(MatchingTest, RandomDropsEqualTheStraightforwardAlgorithm) {
    std::mt19937 rng(99);
    for (int trial = 0; trial < 30; ++trial) {
        const int32_t w = 5 + trial * 3;
        const int32_t h = 4 + trial * 2;
        const int32_t pw = 2 + trial % 7;
        const int32_t ph = 2 + trial % 5;
        Image answer = test::RandomImage(w, h, rng);
        std::vector<Image> fill;
        for (int k = 0; k < 3; ++k) {
            fill.push_back(test::RandomImage(pw, ph, rng));
        }
        Image canvas;
        IntArray scores;
        ASSERT_EQ(FillMosaic(answer, fill, canvas, scores), 0);
        for (int drop = 0; drop < 5; ++drop) {
            // A smooth piece near the answer's mean scores better than random ones somewhere.
            const uint8_t v = static_cast<uint8_t>(100 + drop * 10);
            Image piece = SolidImage(pw, ph, v, v, v);
            const Grid grid = GridFor(w, h, pw, ph);
            std::vector<int> expectedScores(scores.begin(), scores.end());
            std::vector<Flash> expectedFlashes;
            for (int32_t m = 0; m < grid.rows; ++m) {
                for (int32_t n = 0; n < grid.columns; ++n) {
                    const int s =
                        CellScore(test::ReferenceCellDistance(answer, piece, m, n), pw, ph);
                    int& stored = expectedScores[static_cast<size_t>(m * grid.columns + n)];
                    if (s > stored) {
                        stored = s;
                        expectedFlashes.push_back({n * pw, m * ph, w, h, v});
                    }
                }
            }
            flashes.clear();
            const int changed = MatchPieces(Recorder(), answer, std::span<const Image>(&piece, 1),
                                            canvas, scores);
            EXPECT_EQ(changed, static_cast<int>(expectedFlashes.size()));
            EXPECT_EQ(flashes, expectedFlashes);
            EXPECT_EQ(std::vector<int>(scores.begin(), scores.end()), expectedScores);
        }
    }
}

}  // namespace
}  // namespace tama05
