#include "puzzle/drop_worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "test_pictures.h"

namespace tama05 {
namespace {

using test::SolidImage;

// Records every call in order, as "meter 0/4", "flash 0,0", "comment CommentScoreUp 100", ...
class RecordingScreen : public DropScreen {
  public:
    void ShowWaitMeter(bool visible) override { Add(visible ? "meter on" : "meter off"); }
    void DrawWaitMeter(int32_t index, int32_t count) override {
        Add("meter " + std::to_string(index) + "/" + std::to_string(count));
    }
    void FlashCell(const Image&, int32_t x, int32_t y, int32_t, int32_t) override {
        Add("flash " + std::to_string(x) + "," + std::to_string(y));
    }
    void Comment(CommentKind kind, int32_t value) override {
        Add("comment " + std::string(CommentKindName(kind)) + " " + std::to_string(value));
    }
    void ShowScore(int32_t score) override { Add("score " + std::to_string(score)); }

    std::vector<std::string> Calls() {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }

  private:
    void Add(std::string call) {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
    }
    std::mutex m_mutex;
    std::vector<std::string> m_calls;
};

// A 4 × 2 answer, left half grey 100, right half grey 200, 2 × 2 pieces, every cell at 0.
void MakeReadyPuzzle(Puzzle& puzzle) {
    puzzle.AnswerImage = SolidImage(4, 2, 100, 100, 100);
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t x = 2; x < 4; ++x) {
            uint8_t* p = puzzle.AnswerImage.rowFromTop(y) + 3 * x;
            p[0] = p[1] = p[2] = 200;
        }
    }
    puzzle.MosaicCanvas = SolidImage(4, 2, 0, 0, 0);
    puzzle.pieceWidth = 2;
    puzzle.pieceHeight = 2;
    puzzle.PieceScores.AllocateFilled(2, 0);
    puzzle.PuzzleScore = 0;
    puzzle.state = PuzzleState::kReady;
}

// Files named "grey N" read as a 7 × 5 picture of grey N; anything else fails.
int FakeReader(const std::filesystem::path& path, Image& target, MessageSink&) {
    const std::string name = path.string();
    if (name.rfind("grey ", 0) != 0) {
        return -1;
    }
    const auto v = static_cast<uint8_t>(std::stoi(name.substr(5)));
    target = SolidImage(7, 5, v, v, v);
    return 0;
}

TEST(ProcessDropTest, ReadsScalesMatchesThenScoresAndComments) {
    Puzzle puzzle;
    MakeReadyPuzzle(puzzle);
    RecordingScreen screen;
    RandomGenerator random(1);
    MatchScratch scratch;
    NullMessageSink quiet;
    const std::vector<std::filesystem::path> files = {"grey 100", "broken", "grey 200", "grey 100"};
    const DropReport report =
        ProcessDrop(puzzle, files, FakeReader, screen, random, scratch, quiet);
    EXPECT_EQ(screen.Calls(),
              (std::vector<std::string>{"meter on", "meter 0/4", "flash 0,0", "flash 2,0",
                                        "meter 1/4", "meter 2/4", "flash 2,0", "meter 3/4",
                                        "comment CommentScoreUp 100", "score 100", "meter off"}));
    EXPECT_EQ(report.files, 4);
    EXPECT_EQ(report.processed, 3);
    EXPECT_EQ(report.changed, 3);
    EXPECT_EQ(report.skipped, std::vector<std::filesystem::path>{"broken"});
    EXPECT_EQ(report.oldScore, 0);
    EXPECT_EQ(report.score, 100);
    EXPECT_EQ(puzzle.PuzzleScore, 100);
    EXPECT_EQ(test::BlueAt(puzzle.MosaicCanvas, 3, 1), 200);
}

TEST(ProcessDropTest, MoreThan256FilesWarnAndUpdateTheScore) {
    Puzzle puzzle;
    MakeReadyPuzzle(puzzle);
    puzzle.PuzzleScore = 42;
    RecordingScreen screen;
    RandomGenerator random(1);
    MatchScratch scratch;
    NullMessageSink quiet;
    std::vector<std::filesystem::path> files(300, "grey 100");
    const DropReport report =
        ProcessDrop(puzzle, files, FakeReader, screen, random, scratch, quiet);
    EXPECT_EQ(report.processed, 256);
    EXPECT_EQ(report.ignored, 44);
    EXPECT_EQ(report.comment, CommentKind::kTooManyFiles);
    // The cells the first 256 files changed count: the score is their new mean, shown and kept,
    // while the comment stays the too-many-files comment.
    const auto mean = static_cast<int32_t>(MeanPieceScore(puzzle.PieceScores));
    EXPECT_NE(mean, 42);
    EXPECT_EQ(puzzle.PuzzleScore, mean);
    EXPECT_EQ(report.score, mean);
    const auto calls = screen.Calls();
    EXPECT_EQ(calls[1], "meter 0/256");
    EXPECT_EQ(calls[calls.size() - 3], "comment CommentTooManyFiles 2");
    EXPECT_EQ(calls[calls.size() - 2], "score " + std::to_string(mean));
}

