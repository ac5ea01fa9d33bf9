#include "puzzle/cell_distance.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <numeric>

#include "puzzle/detail/distance_job.h"
#include "puzzle/grid.h"

namespace tama05 {

namespace detail {

// The same walk as the vector kernels, one byte at a time.
void CellDistancesScalar(const DistanceJob& job) {
    int64_t* acc = job.accumulators;
    for (int32_t m = job.rows - 1; m >= 0; --m) {
        const int32_t topY = m * job.pieceHeight;
        const int32_t bottomY = std::min(topY + job.pieceHeight - 1, job.height - 1);
        std::fill(acc, acc + job.columns, int64_t{0});
        for (int32_t r = job.height - 1 - bottomY; r <= job.height - 1 - topY; ++r) {
            const int32_t pieceRow = job.pieceHeight - 1 - ((job.height - 1 - r) - topY);
            const uint8_t* answerRow = job.answer + r * job.answerStride;
            const uint8_t* pieceBytes = job.piece + pieceRow * job.paddedRowBytes;
            for (int32_t n = 0; n < job.columns; ++n) {
                const uint8_t* a = answerRow + static_cast<int64_t>(n) * job.cellBytes;
                const int32_t bytes = n == job.columns - 1 ? job.edgeCellBytes : job.cellBytes;
                int64_t sum = 0;
                for (int32_t i = 0; i < bytes; ++i) {
                    sum += std::abs(a[i] - pieceBytes[i]);
                }
                acc[n] += sum;
            }
        }
        std::copy(acc, acc + job.columns, job.out + static_cast<int64_t>(m) * job.columns);
    }
}

}  // namespace detail

bool KernelSupported(DistanceKernel kernel) {
    switch (kernel) {
        case DistanceKernel::kScalar:
            return true;
#if defined(__x86_64__) || defined(__i386__)
        case DistanceKernel::kSse2:
            return __builtin_cpu_supports("sse2");
        case DistanceKernel::kAvx2:
            return __builtin_cpu_supports("avx2");
#else
        default:
            return false;
#endif
    }
    return false;
}

DistanceKernel BestDistanceKernel() {
    static const DistanceKernel best = KernelSupported(DistanceKernel::kAvx2)   ? DistanceKernel::kAvx2
                                       : KernelSupported(DistanceKernel::kSse2) ? DistanceKernel::kSse2
                                                                                : DistanceKernel::kScalar;
    return best;
}

const char* KernelName(DistanceKernel kernel) {
    switch (kernel) {
        case DistanceKernel::kScalar:
            return "scalar";
        case DistanceKernel::kSse2:
            return "sse2";
        case DistanceKernel::kAvx2:
            return "avx2";
    }
    return "?";
}

void ComputeCellDistances(const Image& answer, const Image& piece, std::span<int64_t> out,
                          CellDistanceScratch& scratch, DistanceKernel kernel) {
    const int32_t pw = piece.width();
    const int32_t ph = piece.height();
    const Grid grid = GridFor(answer.width(), answer.height(), pw, ph);
    if (grid.cellCount() == 0 || out.size() < static_cast<size_t>(grid.cellCount()) ||
        pw > answer.width() || ph > answer.height()) {
        return;
    }
    if (!KernelSupported(kernel)) {
        kernel = DistanceKernel::kScalar;
    }

    detail::DistanceJob job;
    job.answer = answer.data();
    job.answerStride = answer.stride();
    job.width = answer.width();
    job.height = answer.height();
    job.pieceWidth = pw;
    job.pieceHeight = ph;
    job.columns = grid.columns;
    job.rows = grid.rows;
    job.cellBytes = pw * 3;
    job.edgeCellBytes = (answer.width() - (grid.columns - 1) * pw) * 3;
    job.paddedRowBytes = (static_cast<int64_t>(job.cellBytes) + 31) / 32 * 32;

    // Piece rows padded with zeros to whole vectors; a second copy cut to the last column.
    const size_t padded = static_cast<size_t>(job.paddedRowBytes) * static_cast<size_t>(ph);
    scratch.piece.assign(padded, 0);
    for (int32_t r = 0; r < ph; ++r) {
        std::memcpy(&scratch.piece[static_cast<size_t>(r * job.paddedRowBytes)], piece.row(r),
                    static_cast<size_t>(job.cellBytes));
    }
    job.piece = scratch.piece.data();
    job.edgePiece = job.piece;
    if (job.edgeCellBytes != job.cellBytes) {
        scratch.edgePiece.assign(padded, 0);
        for (int32_t r = 0; r < ph; ++r) {
            std::memcpy(&scratch.edgePiece[static_cast<size_t>(r * job.paddedRowBytes)],
                        piece.row(r), static_cast<size_t>(job.edgeCellBytes));
        }
        job.edgePiece = scratch.edgePiece.data();
    }
    // Four 64-bit lanes a cell, on a 32-byte boundary for the vector kernels.
    scratch.accumulators.resize(static_cast<size_t>(grid.columns) * 4 + 4);
    const auto base = reinterpret_cast<uintptr_t>(scratch.accumulators.data());
    job.accumulators = reinterpret_cast<int64_t*>((base + 31) & ~uintptr_t{31});
    job.out = out.data();

    // The vector kernels stream whole rows when cells are multiples of 8 bytes. The piece row
    // repeated across the picture is periodic: one period is a whole number of cells and of
    // 32-byte vectors (the least common multiple of the two).
    const int64_t cellBytes = job.cellBytes;
    const int64_t period = cellBytes * 32 / std::gcd(cellBytes, int64_t{32});
    constexpr int64_t kMaxPeriodBytes = 4096;
    if (kernel != DistanceKernel::kScalar && cellBytes % 8 == 0 && period <= kMaxPeriodBytes) {
        const int32_t wholeColumns =
            job.edgeCellBytes != job.cellBytes ? grid.columns - 1 : grid.columns;
        const int64_t wholeBytes = wholeColumns * cellBytes;
        scratch.tiledPiece.resize(static_cast<size_t>(period * ph));
        for (int32_t r = 0; r < ph; ++r) {
            uint8_t* tile = &scratch.tiledPiece[static_cast<size_t>(r * period)];
            for (int64_t offset = 0; offset < period; offset += cellBytes) {
                std::memcpy(tile + offset, piece.row(r), static_cast<size_t>(cellBytes));
            }
        }
        scratch.groupAccumulators.resize(static_cast<size_t>((wholeBytes + 31) / 32 * 4 + 4));
        const auto groups = reinterpret_cast<uintptr_t>(scratch.groupAccumulators.data());
        job.groupAccumulators = reinterpret_cast<int64_t*>((groups + 31) & ~uintptr_t{31});
        job.tiledPiece = scratch.tiledPiece.data();
        job.tiledRowBytes = period;
    }

    switch (kernel) {
        case DistanceKernel::kAvx2:
            detail::CellDistancesAvx2(job);
            break;
        case DistanceKernel::kSse2:
            detail::CellDistancesSse2(job);
            break;
        case DistanceKernel::kScalar:
            detail::CellDistancesScalar(job);
            break;
    }
}

}  // namespace tama05
