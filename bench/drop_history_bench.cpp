// The cost of the undo history in a drop: the same drop of 16 pictures on a 2000 × 1500 puzzle
// with 16 × 16 pieces, without and with a history recording it (first argument 0 or 1). The
// pictures are served from memory (second argument 0), so that the drop is matching and pasting
// only and the history's share is as large as it can be, or read from 1936 × 1296 JPEG files
// (second argument 1) on one thread, as a drop of camera photos is. The puzzle starts from one
// dark piece, so that most cells change.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/image.h"
#include "core/jpeg_file.h"
#include "puzzle/drop_history.h"
#include "puzzle/drop_reader.h"
#include "puzzle/drop_worker.h"
#include "puzzle/matching.h"
#include "temp_folder.h"

namespace tama05 {
namespace {

class QuietScreen final : public DropScreen {
  public:
    void ShowWaitMeter(bool) override {}
    void DrawWaitMeter(int32_t, int32_t) override {}
    void FlashCell(const Image&, int32_t, int32_t, int32_t, int32_t) override {}
    void Comment(CommentKind, int32_t) override {}
    void ShowScore(int32_t) override {}
};

// A picture of colour fields with noise; tint shifts its colours.
Image Photo(int32_t width, int32_t height, uint32_t tint) {
    Image image;
    image.Create(width, height);
    std::mt19937 rng(tint);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = image.rowFromTop(y);
        for (int32_t x = 0; x < width; ++x) {
            const int base[3] = {x * 255 / width, y * 255 / height,
                                 static_cast<int>((tint * 37) % 256)};
            for (int c = 0; c < 3; ++c) {
                row[3 * x + c] = static_cast<uint8_t>(
                    std::clamp(base[c] + static_cast<int>(rng() % 31) - 15, 0, 255));
            }
        }
    }
    image.SetHeaders();
    return image;
}

struct DropSetup {
    DropSetup() {
        answer = Photo(2000, 1500, 1);
        for (uint32_t i = 0; i < 16; ++i) {
            photos.push_back(Photo(320, 240, 100 + i));
            files.emplace_back("photo " + std::to_string(i));
            std::vector<uint8_t> jpeg;
            WriteJpegStream(jpeg, Photo(1936, 1296, 100 + i), 90, false);
            jpegFiles.push_back(folder.path() / ("photo_" + std::to_string(i) + ".jpg"));
            WriteFileAtomically(jpegFiles.back(), jpeg);
        }
        Image dark[1];
        dark[0].CreateFilled(16, 16, 20);
        FillMosaic(answer, dark, canvas, scores);
    }
    Image answer;
    Image canvas;
    IntArray scores;
    std::vector<Image> photos;
    std::vector<std::filesystem::path> files;
    test::TempFolder folder;
    std::vector<std::filesystem::path> jpegFiles;
};

void BM_DropWithHistory(benchmark::State& state) {
    static const DropSetup setup;
    const bool record = state.range(0) != 0;
    const bool fromFiles = state.range(1) != 0;
    const PictureSourceReader reader =
        fromFiles ? DropPictureReader()
                  : [](const std::filesystem::path& path, Image& target, MessageSink&) {
                        const size_t i = std::stoul(path.string().substr(6));
                        return target.CopyFrom(setup.photos[i]);
                    };
    const auto& files = fromFiles ? setup.jpegFiles : setup.files;
    Puzzle puzzle;
    puzzle.AnswerImage.CopyFrom(setup.answer);
    puzzle.pieceWidth = 16;
    puzzle.pieceHeight = 16;
    puzzle.state = PuzzleState::kReady;
    puzzle.MosaicCanvas.CopyFrom(setup.canvas);
    puzzle.PieceScores.Allocate(setup.scores.count());
    QuietScreen screen;
    RandomGenerator random(1);
    MatchScratch scratch;
    NullMessageSink quiet;
    DropHistory history;
    int64_t cells = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(puzzle.MosaicCanvas.data(), setup.canvas.data(), setup.canvas.byteCount());
        std::copy(setup.scores.begin(), setup.scores.end(), puzzle.PieceScores.begin());
        history.Clear();
        state.ResumeTiming();
        const DropReport report = ProcessDrop(puzzle, files, reader, screen, random, scratch, quiet,
                                              0, record ? &history : nullptr);
        cells = report.changed;
    }
    state.counters["changed"] = static_cast<double>(cells);
    state.counters["history_MB"] = static_cast<double>(history.byteCount()) / (1 << 20);
}

BENCHMARK(BM_DropWithHistory)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tama05