// A reader that waits until the test lets it go, so that a drop can be caught running.
class GatedReader {
  public:
    int operator()(const std::filesystem::path& path, Image& target, MessageSink& messages) {
        std::unique_lock lock(m_mutex);
        m_entered = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_open; });
        return FakeReader(path, target, messages);
    }
    void WaitUntilEntered() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_entered; });
    }
    void Open() {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_entered = false;
    bool m_open = false;
};

TEST(DropWorkerTest, ASecondDropWhileBusyIsIgnored) {
    Puzzle puzzle;
    MakeReadyPuzzle(puzzle);
    RecordingScreen screen;
    RandomGenerator random(1);
    GatedReader gate;
    NullMessageSink quiet;
    DropWorker worker(puzzle, std::ref(gate), screen, random, quiet);
    RecordingMessageSink messages;
    int reports = 0;
    ASSERT_EQ(
        AcceptDrop(puzzle, worker, {"grey 100"}, messages, [&](const DropReport&) { ++reports; }),
        0);
    gate.WaitUntilEntered();
    EXPECT_TRUE(worker.busy());
    EXPECT_EQ(AcceptDrop(puzzle, worker, {"grey 200"}, messages), 0);  // taken, but ignored
    gate.Open();
    worker.Wait();
    EXPECT_FALSE(worker.busy());
    EXPECT_EQ(reports, 1);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(test::BlueAt(puzzle.MosaicCanvas, 3, 0), 100);  // the 200 drop never ran

    // Once idle, the next drop runs.
    EXPECT_TRUE(worker.Start({"grey 200"}));
    worker.Wait();
    EXPECT_EQ(test::BlueAt(puzzle.MosaicCanvas, 3, 0), 200);
}

// Reading ahead on helper threads changes nothing: cells, flashes, scores, comment and the
// readers' messages come out exactly as when the files are read one after the other.
TEST(ProcessDropTest, ReadingAheadGivesTheSameOutcome) {
    std::mt19937 rng(11);
    std::vector<std::filesystem::path> files;
    for (int i = 0; i < 60; ++i) {
        files.emplace_back(i % 7 == 3 ? "broken " + std::to_string(i)
                                      : "grey " + std::to_string(rng() % 256));
    }
    const PictureSourceReader reader = [](const std::filesystem::path& path, Image& target,
                                          MessageSink& messages) {
        // Uneven reading times scramble the order in which the helpers finish.
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::hash<std::string>{}(path.string()) % 500));
        messages.ShowMessage(path.string(), "read");
        return FakeReader(path, target, messages);
    };
    auto run = [&](int threads, RecordingMessageSink& messages, RecordingScreen& screen) {
        Puzzle puzzle;
        MakeReadyPuzzle(puzzle);
        puzzle.AnswerImage = test::RandomImage(4, 2, rng);
        RandomGenerator random(3);
        MatchScratch scratch;
        const DropReport report =
            ProcessDrop(puzzle, files, reader, screen, random, scratch, messages, threads);
        return std::tuple{report.changed, report.skipped, report.score,
                          std::vector<int>(puzzle.PieceScores.begin(), puzzle.PieceScores.end())};
    };
    RecordingMessageSink inlineMessages;
    RecordingScreen inlineScreen;
    std::mt19937 saved = rng;
    const auto expected = run(0, inlineMessages, inlineScreen);
    for (int threads : {1, 2, 4}) {
        rng = saved;
        RecordingMessageSink messages;
        RecordingScreen screen;
        EXPECT_EQ(run(threads, messages, screen), expected) << threads;
        EXPECT_EQ(messages.messages, inlineMessages.messages) << threads;
        EXPECT_EQ(screen.Calls(), inlineScreen.Calls()) << threads;
    }
}

TEST(DropWorkerTest, ADropWithoutAReadyPuzzleIsRefused) {
    Puzzle puzzle;
    MakeReadyPuzzle(puzzle);
    puzzle.state = PuzzleState::kBeingMade;
    RecordingScreen screen;
    RandomGenerator random(1);
    NullMessageSink quiet;
    DropWorker worker(puzzle, FakeReader, screen, random, quiet);
    RecordingMessageSink messages;
    EXPECT_EQ(AcceptDrop(puzzle, worker, {"grey 100"}, messages), -1);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "まだパズルファイルが読み込まれていません。");
    EXPECT_EQ(messages.messages[0].caption, "ファイルを読み込んでください。");
    EXPECT_FALSE(worker.busy());
    EXPECT_TRUE(screen.Calls().empty());
}

}  // namespace
}  // namespace tama05
