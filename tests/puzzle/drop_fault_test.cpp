// Drops of whatever lies around: hundreds of files mixing good pictures with empty, unreadable,
// mislabelled, old-format and hostile ones, read by the game's own picture reader; memory
// stays at one picture in flight; drops arriving while a worker runs.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bomb_files.h"
#include "core/bmp_file.h"
#include "core/message_sink.h"
#include "picture_writers.h"
#include "puzzle/drop_reader.h"
#include "puzzle/drop_worker.h"
#include "puzzle/read_budget.h"
#include "puzzlefile/puzzle_file.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using test::Bytes;

class CountingScreen : public DropScreen {
  public:
    void ShowWaitMeter(bool) override {}
    void DrawWaitMeter(int32_t, int32_t) override { ++meters; }
    void FlashCell(const Image&, int32_t, int32_t, int32_t, int32_t) override { ++flashes; }
    void Comment(CommentKind kind, int32_t) override { lastComment = static_cast<int>(kind); }
    void ShowScore(int32_t) override { ++scores; }
    std::atomic<int> meters{0};
    std::atomic<int> flashes{0};
    std::atomic<int> scores{0};
    std::atomic<int> lastComment{-1};
};

// A ready 64 × 48 puzzle of 8 × 8 pieces, grey answer, black mosaic, every cell at 0.
void MakeReadyPuzzle(Puzzle& puzzle) {
    puzzle.AnswerImage = test::SolidImage(64, 48, 120, 120, 120);
    puzzle.MosaicCanvas = test::SolidImage(64, 48, 0, 0, 0);
    puzzle.pieceWidth = 8;
    puzzle.pieceHeight = 8;
    puzzle.PieceScores.AllocateFilled(static_cast<int32_t>(puzzle.grid().cellCount()), 0);
    puzzle.PuzzleScore = 0;
    puzzle.state = PuzzleState::kReady;
}

Bytes GreyBmp(int32_t width, int32_t height, uint8_t grey) {
    test::BmpForm form;
    form.width = width;
    form.height = height;
    const Image image = test::SolidImage(width, height, grey, grey, grey);
    form.pixels.assign(image.data(), image.data() + image.byteCount());
    return test::MakeBmp(form);
}

Bytes GreyPng(uint32_t size, uint8_t grey) {
    return test::MakePng(size, size, 0, 8, std::vector<Bytes>(size, Bytes(size, grey)));
}

Bytes GreyJpeg(int size, uint8_t grey) {
    test::JpegForm form;
    form.width = size;
    form.height = size;
    form.components = 1;
    return test::MakeJpeg(form, Bytes(static_cast<size_t>(size) * size, grey));
}

// 300 files of every kind, shuffled; good is set for those the game can use.
struct MixedDrop {
    std::vector<std::filesystem::path> files;
    std::vector<bool> good;

    void Add(const std::filesystem::path& path, bool usable) {
        files.push_back(path);
        good.push_back(usable);
    }

