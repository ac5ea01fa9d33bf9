// The wanted list of a 4000 × 3000 puzzle with 16 × 16 pieces whose every cell still wants a
// better piece (the most work): the goal is under 50 ms, so that it can follow every drop.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "core/image.h"
#include "puzzle/grid.h"
#include "puzzle/wanted_colours.h"

namespace tama05 {
namespace {

// Smooth colour fields with noise on top, like a photo: many different cell colours.
Image PhotoLikeAnswer(int32_t width, int32_t height) {
    Image image;
    image.Create(width, height);
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> noise(-20, 20);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = image.rowFromTop(y);
        for (int32_t x = 0; x < width; ++x) {
            const int base[3] = {x * 255 / width, y * 255 / height,
                                 (x + y) * 127 / (width + height)};
            for (int c = 0; c < 3; ++c) {
                row[3 * x + c] = static_cast<uint8_t>(std::clamp(base[c] + noise(rng), 0, 255));
            }
        }
    }
    image.SetHeaders();
    return image;
}

void BM_FindWantedColours(benchmark::State& state) {
    const int32_t size = static_cast<int32_t>(state.range(0));
    const Image answer = PhotoLikeAnswer(4000, 3000);
    const Grid grid = GridFor(answer.width(), answer.height(), size, size);
    std::vector<int32_t> scores(static_cast<size_t>(grid.cellCount()));
    std::mt19937 rng(7);
    for (int32_t& s : scores) {
        s = static_cast<int32_t>(rng() % 80);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindWantedColours(answer, scores, size, size));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(answer.byteCount()));
}

BENCHMARK(BM_FindWantedColours)->Arg(16)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tama05
