#include "puzzle/cell_distance.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "puzzle/grid.h"
#include "reference_matching.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

std::vector<DistanceKernel> SupportedKernels() {
    std::vector<DistanceKernel> kernels;
    for (DistanceKernel k : {DistanceKernel::kScalar, DistanceKernel::kSse2, DistanceKernel::kAvx2}) {
        if (KernelSupported(k)) {
            kernels.push_back(k);
        }
    }
    return kernels;
}

void ExpectKernelsMatchReference(const Image& answer, const Image& piece) {
    const Grid grid = GridFor(answer.width(), answer.height(), piece.width(), piece.height());
    std::vector<int64_t> expected;
    for (int32_t m = 0; m < grid.rows; ++m) {
        for (int32_t n = 0; n < grid.columns; ++n) {
            expected.push_back(test::ReferenceCellDistance(answer, piece, m, n));
        }
    }
    CellDistanceScratch scratch;
    for (DistanceKernel kernel : SupportedKernels()) {
        std::vector<int64_t> got(expected.size(), -1);
        ComputeCellDistances(answer, piece, got, scratch, kernel);
        ASSERT_EQ(got, expected) << KernelName(kernel) << " answer " << answer.width() << "x"
                                 << answer.height() << " piece " << piece.width() << "x"
                                 << piece.height();
    }
}

TEST(CellDistanceTest, EdgeCellsCountOnlyThePixelsInside) {
    // W = 100 with 33-pixel pieces: four columns, the last one pixel wide.
    Image answer = test::SolidImage(100, 50, 10, 10, 10);
    Image piece = test::SolidImage(33, 20, 11, 11, 11);
    const Grid grid = GridFor(100, 50, 33, 20);
    ASSERT_EQ(grid.columns, 4);
    ASSERT_EQ(grid.rows, 3);
    std::vector<int64_t> got(12);
    CellDistanceScratch scratch;
    ComputeCellDistances(answer, piece, got, scratch);
    EXPECT_EQ(got[0], 33 * 20 * 3);
    EXPECT_EQ(got[3], 1 * 20 * 3);    // last column: one pixel wide
    EXPECT_EQ(got[8], 33 * 10 * 3);   // last row: ten pixels high
    EXPECT_EQ(got[11], 1 * 10 * 3);   // the corner
    ExpectKernelsMatchReference(answer, piece);
}

TEST(CellDistanceTest, ExtremeBytesDoNotSaturate) {
    Image answer = test::SolidImage(64, 64, 255, 255, 255);
    Image piece = test::SolidImage(32, 32, 0, 0, 0);
    ExpectKernelsMatchReference(answer, piece);
    std::vector<int64_t> got(4);
    CellDistanceScratch scratch;
    ComputeCellDistances(answer, piece, got, scratch);
    EXPECT_EQ(got[0], int64_t{255} * 32 * 32 * 3);
}

TEST(CellDistanceTest, PieceAsLargeAsThePicture) {
    std::mt19937 rng(7);
    Image answer = test::RandomImage(37, 23, rng);
    Image piece = test::RandomImage(37, 23, rng);
    ExpectKernelsMatchReference(answer, piece);
}

TEST(CellDistanceTest, FastKernelsEqualTheReferenceOverManySizes) {
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<int> answerSize(1, 90);
    for (int trial = 0; trial < 400; ++trial) {
        const int32_t w = answerSize(rng);
        const int32_t h = answerSize(rng);
        std::uniform_int_distribution<int> pwDist(1, w);
        std::uniform_int_distribution<int> phDist(1, h);
        // Favour the small pieces the game uses, but cover every width.
        const int32_t pw = trial % 3 == 0 ? pwDist(rng) : std::min(w, 2 + trial % 40);
        const int32_t ph = trial % 3 == 0 ? phDist(rng) : std::min(h, 2 + trial % 17);
        Image answer = test::RandomImage(w, h, rng);
        Image piece = test::RandomImage(pw, ph, rng);
        ExpectKernelsMatchReference(answer, piece);
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST(CellDistanceTest, WidePiecesUseTheGeneralLoop) {
    std::mt19937 rng(3);
    for (int32_t pw : {43, 44, 64, 100, 129}) {
        Image answer = test::RandomImage(300, 40, rng);
        Image piece = test::RandomImage(pw, 9, rng);
        ExpectKernelsMatchReference(answer, piece);
    }
}

}  // namespace
}  // namespace tama05