    explicit MixedDrop(const test::ScratchFolder& folder) {
        const bool root = ::geteuid() == 0;
        int n = 0;
        auto name = [&n](const char* stem, const char* extension) {
            return std::string(stem) + "-" + std::to_string(n++) + extension;
        };
        for (int i = 0; i < 30; ++i) {
            const auto grey = static_cast<uint8_t>(4 * i);
            Add(folder.Write(name("good", ".bmp"), GreyBmp(9 + i % 5, 7, grey)), true);
            Add(folder.Write(name("good", ".png"), GreyPng(10, grey)), true);
            Add(folder.Write(name("good", ".jpg"), GreyJpeg(16, grey)), true);
            // A PNG is known by its first bytes whatever its name.
            Add(folder.Write(name("png-named", ".jpg"), GreyPng(8, grey)), true);
        }
        const Bytes hugePng = test::MakePngHeaderOnly(100000, 100000, 2, 8);
        test::BmpForm hugeForm;
        hugeForm.width = 100000;
        hugeForm.height = 100000;
        const Bytes hugeBmp = test::MakeBmp(hugeForm);
        test::BmpForm claimForm;
        claimForm.width = 16000;
        claimForm.height = 16000;
        const Bytes claimBmp = test::MakeBmp(claimForm);  // inside the bound, no pixels
        for (int i = 0; i < 9; ++i) {
            for (const char* extension : {".png", ".bmp", ".jpg"}) {
                Add(folder.Write(name("empty", extension), {}), false);
            }
            Add(folder.Write(name("huge", ".png"), hugePng), false);
            Add(folder.Write(name("huge", ".bmp"), hugeBmp), false);
            Add(folder.Write(name("claim", ".bmp"), claimBmp), false);
            // Mislabelled: a JPEG called .bmp, a BMP called .png, text called .jpg.
            Add(folder.Write(name("jpeg-named", ".bmp"), GreyJpeg(8, 9)), false);
            Add(folder.Write(name("bmp-named", ".png"), GreyBmp(4, 4, 9)), false);
            Add(folder.Write(name("text", ".jpg"), {'h', 'e', 'l', 'l', 'o'}), false);
            // Old and unsupported forms: 8-bit and RLE BMPs, 16-bit and palette PNGs, an old
            // puzzle file.
            test::BmpForm eight;
            eight.bitCount = 8;
            eight.pixels = Bytes(8, 1);
            Add(folder.Write(name("eight", ".bmp"), test::MakeBmp(eight)), false);
            test::BmpForm rle = eight;
            rle.compression = 1;
            Add(folder.Write(name("rle", ".bmp"), test::MakeBmp(rle)), false);
            Add(folder.Write(name("deep", ".png"),
                             test::MakePng(2, 2, 2, 16, {Bytes(12), Bytes(12)})),
                false);
            Add(folder.Write(name("palette", ".png"), test::MakePng(4, 1, 3, 2, {Bytes(1, 0x1B)})),
                false);
            Add(folder.Write(name("old", ".tgr"),
                             Bytes(kPuzzleFileMagic.begin(), kPuzzleFileMagic.end())),
                false);
            // Unreadable for anyone: a folder, a missing file, a dangling link, a named pipe and
            // a device, each under a picture's name.
            std::filesystem::create_directory(folder.path() / name("folder", ".png"));
            Add(folder.path() / name("folder", ".png"), false);
            Add(folder.path() / name("missing", ".jpg"), false);
            const auto dangling = folder.path() / name("dangling", ".bmp");
            std::filesystem::create_symlink(folder.path() / "nowhere", dangling);
            Add(dangling, false);
            const auto pipe = folder.path() / name("pipe", ".jpg");
            ::mkfifo(pipe.c_str(), 0600);
            Add(pipe, false);
            const auto device = folder.path() / name("device", ".jpg");
            std::filesystem::create_symlink("/dev/zero", device);
            Add(device, false);
            // Unreadable by permissions: only for an ordinary user, root reads everything.
            const auto locked = folder.Write(name("locked", ".png"), GreyPng(8, 1));
            std::filesystem::permissions(locked, std::filesystem::perms::none);
            Add(locked, root);
        }
        std::mt19937 rng(300);
        std::vector<size_t> order(files.size());
        for (size_t i = 0; i < order.size(); ++i) {
            order[i] = i;
        }
        std::shuffle(order.begin(), order.end(), rng);
        std::vector<std::filesystem::path> shuffledFiles;
        std::vector<bool> shuffledGood;
        for (size_t i : order) {
            shuffledFiles.push_back(files[i]);
            shuffledGood.push_back(good[i]);
        }
        files = std::move(shuffledFiles);
        good = std::move(shuffledGood);
    }
};

TEST(DropFault, ThreeHundredMixedFilesUseTheGoodOnesAndSkipTheRest) {
    test::ScratchFolder folder;
    const MixedDrop drop(folder);
    ASSERT_EQ(drop.files.size(), 300u);
    Puzzle puzzle;
    MakeReadyPuzzle(puzzle);
    CountingScreen screen;
    RandomGenerator random(7);
    MatchScratch scratch;
    RecordingMessageSink messages;
    // Two helper threads read ahead, as on the players' machines.
    const DropReport report =
        ProcessDrop(puzzle, drop.files, DropPictureReader(), screen, random, scratch, messages, 2);

    const auto expected = std::count(drop.good.begin(), drop.good.begin() + kMaxDropFiles, true);
    EXPECT_EQ(report.files, 300);
    EXPECT_EQ(report.ignored, 300 - kMaxDropFiles);
    EXPECT_EQ(report.processed, expected);
    EXPECT_EQ(report.skipped.size(), static_cast<size_t>(kMaxDropFiles - expected));
    for (const auto& path : report.skipped) {
        const auto at = std::find(drop.files.begin(), drop.files.end(), path) - drop.files.begin();
        EXPECT_FALSE(drop.good[static_cast<size_t>(at)]) << path;
    }
    EXPECT_EQ(screen.meters.load(), kMaxDropFiles);
    EXPECT_EQ(report.comment, CommentKind::kTooManyFiles);
    EXPECT_GT(screen.flashes.load(), 0);
    // The puzzle is whole: every score in range, the mosaic the answer's size.
    EXPECT_EQ(puzzle.MosaicCanvas.width(), 64);
    for (int32_t s : puzzle.PieceScores) {
        EXPECT_TRUE(s >= 0 && s <= 100);
    }
    // Only the unsupported picture forms speak (the PNG and 24-bit BMP messages are shown even
    // for a silent read), once each.
    const auto speaking = std::count_if(drop.files.begin(), drop.files.begin() + kMaxDropFiles,
                                        [](const std::filesystem::path& path) {
                                            const std::string name = path.filename().string();
                                            return name.rfind("deep", 0) == 0 ||
                                                   name.rfind("palette", 0) == 0 ||
                                                   name.rfind("eight", 0) == 0;
                                        });
    EXPECT_EQ(messages.messages.size(), static_cast<size_t>(speaking));
}

