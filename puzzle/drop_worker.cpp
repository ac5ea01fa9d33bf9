#include "puzzle/drop_worker.h"

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "puzzle/thread_priority.h"

namespace tama05 {

namespace {

// Our lines for a file that was not used when its reader said nothing.
constexpr std::string_view kNotOpened = "ファイルを開けませんでした。";
constexpr std::string_view kNotAPicture = "画像として読み込めませんでした。";
constexpr std::string_view kNotUsable = "このパズルには使えませんでした。";
constexpr std::string_view kNotLookedAt = "一度に読み込めるのは256ファイルまでです。";
constexpr std::string_view kReasonCaption = "失敗";

// Passes one file's messages on and keeps them, with the file's path, for the report.
class FileMessageSink final : public MessageSink {
  public:
    FileMessageSink(const std::filesystem::path& path, MessageSink& next,
                    std::vector<DropFileMessage>& kept)
        : m_path(path), m_next(next), m_kept(kept) {}
    void ShowMessage(std::string_view text, std::string_view caption) override {
        m_kept.push_back({m_path, std::string(text), std::string(caption)});
        if (!m_first) {
            m_first = std::string(text);
        }
        m_next.ShowMessage(text, caption);
    }
    // Why the file was not used: the reader's first message, or else our own reason, which is
    // then kept as the file's message too.
    std::string Reason(std::string_view ours) {
        if (m_first) {
            return *m_first;
        }
        m_kept.push_back({m_path, std::string(ours), std::string(kReasonCaption)});
        return std::string(ours);
    }

  private:
    const std::filesystem::path& m_path;
    MessageSink& m_next;
    std::vector<DropFileMessage>& m_kept;
    std::optional<std::string> m_first;
};

std::string_view WhyNotRead(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) ? kNotAPicture : kNotOpened;
}

// The cells one drop changes: which file of the drop holds each one, and the scores they had
// before the drop.
class DropCells {
  public:
    DropCells(size_t cellCount, DropHistory* history)
        : m_holder(cellCount, -1), m_history(history) {}

    // Before the cell takes the piece of file.
    void Changing(const Puzzle& puzzle, size_t cell, int32_t file) {
        if (cell >= m_holder.size()) {
            return;
        }
        if (m_holder[cell] < 0) {
            m_cells.push_back(static_cast<int32_t>(cell));
            m_before.push_back(puzzle.PieceScores[cell]);
            if (m_history != nullptr) {
                m_history->RecordCell(puzzle, cell);
            }
        }
        m_holder[cell] = file;
    }

    // Each file's cells and points into the report; the step into the history.
    void Finish(const Puzzle& puzzle, std::span<const std::filesystem::path> files,
                std::vector<DroppedFile>& perFile) {
        std::vector<int32_t> winners;
        winners.reserve(m_cells.size());
        for (size_t k = 0; k < m_cells.size(); ++k) {
            const auto cell = static_cast<size_t>(m_cells[k]);
            DroppedFile& file = perFile[static_cast<size_t>(m_holder[cell])];
            ++file.cells;
            file.points += puzzle.PieceScores[cell] - m_before[k];
            winners.push_back(m_holder[cell]);
        }
        for (DroppedFile& file : perFile) {
            file.gain = m_holder.empty() ? 0.0
                                         : static_cast<double>(file.points) /
                                               static_cast<double>(m_holder.size());
        }
        if (m_history != nullptr) {
            m_history->EndStep(puzzle, m_cells, winners, files);
        }
    }

  private:
    std::vector<int32_t> m_holder;
    std::vector<int32_t> m_cells;
    std::vector<int32_t> m_before;
    DropHistory* m_history;
};

}  // namespace

