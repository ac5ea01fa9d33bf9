// The slider's blend over a 4000 × 3000 picture (36 MB): the exact integer kernel against the
// double formula it equals.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/blend.h"

namespace tama05 {
namespace {

constexpr size_t kBytes = size_t{4000} * 3 * 3000;

struct BlendData {
    BlendData() : canvas(kBytes), answer(kBytes), out(kBytes) {
        std::mt19937 rng(4);
        for (size_t i = 0; i < kBytes; ++i) {
            canvas[i] = static_cast<uint8_t>(rng());
            answer[i] = static_cast<uint8_t>(rng());
        }
    }
    std::vector<uint8_t> canvas, answer, out;
};

BlendData& Data() {
    static BlendData data;
    return data;
}

void BM_BlendFast(benchmark::State& state) {
    BlendData& d = Data();
    for (auto _ : state) {
        BlendBytes(d.canvas.data(), d.answer.data(), d.out.data(), kBytes, 128);
        benchmark::DoNotOptimize(d.out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}

void BM_BlendDoubleFormula(benchmark::State& state) {
    BlendData& d = Data();
    const double t = BlendWeight(128);
    for (auto _ : state) {
        for (size_t i = 0; i < kBytes; ++i) {
            d.out[i] = BlendByte(d.canvas[i], d.answer[i], t);
        }
        benchmark::DoNotOptimize(d.out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}

BENCHMARK(BM_BlendFast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlendDoubleFormula)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tama05
