#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "core/image.h"
#include "core/int_array.h"
#include "puzzle/cell_distance.h"

namespace tama05 {

// Called once for every cell whose piece changed, in cell order, right after the piece was
// pasted: the piece, the cell's top-left picture position (x, y from the top) and the picture
// size.
using FlashCellFn =
    std::function<void(const Image& piece, int32_t x, int32_t y, int32_t width, int32_t height)>;

// Called for every cell about to take a new piece, before its pixels and score change: the
// cell's index in cell order and its top-left picture position (x, y from the top).
using CellChangingFn = std::function<void(size_t cell, int32_t x, int32_t y)>;

// Buffers kept between matching calls; a fresh block the size of a large grid costs page
// faults on every call.
struct MatchScratch {
    CellDistanceScratch distance;
    std::vector<int64_t> distances;
    std::vector<int64_t> bestDistances;
    std::vector<int32_t> bestPieces;
};

// Builds a new canvas of the answer's size, black, and gives every cell the piece with the
// smallest distance (the earlier piece among equals) and its score. cellPieces, when given,
// receives for every cell the position of its piece in pieces. Returns 0, or -3 (nothing
// changed) when there are no pieces, they differ in size, or the piece size does not fit.
int FillMosaic(const Image& answer, std::span<const Image> pieces, Image& canvas, IntArray& scores,
               MatchScratch* scratch = nullptr, DistanceKernel kernel = BestDistanceKernel(),
               std::vector<int32_t>* cellPieces = nullptr);

// Offers the pieces to every cell; a cell takes the best piece only when its score is strictly
// greater than the stored one. Returns the number of changed cells, -1 when the canvas is not
// the answer's size, -2 when the scores do not have one entry per cell, -3 when the pieces are
// unusable as for FillMosaic. On a negative result nothing is changed. changing, if given,
// hears of each cell before it changes (an undo history keeps what the cell held).
int MatchPieces(const FlashCellFn& flash, const Image& answer, std::span<const Image> pieces,
                Image& canvas, IntArray& scores, MatchScratch* scratch = nullptr,
                DistanceKernel kernel = BestDistanceKernel(), const CellChangingFn& changing = {});

// The mean of the scores in floating point; 0 when there are none.
double MeanPieceScore(const IntArray& scores);

// Copies the part of piece that lies inside the picture into the cell whose top-left picture
// position is (x, y from the top).
void PastePiece(const Image& piece, Image& canvas, int32_t x, int32_t y);

}  // namespace tama05
