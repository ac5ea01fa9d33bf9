// Huffman codec speed on a 4000 × 3000 photograph-like picture (a smooth gradient with noise),
// in bytes of pixel block per second, both directions.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "core/byte_reader.h"
#include "core/image.h"
#include "puzzlefile/huffman_codec.h"

namespace tama05 {
namespace {

constexpr int32_t kWidth = 4000;
constexpr int32_t kHeight = 3000;

const Image& Photo() {
    static const Image photo = [] {
        Image image;
        image.CreateFilled(kWidth, kHeight, 0);
        std::mt19937 rng(4);
        std::uniform_int_distribution<int> noise(-6, 6);
        for (int32_t y = 0; y < kHeight; ++y) {
            uint8_t* row = image.row(y);
            for (int32_t x = 0; x < kWidth; ++x) {
                const int base = (x * 255 / (kWidth - 1) + y * 255 / (kHeight - 1)) / 2;
                row[3 * x] = static_cast<uint8_t>(std::clamp(base + noise(rng), 0, 255));
                row[3 * x + 1] =
                    static_cast<uint8_t>(std::clamp(base / 2 + 60 + noise(rng), 0, 255));
                row[3 * x + 2] = static_cast<uint8_t>(std::clamp(255 - base + noise(rng), 0, 255));
            }
        }
        image.SetHeaders();
        return image;
    }();
    return photo;
}

void BM_HuffmanEncode(benchmark::State& state) {
    const Image& photo = Photo();
    std::vector<uint8_t> stream;
    for (auto _ : state) {
        stream.clear();
        if (HuffCodeImg(photo, stream) != kHuffOk) {
            state.SkipWithError("encoding failed");
            return;
        }
        benchmark::DoNotOptimize(stream.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(photo.byteCount()));
    state.counters["ratio"] =
        static_cast<double>(stream.size()) / static_cast<double>(photo.byteCount());
}

void BM_HuffmanDecode(benchmark::State& state) {
    const Image& photo = Photo();
    std::vector<uint8_t> stream;
    HuffCodeImg(photo, stream);
    Image decoded;
    for (auto _ : state) {
        ByteReader reader(stream);
        if (HuffDecodeImg(decoded, reader) != kHuffOk) {
            state.SkipWithError("decoding failed");
            return;
        }
        benchmark::DoNotOptimize(decoded.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(photo.byteCount()));
}

BENCHMARK(BM_HuffmanEncode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HuffmanDecode)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tama05