DropReport ProcessDrop(Puzzle& puzzle, std::span<const std::filesystem::path> files,
                       const PictureSourceReader& reader, DropScreen& screen,
                       RandomGenerator& random, MatchScratch& scratch, MessageSink& messages,
                       int decodeThreads, DropHistory* history) {
    DropReport report;
    report.files = static_cast<int32_t>(std::min<size_t>(files.size(), INT32_MAX));
    int32_t pieceWidth;
    int32_t pieceHeight;
    size_t cellCount = 0;
    puzzle.WithLock([&](const Puzzle& p) {
        pieceWidth = p.pieceWidth;
        pieceHeight = p.pieceHeight;
        report.oldScore = p.PuzzleScore;
        report.score = p.PuzzleScore;
        cellCount = static_cast<size_t>(p.PieceScores.count());
        if (history != nullptr) {
            history->BeginStep(p);
        }
    });
    screen.ShowWaitMeter(true);
    const bool tooMany = files.size() > static_cast<size_t>(kMaxDropFiles);
    const int32_t count = tooMany ? kMaxDropFiles : report.files;
    report.ignored = report.files - count;
    report.perFile.resize(static_cast<size_t>(report.files));
    for (size_t i = 0; i < report.perFile.size(); ++i) {
        report.perFile[i].path = files[i];
        if (i >= static_cast<size_t>(count)) {
            report.perFile[i].message = kNotLookedAt;
        }
    }
    DropCells cells(cellCount, history);
    int32_t current = 0;
    const CellChangingFn changing = [&](size_t cell, int32_t, int32_t) {
        cells.Changing(puzzle, cell, current);
    };

    const FlashCellFn flash = [&screen](const Image& piece, int32_t x, int32_t y, int32_t w,
                                        int32_t h) { screen.FlashCell(piece, x, y, w, h); };
    PiecePipeline pipeline(files.first(static_cast<size_t>(count)), reader, pieceWidth, pieceHeight,
                           decodeThreads);
    Image piece;
    for (int32_t i = 0; i < count; ++i) {
        const std::filesystem::path& path = files[static_cast<size_t>(i)];
        DroppedFile& outcome = report.perFile[static_cast<size_t>(i)];
        screen.DrawWaitMeter(i, count);
        FileMessageSink fileMessages(path, messages, report.messages);
        if (!pipeline.Take(static_cast<size_t>(i), piece, fileMessages)) {
            report.skipped.push_back(path);
            outcome.message = fileMessages.Reason(WhyNotRead(path));
            continue;
        }
        const int result = puzzle.WithLock([&](Puzzle& p) {
            current = i;
            return MatchPieces(flash, p.AnswerImage, std::span<const Image>(&piece, 1),
                               p.MosaicCanvas, p.PieceScores, &scratch, BestDistanceKernel(),
                               changing);
        });
        if (result < 0) {
            report.skipped.push_back(path);
            outcome.message = fileMessages.Reason(kNotUsable);
            continue;
        }
        outcome.read = true;
        report.changed += result;
        ++report.processed;
    }

    if (tooMany) {
        // Up to 256 files changed cells: the score follows them, only the comment differs.
        report.score = puzzle.WithLock([&](Puzzle& p) {
            p.PuzzleScore = static_cast<int32_t>(MeanPieceScore(p.PieceScores));
            cells.Finish(p, files, report.perFile);
            return p.PuzzleScore;
        });
        report.comment = CommentKind::kTooManyFiles;
        report.commentValue = report.changed;
        screen.Comment(CommentKind::kTooManyFiles, report.commentValue);
        screen.ShowScore(report.score);
    } else {
        std::optional<ScoreUpdate> update;
        update = puzzle.WithLock([&](Puzzle& p) {
            auto result = UpdateScore(p, report.changed, count, random);
            cells.Finish(p, files, report.perFile);
            return result;
        });
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
                       RandomGenerator& random, MessageSink& messages, int decodeThreads,
                       DropHistory* history)
    : m_puzzle(puzzle),
      m_reader(std::move(reader)),
      m_screen(screen),
      m_random(random),
      m_messages(messages),
      m_decodeThreads(decodeThreads),
      m_history(history) {}

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
                                              m_scratch, m_messages, m_decodeThreads, m_history);
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
