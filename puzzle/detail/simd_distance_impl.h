#pragma once

// The vector kernel shared by the SSE2 and AVX2 builds. It is included by one source file per
// instruction set, each compiled with its own target flags, so everything here has internal
// linkage and uses no library templates: no function compiled for AVX2 may be merged with, or
// stand in for, one that older processors run.

#include "puzzle/detail/distance_job.h"

namespace tama05::detail {
namespace {

inline int32_t MinInt(int32_t a, int32_t b) { return a < b ? a : b; }

// Sums one cell's part of an answer row against the padded piece row. The last chunk of the
// answer is masked so that bytes of the next cell add nothing; the padded piece is already zero
// there.
template <class Ops, int kChunks>
inline void AccumulateCells(typename Ops::Vec* acc, const uint8_t* answerRow,
                            const uint8_t* pieceRow, int32_t cellCount, int32_t cellBytes,
                            typename Ops::Vec lastMask) {
    using Vec = typename Ops::Vec;
    constexpr int kW = Ops::kWidth;
    Vec p[kChunks];
    for (int c = 0; c < kChunks; ++c) {
        p[c] = Ops::Load(pieceRow + c * kW);
    }
    for (int32_t n = 0; n < cellCount; ++n) {
        const uint8_t* a = answerRow + static_cast<int64_t>(n) * cellBytes;
        Vec sum = Ops::Sad(Ops::And(Ops::LoadU(a + (kChunks - 1) * kW), lastMask), p[kChunks - 1]);
        for (int c = 0; c < kChunks - 1; ++c) {
            sum = Ops::Add(sum, Ops::Sad(Ops::LoadU(a + c * kW), p[c]));
        }
        acc[n] = Ops::Add(acc[n], sum);
    }
}

template <class Ops>
inline void AccumulateCellsAnyWidth(typename Ops::Vec* acc, const uint8_t* answerRow,
                                    const uint8_t* pieceRow, int32_t cellCount,
                                    int32_t cellBytes, int32_t chunks,
                                    typename Ops::Vec lastMask) {
    using Vec = typename Ops::Vec;
    constexpr int kW = Ops::kWidth;
    for (int32_t n = 0; n < cellCount; ++n) {
        const uint8_t* a = answerRow + static_cast<int64_t>(n) * cellBytes;
        Vec sum = Ops::Sad(Ops::And(Ops::LoadU(a + (chunks - 1) * kW), lastMask),
                           Ops::Load(pieceRow + (chunks - 1) * kW));
        for (int32_t c = 0; c < chunks - 1; ++c) {
            sum = Ops::Add(sum, Ops::Sad(Ops::LoadU(a + c * kW), Ops::Load(pieceRow + c * kW)));
        }
        acc[n] = Ops::Add(acc[n], sum);
    }
}

template <class Ops>
inline void AccumulateRow(typename Ops::Vec* acc, const uint8_t* answerRow,
                          const uint8_t* pieceRow, int32_t cellCount, int32_t cellBytes,
                          int32_t chunks, typename Ops::Vec lastMask) {
    switch (chunks) {
        case 1:
            AccumulateCells<Ops, 1>(acc, answerRow, pieceRow, cellCount, cellBytes, lastMask);
            break;
        case 2:
            AccumulateCells<Ops, 2>(acc, answerRow, pieceRow, cellCount, cellBytes, lastMask);
            break;
        case 3:
            AccumulateCells<Ops, 3>(acc, answerRow, pieceRow, cellCount, cellBytes, lastMask);
            break;
        case 4:
            AccumulateCells<Ops, 4>(acc, answerRow, pieceRow, cellCount, cellBytes, lastMask);
            break;
        default:
            AccumulateCellsAnyWidth<Ops>(acc, answerRow, pieceRow, cellCount, cellBytes, chunks,
                                         lastMask);
            break;
    }
}

// Cells whose rows are whole multiples of 8 bytes line up with the 8-byte sums of the
// sum-of-absolute-differences instruction: each answer row is compared, in one contiguous
// stream, with the piece row repeated across the picture, and the 8-byte sums are added up per
// cell once a row of cells is complete. The repeated row is periodic, so only one period
// (tiledRowBytes, a whole number of cells and of vectors) is kept, in the first-level cache.
template <class Ops>
inline void SadRowPeriodic(typename Ops::Vec* acc, const uint8_t* answerRow, const uint8_t* tile,
                           int64_t vectors, int32_t period, typename Ops::Vec lastMask) {
    constexpr int kW = Ops::kWidth;
    int32_t p = 0;
    for (int64_t v = 0; v < vectors - 1; ++v) {
        acc[v] = Ops::Add(acc[v], Ops::Sad(Ops::LoadU(answerRow + v * kW), Ops::Load(tile + p * kW)));
        p = p + 1 == period ? 0 : p + 1;
    }
    const int64_t v = vectors - 1;
    acc[v] = Ops::Add(acc[v], Ops::Sad(Ops::And(Ops::LoadU(answerRow + v * kW), lastMask),
                                       Ops::And(Ops::Load(tile + p * kW), lastMask)));
}

template <class Ops>
void CellDistancesTiled(const DistanceJob& job) {
    using Vec = typename Ops::Vec;
    constexpr int kW = Ops::kWidth;
    const bool edge = job.edgeCellBytes != job.cellBytes;
    const int32_t wholeColumns = edge ? job.columns - 1 : job.columns;
    const int64_t wholeBytes = static_cast<int64_t>(wholeColumns) * job.cellBytes;
    const int64_t vectors = (wholeBytes + kW - 1) / kW;
    const int32_t period = static_cast<int32_t>(job.tiledRowBytes / kW);
    const Vec lastMask = Ops::LoadU(kByteMask + 32 - (wholeBytes - (vectors - 1) * kW));
    const int32_t edgeChunks = (job.edgeCellBytes + kW - 1) / kW;
    const Vec edgeMask = Ops::LoadU(kByteMask + 32 - (job.edgeCellBytes - (edgeChunks - 1) * kW));
    const int32_t groupsPerCell = job.cellBytes / 8;
    Vec* acc = reinterpret_cast<Vec*>(job.groupAccumulators);
    Vec edgeAcc[1];

    for (int32_t m = job.rows - 1; m >= 0; --m) {
        const int32_t topY = m * job.pieceHeight;
        const int32_t bottomY = MinInt(topY + job.pieceHeight - 1, job.height - 1);
        for (int64_t v = 0; v < vectors; ++v) {
            acc[v] = Ops::Zero();
        }
        edgeAcc[0] = Ops::Zero();
        for (int32_t r = job.height - 1 - bottomY; r <= job.height - 1 - topY; ++r) {
            const int32_t pieceRow = job.pieceHeight - 1 - ((job.height - 1 - r) - topY);
            const uint8_t* a = job.answer + r * job.answerStride;
            SadRowPeriodic<Ops>(acc, a, job.tiledPiece + pieceRow * job.tiledRowBytes, vectors,
                                period, lastMask);
            if (edge) {
                AccumulateRow<Ops>(edgeAcc, a + wholeBytes,
                                   job.edgePiece + pieceRow * job.paddedRowBytes, 1,
                                   job.cellBytes, edgeChunks, edgeMask);
            }
        }
        int64_t* out = job.out + static_cast<int64_t>(m) * job.columns;
        const int64_t* groups = job.groupAccumulators;
        for (int32_t n = 0; n < wholeColumns; ++n) {
            int64_t sum = 0;
            for (int32_t g = 0; g < groupsPerCell; ++g) {
                sum += groups[static_cast<int64_t>(n) * groupsPerCell + g];
            }
            out[n] = sum;
        }
        if (edge) {
            out[wholeColumns] = Ops::HorizontalSum(edgeAcc[0]);
        }
    }
}

template <class Ops>
void CellDistancesSimd(const DistanceJob& job) {
    if (job.tiledPiece != nullptr) {
        CellDistancesTiled<Ops>(job);
        return;
    }
    using Vec = typename Ops::Vec;
    constexpr int kW = Ops::kWidth;
    const bool edge = job.edgeCellBytes != job.cellBytes;
    const int32_t wholeColumns = edge ? job.columns - 1 : job.columns;
    const int32_t chunks = (job.cellBytes + kW - 1) / kW;
    const Vec lastMask = Ops::LoadU(kByteMask + 32 - (job.cellBytes - (chunks - 1) * kW));
    const int32_t edgeChunks = (job.edgeCellBytes + kW - 1) / kW;
    const Vec edgeMask = Ops::LoadU(kByteMask + 32 - (job.edgeCellBytes - (edgeChunks - 1) * kW));
    Vec* acc = reinterpret_cast<Vec*>(job.accumulators);

    // Cell rows from the bottom of the picture up, so that memory rows ascend.
    for (int32_t m = job.rows - 1; m >= 0; --m) {
        const int32_t topY = m * job.pieceHeight;
        const int32_t bottomY = MinInt(topY + job.pieceHeight - 1, job.height - 1);
        for (int32_t n = 0; n < job.columns; ++n) {
            acc[n] = Ops::Zero();
        }
        for (int32_t r = job.height - 1 - bottomY; r <= job.height - 1 - topY; ++r) {
            const int32_t pieceRow = job.pieceHeight - 1 - ((job.height - 1 - r) - topY);
            const uint8_t* answerRow = job.answer + r * job.answerStride;
            const int64_t pieceOffset = pieceRow * job.paddedRowBytes;
            AccumulateRow<Ops>(acc, answerRow, job.piece + pieceOffset, wholeColumns,
                               job.cellBytes, chunks, lastMask);
            if (edge) {
                AccumulateRow<Ops>(acc + wholeColumns,
                                   answerRow + static_cast<int64_t>(wholeColumns) * job.cellBytes,
                                   job.edgePiece + pieceOffset, 1, job.cellBytes, edgeChunks,
                                   edgeMask);
            }
        }
        int64_t* out = job.out + static_cast<int64_t>(m) * job.columns;
        for (int32_t n = 0; n < job.columns; ++n) {
            out[n] = Ops::HorizontalSum(acc[n]);
        }
    }
}

}  // namespace
}  // namespace tama05::detail
