#include "puzzle/matching.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "puzzle/cell_score.h"
#include "puzzle/grid.h"

namespace tama05 {

namespace {

bool PiecesUsable(const Image& answer, std::span<const Image> pieces) {
    if (pieces.empty() || answer.empty()) {
        return false;
    }
    const int32_t pw = pieces[0].width();
    const int32_t ph = pieces[0].height();
    if (pw < 1 || ph < 1 || pw > answer.width() || ph > answer.height()) {
        return false;
    }
    return std::all_of(pieces.begin(), pieces.end(), [&](const Image& p) {
        return p.width() == pw && p.height() == ph && !p.empty();
    });
}

// For every cell, the index of the piece with the strictly smallest distance (the earliest
// among equals) and that distance.
void FindBestPieces(const Image& answer, std::span<const Image> pieces, const Grid& grid,
                    MatchScratch& scratch, DistanceKernel kernel) {
    const size_t cells = static_cast<size_t>(grid.cellCount());
    if (pieces.size() == 1) {
        // One piece (every drop): its distances are the best ones.
        scratch.bestDistances.resize(cells);
        ComputeCellDistances(answer, pieces[0], scratch.bestDistances, scratch.distance, kernel);
        return;
    }
    scratch.distances.resize(cells);
    scratch.bestDistances.assign(cells, std::numeric_limits<int64_t>::max());
    scratch.bestPieces.assign(cells, 0);
    for (size_t k = 0; k < pieces.size(); ++k) {
        ComputeCellDistances(answer, pieces[k], scratch.distances, scratch.distance, kernel);
        for (size_t c = 0; c < cells; ++c) {
            if (scratch.distances[c] < scratch.bestDistances[c]) {
                scratch.bestDistances[c] = scratch.distances[c];
                scratch.bestPieces[c] = static_cast<int32_t>(k);
            }
        }
    }
}

// The piece FindBestPieces chose for cell c.
const Image& BestPiece(std::span<const Image> pieces, const MatchScratch& scratch, size_t c) {
    return pieces.size() == 1 ? pieces[0] : pieces[static_cast<size_t>(scratch.bestPieces[c])];
}

}  // namespace

void PastePiece(const Image& piece, Image& canvas, int32_t x, int32_t y) {
    const int32_t columns = std::min(piece.width(), canvas.width() - x);
    if (columns <= 0 || x < 0 || y < 0) {
        return;
    }
    const size_t bytes = static_cast<size_t>(columns) * 3;
    for (int32_t j = 0; j < piece.height() && y + j < canvas.height(); ++j) {
        std::memcpy(canvas.rowFromTop(y + j) + static_cast<size_t>(x) * 3, piece.rowFromTop(j),
                    bytes);
    }
}

int FillMosaic(const Image& answer, std::span<const Image> pieces, Image& canvas, IntArray& scores,
               MatchScratch* scratch, DistanceKernel kernel, std::vector<int32_t>* cellPieces) {
    if (!PiecesUsable(answer, pieces)) {
        return -3;
    }
    MatchScratch local;
    MatchScratch& work = scratch != nullptr ? *scratch : local;
    const int32_t pw = pieces[0].width();
    const int32_t ph = pieces[0].height();
    const Grid grid = GridFor(answer.width(), answer.height(), pw, ph);

    Image newCanvas;
    IntArray newScores;
    if (newCanvas.CreateFilled(answer.width(), answer.height(), 0) != 0 ||
        !newScores.Allocate(static_cast<int32_t>(grid.cellCount()))) {
        return -3;
    }
    newCanvas.SetHeaders();
    FindBestPieces(answer, pieces, grid, work, kernel);
    for (int32_t m = 0; m < grid.rows; ++m) {
        for (int32_t n = 0; n < grid.columns; ++n) {
            const size_t c = static_cast<size_t>(m) * grid.columns + n;
            newScores[c] = CellScore(work.bestDistances[c], pw, ph);
            PastePiece(BestPiece(pieces, work, c), newCanvas, n * pw, m * ph);
        }
    }
    if (cellPieces != nullptr) {
        if (pieces.size() == 1) {
            cellPieces->assign(static_cast<size_t>(grid.cellCount()), 0);
        } else {
            *cellPieces = work.bestPieces;
        }
    }
    canvas = std::move(newCanvas);
    scores = std::move(newScores);
    return 0;
}

int MatchPieces(const FlashCellFn& flash, const Image& answer, std::span<const Image> pieces,
                Image& canvas, IntArray& scores, MatchScratch* scratch, DistanceKernel kernel,
                const CellChangingFn& changing) {
    if (pieces.empty() || pieces[0].width() < 1 || pieces[0].height() < 1) {
        return -3;
    }
    if (canvas.width() != answer.width() || canvas.height() != answer.height() ||
        canvas.stride() != answer.stride()) {
        return -1;
    }
    const int32_t pw = pieces[0].width();
    const int32_t ph = pieces[0].height();
    const Grid grid = GridFor(answer.width(), answer.height(), pw, ph);
    if (scores.count() != grid.cellCount()) {
        return -2;
    }
    if (!PiecesUsable(answer, pieces)) {
        return -3;
    }
    MatchScratch local;
    MatchScratch& work = scratch != nullptr ? *scratch : local;

    // Every distance first, in memory order; then the cells are decided, pasted and flashed
    // one by one in cell order. With the distances fixed up front, the decisions do not depend
    // on the pasting.
    FindBestPieces(answer, pieces, grid, work, kernel);
    const ScoreThresholds thresholds(pw, ph);
    int changed = 0;
    for (int32_t m = 0; m < grid.rows; ++m) {
        for (int32_t n = 0; n < grid.columns; ++n) {
            const size_t c = static_cast<size_t>(m) * grid.columns + n;
            if (!thresholds.Beats(work.bestDistances[c], scores[c])) {
                continue;
            }
            if (changing) {
                changing(c, n * pw, m * ph);
            }
            scores[c] = CellScore(work.bestDistances[c], pw, ph);
            ++changed;
            const Image& best = BestPiece(pieces, work, c);
            PastePiece(best, canvas, n * pw, m * ph);
            if (flash) {
                flash(best, n * pw, m * ph, answer.width(), answer.height());
            }
        }
    }
    return changed;
}

double MeanPieceScore(const IntArray& scores) {
    if (scores.count() == 0) {
        return 0.0;
    }
    double sum = 0.0;
    for (int32_t s : scores) {
        sum += s;
    }
    return sum / scores.count();
}

}  // namespace tama05