TEST(DropFault, EachFileIsReadIntoAFreshPictureReleasedBeforeTheNext) {
    test::ScratchFolder folder;
    const auto big = folder.Write("big.bmp", GreyBmp(1200, 1000, 99));
    const std::vector<std::filesystem::path> files(200, big);
    Puzzle puzzle;
    MakeReadyPuzzle(puzzle);
    CountingScreen screen;
    RandomGenerator random(7);
    MatchScratch scratch;
    NullMessageSink messages;
    // Without helper threads exactly one picture is alive while a file is read.
    std::atomic<int> calls{0};
    std::atomic<int> handedFull{0};
    const PictureSourceReader game = DropPictureReader();
    const PictureSourceReader reader = [&](const std::filesystem::path& path, Image& image,
                                           MessageSink& sink) {
        ++calls;
        handedFull += image.empty() ? 0 : 1;
        return game(path, image, sink);
    };
    for (int threads : {0, 2}) {
        calls = 0;
        const DropReport report =
            ProcessDrop(puzzle, files, reader, screen, random, scratch, messages, threads);
        EXPECT_EQ(calls.load(), 200) << threads;
        EXPECT_EQ(report.processed, 200) << threads;
    }
    EXPECT_EQ(handedFull.load(), 0);
}

// The process's peak resident memory in kB, after the peak was reset; 0 when it cannot be.
long ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.close();
    return clear.fail() ? 0 : 1;
}
long PeakKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stol(line.substr(std::string(field).size()));
        }
    }
    return 0;
}

TEST(DropFault, PeakMemoryOfADropStaysNearOnePicturePerReadingThread) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "sanitizers keep freed memory aside";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
    GTEST_SKIP() << "sanitizers keep freed memory aside";
#endif
#endif
    test::ScratchFolder folder;
    // 2000 × 1500 pixels: 9 MB a picture, 1.8 GB if every file of the drop were kept.
    const auto big = folder.Write("big.bmp", GreyBmp(2000, 1500, 99));
    const std::vector<std::filesystem::path> files(200, big);
    Puzzle puzzle;
    MakeReadyPuzzle(puzzle);
    CountingScreen screen;
    RandomGenerator random(7);
    MatchScratch scratch;
    NullMessageSink messages;
    constexpr long kPictureKb = 2000 * 1500 * 3 / 1024;
    for (int threads : {0, 2}) {
        if (ResetPeak() == 0) {
            GTEST_SKIP() << "the peak memory cannot be reset here";
        }
        const long before = PeakKb("VmRSS:");
        const DropReport report = ProcessDrop(puzzle, files, DropPictureReader(), screen, random,
                                              scratch, messages, threads);
        const long peak = PeakKb("VmHWM:");
        ASSERT_EQ(report.processed, 200);
        // One picture per reading thread (the caller's own when there are no helpers), with
        // room for the file's bytes and the allocator.
        const long allowed = (std::max(threads, 1) + 1) * kPictureKb + 16 * 1024;
        EXPECT_LT(peak - before, allowed)
            << threads << " threads: peak grew by " << (peak - before) << " kB";
    }
}

