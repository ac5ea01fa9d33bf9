#include "puzzle/drop_worker.h"

#include "puzzle/thread_priority.h"

namespace tama05 {

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
        if (!pipeline.Take(static_cast<size_t>(i), piece, messages)) {
            report.skipped.push_back(path);
            continue;
        }
        const int result = puzzle.WithLock([&](Puzzle& p) {
            return MatchPieces(flash, p.AnswerImage, std::span<const Image>(&piece, 1),
                               p.MosaicCanvas, p.PieceScores, &scratch);
        });
        if (result < 0) {
            report.skipped.push_back(path);
            continue;
        }
        report.changed += result;
        ++report.processed;
    }

    if (tooMany) {
        report.comment = CommentKind::kTooManyFiles;
        report.commentValue = report.changed;
        screen.Comment(CommentKind::kTooManyFiles, report.commentValue);
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
