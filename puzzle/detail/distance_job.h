#pragma once

#include <cstdint>

namespace tama05::detail {

// One distance computation, prepared by ComputeCellDistances for the kernels.
struct DistanceJob {
    const uint8_t* answer = nullptr;  // memory row 0 first
    int64_t answerStride = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pieceWidth = 0;
    int32_t pieceHeight = 0;
    int32_t columns = 0;
    int32_t rows = 0;
    // Piece memory rows, each padded with zeros to paddedRowBytes (a multiple of 32).
    const uint8_t* piece = nullptr;
    // The same rows with every byte past the last column's width zeroed; equal to piece when
    // the last column is whole.
    const uint8_t* edgePiece = nullptr;
    int64_t paddedRowBytes = 0;
    int32_t cellBytes = 0;      // pieceWidth × 3
    int32_t edgeCellBytes = 0;  // the last column's width × 3
    int64_t* accumulators = nullptr;  // columns × 4 entries
    // When cells are whole multiples of 8 bytes: each piece row repeated across the whole
    // columns (tiledRowBytes a row, a multiple of 32, zero past the last whole cell), and one
    // 64-bit sum per 8-byte group of a row. Null otherwise.
    const uint8_t* tiledPiece = nullptr;
    int64_t tiledRowBytes = 0;
    int64_t* groupAccumulators = nullptr;
    int64_t* out = nullptr;           // columns × rows entries, cell order
};

// The first n bytes of kByteMask + 32 - n are 0xFF, the rest 0 (n = 0..32).
alignas(64) inline constexpr uint8_t kByteMask[64] = {
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

void CellDistancesScalar(const DistanceJob& job);
void CellDistancesSse2(const DistanceJob& job);
void CellDistancesAvx2(const DistanceJob& job);

}  // namespace tama05::detail