// A drop of bombs (chunks and frames claiming gigabytes in a few hundred bytes, a PNG of zeros
// inflating to 16 MB) on two reading threads: the small ones are refused by their checks, the
// PNG only when its share alone exceeds the budget (with a message naming it), and the memory
// held by the readers at once never exceeds the budget.
TEST(DropFault, BombsAreRefusedAndTheReadersShareOneBudget) {
    test::ScratchFolder folder;
    const std::vector<std::filesystem::path> bombs = {
        folder.Write("text.png", test::PngChunkBomb("tEXt")),
        folder.Write("splt.png", test::PngChunkBomb("sPLT")),
        folder.Write("baseline.jpg", test::JpegBomb(false)),
        folder.Write("progressive.jpg", test::JpegBomb(true)),
        folder.Write("scans.jpg", test::JpegBomb(true, 16384, 16384, 900))};
    const auto zeros = folder.Write("zeros.png", test::PngZeroBomb(2048, 2048));
    std::vector<std::filesystem::path> files;
    for (int i = 0; i < 8; ++i) {
        files.insert(files.end(), bombs.begin(), bombs.end());
        files.push_back(zeros);
    }
    for (const uint64_t budget : {uint64_t{16} << 20, uint64_t{64} << 20}) {
        Puzzle puzzle;
        MakeReadyPuzzle(puzzle);
        CountingScreen screen;
        RandomGenerator random(7);
        MatchScratch scratch;
        RecordingMessageSink messages;
        const DropReport report = ProcessDrop(puzzle, files, DropPictureReader(budget), screen,
                                              random, scratch, messages, 2);
        const bool zerosFit = budget > (uint64_t{32} << 20);
        EXPECT_EQ(report.processed, zerosFit ? 8 : 0) << budget;
        const auto refusals =
            std::count(messages.messages.begin(), messages.messages.end(),
                       RecordingMessageSink::Message{
                           "画像が大きすぎて読み込めません。\n" + zeros.string(), "失敗"});
        EXPECT_EQ(refusals, zerosFit ? 0 : 8) << budget;
    }
}

// Shares taken on many threads at once never add up to more than the budget, and every waiting
// share is granted once the others give theirs back.
TEST(DropFault, ReadBudgetSharesNeverExceedTheWhole) {
    ReadBudget budget(1000);
    EXPECT_EQ(budget.Acquire(1001), nullptr);
    std::atomic<uint64_t> held{0};
    std::atomic<uint64_t> most{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&, t] {
            std::mt19937 random(static_cast<uint32_t>(t));
            for (int i = 0; i < 300; ++i) {
                const uint64_t bytes = 1 + random() % 600;
                const auto hold = budget.Acquire(bytes);
                ASSERT_NE(hold, nullptr);
                const uint64_t now = held += bytes;
                uint64_t seen = most;
                while (now > seen && !most.compare_exchange_weak(seen, now)) {
                }
                held -= bytes;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_LE(most.load(), 1000u);
    EXPECT_LE(budget.peak(), 1000u);
    EXPECT_NE(budget.Acquire(1000), nullptr);
}

TEST(DropFault, DropsArrivingWhileAWorkerRunsAreIgnoredNotQueued) {
    Puzzle puzzle;
    MakeReadyPuzzle(puzzle);
    CountingScreen screen;
    RandomGenerator random(3);
    std::atomic<int> reads{0};
    // Each file takes a moment, as a real picture would.
    const PictureSourceReader reader = [&reads](const std::filesystem::path& path, Image& image,
                                                MessageSink&) {
        ++reads;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        const auto grey = static_cast<uint8_t>(path.string().size() * 7);
        image = test::SolidImage(8, 8, grey, grey, grey);
        return 0;
    };
    RecordingMessageSink messages;
    DropWorker worker(puzzle, reader, screen, random, messages, 2);
    std::atomic<int> reports{0};
    int accepted = 0;
    int ignored = 0;
    const std::vector<std::filesystem::path> files(20, "x");
    // Drops keep coming until some were taken and some met a running worker (a generous
    // deadline, for a machine that runs the worker rarely).
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while ((accepted < 3 || ignored < 3) && std::chrono::steady_clock::now() < giveUp) {
        if (worker.Start(files, [&reports](const DropReport& r) {
                EXPECT_EQ(r.processed, 20);
                ++reports;
            })) {
            ++accepted;
        } else {
            ++ignored;
        }
        // The window paints from the same puzzle meanwhile.
        puzzle.WithLock([](const Puzzle& p) { EXPECT_EQ(p.MosaicCanvas.width(), 64); });
    }
    worker.Wait();
    EXPECT_GE(accepted, 3);
    EXPECT_GE(ignored, 3);
    EXPECT_EQ(reports.load(), accepted);
    EXPECT_EQ(reads.load(), accepted * 20);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_FALSE(worker.busy());
}

TEST(DropFault, DestroyingTheWorkerWaitsForItsDrop) {
    Puzzle puzzle;
    MakeReadyPuzzle(puzzle);
    CountingScreen screen;
    RandomGenerator random(3);
    std::atomic<int> reads{0};
    NullMessageSink messages;
    {
        DropWorker worker(
            puzzle,
            [&reads](const std::filesystem::path&, Image& image, MessageSink&) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                ++reads;
                image = test::SolidImage(8, 8, 1, 1, 1);
                return 0;
            },
            screen, random, messages);
        ASSERT_TRUE(worker.Start(std::vector<std::filesystem::path>(50, "x")));
    }
    EXPECT_EQ(reads.load(), 50);
}

}  // namespace
}  // namespace tama05
