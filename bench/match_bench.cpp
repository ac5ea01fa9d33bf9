// Matching speed: one drop of one piece over a 4000 × 3000 answer, against a read-only pass over
// the same bytes (the memory floor) and the byte-at-a-time kernel.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/image.h"
#include "puzzle/cell_score.h"
#include "puzzle/grid.h"
#include "puzzle/matching.h"
#include "reference_matching.h"

namespace tama05 {
namespace {

constexpr int32_t kWidth = 4000;
constexpr int32_t kHeight = 3000;

const Image& Answer() {
    static const Image answer = [] {
        Image image;
        image.Create(kWidth, kHeight);
        std::mt19937 rng(1);
        auto* words = reinterpret_cast<uint32_t*>(image.data());
        for (size_t i = 0; i < image.byteCount() / 4; ++i) {
            words[i] = static_cast<uint32_t>(rng());
        }
        image.SetHeaders();
        return image;
    }();
    return answer;
}

void MatchOnePiece(benchmark::State& state, DistanceKernel kernel) {
    if (!KernelSupported(kernel)) {
        state.SkipWithError("kernel not supported on this processor");
        return;
    }
    const Image& answer = Answer();
    const int32_t size = static_cast<int32_t>(state.range(0));
    Image piece;
    piece.CreateFilled(size, size, 128);
    Image canvas;
    canvas.CopyFrom(answer);
    IntArray scores;
    MatchScratch scratch;
    const Image fill[] = {std::move(piece)};
    FillMosaic(answer, fill, canvas, scores, &scratch, kernel);
    for (auto _ : state) {
        // The same piece again: every distance is computed, no cell changes.
        benchmark::DoNotOptimize(MatchPieces(nullptr, answer, fill, canvas, scores, &scratch, kernel));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(answer.byteCount()));
}

void BM_MatchPiecesFast(benchmark::State& state) { MatchOnePiece(state, BestDistanceKernel()); }
void BM_MatchPiecesScalar(benchmark::State& state) { MatchOnePiece(state, DistanceKernel::kScalar); }

// The straightforward algorithm: every cell from the top, every piece pixel, one byte at a
// time, then the score; what the fast path must equal bit for bit.
void BM_MatchPiecesReference(benchmark::State& state) {
    const Image& answer = Answer();
    const int32_t size = static_cast<int32_t>(state.range(0));
    Image piece;
    piece.CreateFilled(size, size, 128);
    const Grid grid = GridFor(answer.width(), answer.height(), size, size);
    std::vector<int> scores(static_cast<size_t>(grid.cellCount()), 100);
    for (auto _ : state) {
        int changed = 0;
        for (int32_t m = 0; m < grid.rows; ++m) {
            for (int32_t n = 0; n < grid.columns; ++n) {
                const int s = CellScore(test::ReferenceCellDistance(answer, piece, m, n), size, size);
                changed += s > scores[static_cast<size_t>(m * grid.columns + n)];
            }
        }
        benchmark::DoNotOptimize(changed);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(answer.byteCount()));
}

void BM_ReadFloor(benchmark::State& state) {
    const Image& answer = Answer();
    const auto* words = reinterpret_cast<const uint64_t*>(answer.data());
    const size_t count = answer.byteCount() / 8;
    for (auto _ : state) {
        uint64_t a = 0, b = 0, c = 0, d = 0;
        for (size_t i = 0; i + 4 <= count; i += 4) {
            a ^= words[i];
            b ^= words[i + 1];
            c ^= words[i + 2];
            d ^= words[i + 3];
        }
        benchmark::DoNotOptimize(a ^ b ^ c ^ d);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(answer.byteCount()));
}

BENCHMARK(BM_MatchPiecesFast)->Arg(8)->Arg(16)->Arg(32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchPiecesScalar)->Arg(8)->Arg(16)->Arg(32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchPiecesReference)->Arg(8)->Arg(16)->Arg(32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFloor)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tama05
