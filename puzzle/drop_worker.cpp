#include "puzzle/drop_worker.h"

#include "puzzle/thread_priority.h"

#include <string_view>
#include <system_error>

namespace tama05 {

namespace {

// Our reasons for a file that was not used when its reader said nothing.
constexpr std::string_view kNotOpened = "ファイルを開けませんでした。";
constexpr std::string_view kNotAPicture = "画像として読み込めませんでした。";
constexpr std::string_view kNotUsable = "このパズルには使えませんでした。";
constexpr std::string_view kReasonCaption = "失敗";

// Keeps one file's messages for the report while passing them on.
class FileMessageSink final : public MessageSink {
  public:
    FileMessageSink(const std::filesystem::path& path, MessageSink& next,
                    std::vector<DropFileMessage>& kept)
        : m_path(path), m_next(next), m_kept(kept) {}
    void ShowMessage(std::string_view text, std::string_view caption) override {
        m_kept.push_back({m_path, std::string(text), std::string(caption)});
        ++said;
        m_next.ShowMessage(text, caption);
    }
    // Our own reason, kept only when the reader said nothing about the file.
    void Reason(std::string_view text) {
        if (said == 0) {
            m_kept.push_back({m_path, std::string(text), std::string(kReasonCaption)});
        }
    }
    int said = 0;

  private:
    const std::filesystem::path& m_path;
    MessageSink& m_next;
    std::vector<DropFileMessage>& m_kept;
};

std::string_view WhyNotRead(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) ? kNotAPicture : kNotOpened;
}

}  // namespace

DropReport ProcessDrop(Puzzle& puzzle, std::span<const std::filesystem::path> files,
                       const PictureSourceReader& reader, DropScreen& screen,
                       RandomGenerator& random, MatchScratch& scratch, MessageSink& messages,
                       int decodeThreads) {
    DropReport report;
    report.files = static_cast<int32_t>(std::min<size_t>(files.size(), INT32_MAX));
    int32_t pieceWidth;
    int32_t pieceHeight;
    puzzle.WithLock([&](const Puzzle& p) {
        pieceWidth = p.pieceWidth;
        pieceHeight = p.pieceHeight;
        report.oldScore = p.PuzzleScore;
        report.score = p.PuzzleScore;
    });
    screen.ShowWaitMeter(true);
    const bool tooMany = files.size() > static_cast<size_t>(kMaxDropFiles);
    const int32_t count = tooMany ? kMaxDropFiles : report.files;
    report.ignored = report.files - count;

    const FlashCellFn flash = [&screen](const Image& piece, int32_t x, int32_t y, int32_t w,
                                        int32_t h) { screen.FlashCell(piece, x, y, w, h); };
    PiecePipeline pipeline(files.first(static_cast<size_t>(count)), reader, pieceWidth, pieceHeight,
                           decodeThreads);
    Image piece;
    for (int32_t i = 0; i < count; ++i) {
        const std::filesystem::path& path = files[static_cast<size_t>(i)];
        screen.DrawWaitMeter(i, count);
        FileMessageSink fileMessages(path, messages, report.messages);
        if (!pipeline.Take(static_cast<size_t>(i), piece, fileMessages)) {
            report.skipped.push_back(path);
            fileMessages.Reason(WhyNotRead(path));
            continue;
        }
        const int result = puzzle.WithLock([&](Puzzle& p) {
            return MatchPieces(flash, p.AnswerImage, std::span<const Image>(&piece, 1),
                               p.MosaicCanvas, p.PieceScores, &scratch);
        });
        if (result < 0) {
            report.skipped.push_back(path);
            fileMessages.Reason(kNotUsable);
            continue;
        }
        report.changed += result;
        ++report.processed;
    }

    if (tooMany) {
        // Up to 256 files changed cells: the score follows them, only the comment differs.
        report.score = puzzle.WithLock([](Puzzle& p) {
            p.PuzzleScore = static_cast<int32_t>(MeanPieceScore(p.PieceScores));
            return p.PuzzleScore;
        });
        report.comment = CommentKind::kTooManyFiles;
        report.commentValue = report.changed;
        screen.Comment(CommentKind::kTooManyFiles, report.commentValue);
        screen.ShowScore(report.score);
    } else {
        std::optional<ScoreUpdate> update;
        update = puzzle.WithLock(
            [&](Puzzle& p) { return UpdateScore(p, report.changed, count, random); });
        if (update) {
            report.score = update->newScore;
            report.comment = update->comment;
            report.commentValue =
                update->comment == CommentKind::kScoreUp ? update->newScore : report.changed;
            screen.Comment(update->comment, report.commentValue);
            screen.ShowScore(update->newScore);
        }
    }
    screen.ShowWaitMeter(false);
    return report;
}

DropWorker::DropWorker(Puzzle& puzzle, PictureSourceReader reader, DropScreen& screen,
                       RandomGenerator& random, MessageSink& messages, int decodeThreads)
    : m_puzzle(puzzle),
      m_reader(std::move(reader)),
      m_screen(screen),
      m_random(random),
      m_messages(messages),
      m_decodeThreads(decodeThreads) {}

DropWorker::~DropWorker() {
    Wait();
}

bool DropWorker::Start(std::vector<std::filesystem::path> files,
                       std::function<void(const DropReport&)> done) {
    if (m_busy.exchange(true)) {
        return false;
    }
    if (m_thread.joinable()) {
        m_thread.join();  // the previous drop has ended: it cleared the flag as its last step
    }
    m_thread = std::thread([this, files = std::move(files), done = std::move(done)] {
        LowerThisThreadsPriority();
        const DropReport report = ProcessDrop(m_puzzle, files, m_reader, m_screen, m_random,
                                              m_scratch, m_messages, m_decodeThreads);
        if (done) {
            done(report);
        }
        m_busy.store(false);
    });
    return true;
}

void DropWorker::Wait() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

int AcceptDrop(const Puzzle& puzzle, DropWorker& worker, std::vector<std::filesystem::path> files,
               MessageSink& messages, std::function<void(const DropReport&)> done) {
    if (puzzle.Status().state != PuzzleState::kReady) {
        messages.ShowMessage("まだパズルファイルが読み込まれていません。",
                             "ファイルを読み込んでください。");
        return -1;
    }
    worker.Start(std::move(files), std::move(done));
    return 0;
}

}  // namespace tama05
