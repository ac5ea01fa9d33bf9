#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/image.h"

namespace tama05 {

// The vector units the cell distance can run on; every kernel gives the same sums.
enum class DistanceKernel { kScalar, kSse2, kAvx2 };

// The fastest kernel this processor runs.
DistanceKernel BestDistanceKernel();
bool KernelSupported(DistanceKernel kernel);
const char* KernelName(DistanceKernel kernel);

// Buffers reused from call to call: the piece rows padded to whole vectors and the per-cell
// accumulators.
struct CellDistanceScratch {
    std::vector<uint8_t> piece;
    std::vector<uint8_t> edgePiece;
    std::vector<int64_t> accumulators;
    std::vector<uint8_t> tiledPiece;
    std::vector<int64_t> groupAccumulators;
};

// The distance of piece to every cell of the answer's grid: the sum of absolute differences of
// the colour bytes of every piece pixel whose position lies inside the answer. out receives
// columns × rows sums in cell order (the top row of cells first, each from the left). The
// answer is walked in memory order (bottom row first), which is several times faster than
// walking it from the top. The piece must be at least 1 × 1 and at most the answer's size.
void ComputeCellDistances(const Image& answer, const Image& piece, std::span<int64_t> out,
                          CellDistanceScratch& scratch,
                          DistanceKernel kernel = BestDistanceKernel());

}  // namespace tama05
