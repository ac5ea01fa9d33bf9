// Picture file speed: decoding and encoding a 2.5-megapixel photo-like JPEG, decoding the same
// picture as PNG, and composing the export blend.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "core/byte_reader.h"
#include "core/image.h"
#include "core/jpeg_file.h"
#include "core/picture_export.h"
#include "core/png_file.h"

namespace tama05 {
namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1300;

// Smooth gradients with some texture, closer to a photo than noise is.
const Image& Photo() {
    static const Image photo = [] {
        Image image;
        image.CreateFilled(kWidth, kHeight, 0);
        for (int32_t y = 0; y < kHeight; ++y) {
            uint8_t* row = image.row(y);
            for (int32_t x = 0; x < kWidth; ++x) {
                row[3 * x] = static_cast<uint8_t>(x * 255 / kWidth);
                row[3 * x + 1] = static_cast<uint8_t>(y * 255 / kHeight);
                row[3 * x + 2] = static_cast<uint8_t>(128 + 100 * std::sin(x * 0.05 + y * 0.03));
            }
        }
        image.SetHeaders();
        return image;
    }();
    return photo;
}

void BM_JpegDecode(benchmark::State& state) {
    std::vector<uint8_t> jpeg;
    WriteJpegStream(jpeg, Photo(), 80, state.range(0) != 0);
    for (auto _ : state) {
        ByteReader reader(jpeg);
        Image image;
        benchmark::DoNotOptimize(ReadJpegStream(reader, image));
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_JpegDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_JpegEncodeProgressive(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<uint8_t> jpeg;
        benchmark::DoNotOptimize(WriteJpegStream(jpeg, Photo(), 80, true));
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_JpegEncodeProgressive)->Unit(benchmark::kMillisecond);

void BM_PngDecode(benchmark::State& state) {
    std::vector<uint8_t> png;
    WritePngStream(png, Photo(), nullptr, false);
    for (auto _ : state) {
        ByteReader reader(png);
        Image image;
        benchmark::DoNotOptimize(ReadPngStream(reader, image, nullptr, nullptr));
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_PngDecode)->Unit(benchmark::kMillisecond);

void BM_ComposeExport(benchmark::State& state) {
    for (auto _ : state) {
        Image out;
        benchmark::DoNotOptimize(ComposeExportImage(Photo(), Photo(), 128, out));
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_ComposeExport)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tama05
