#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "core/image.h"
#include "core/message_sink.h"
#include "core/random_generator.h"
#include "puzzle/drop_history.h"
#include "puzzle/matching.h"
#include "puzzle/piece_pipeline.h"
#include "puzzle/puzzle.h"
#include "puzzle/score_update.h"

namespace tama05 {

// At most this many files of one drop are looked at.
inline constexpr int32_t kMaxDropFiles = 256;

// What a drop shows while it runs. The worker calls these on its own thread, in the order of
// the drop; a window hands each call over to its user-interface thread.
class DropScreen {
  public:
    virtual ~DropScreen() = default;
    virtual void ShowWaitMeter(bool visible) = 0;
    // Drawn before the file of that index is read, for that index.
    virtual void DrawWaitMeter(int32_t index, int32_t count) = 0;
    // A cell changed: the piece now at (x, y from the top) of a width × height picture. Called
    // while the puzzle is locked: hand it over, never wait for the user-interface thread here.
    virtual void FlashCell(const Image& piece, int32_t x, int32_t y, int32_t width,
                           int32_t height) = 0;
    // The after-drop comment with the value it speaks (DropReport::commentValue).
    virtual void Comment(CommentKind kind, int32_t value) = 0;
    // The new puzzle score for the score panel.
    virtual void ShowScore(int32_t score) = 0;
};

// What one dropped file did.
struct DroppedFile {
    std::filesystem::path path;
    // Read, shrunk and offered to every cell.
    bool read = false;
    // Why it was not read: the reader's first message, or a line of our own.
    std::string message;
    // The cells whose piece came from this file at the end of the drop.
    int32_t cells = 0;
    // How far those cells' scores rose in the drop, summed, and that sum over the number of
    // cells: the rise of the mean cell score owed to this file.
    int64_t points = 0;
    double gain = 0.0;
};

// Why one file of a drop was not used: the reader's message, or a short reason of our own when
// the reader said nothing.
struct DropFileMessage {
    std::filesystem::path path;
    std::string text;
    std::string caption;
    bool operator==(const DropFileMessage&) const = default;
};

struct DropReport {
    int32_t files = 0;      // files in the drop
    int32_t processed = 0;  // read and matched
    int32_t ignored = 0;    // beyond the first 256
    int32_t changed = 0;    // cells changed
    int32_t oldScore = 0;
    int32_t score = 0;
    std::vector<std::filesystem::path> skipped;  // among the first 256, could not be used
    // The readers' messages and our reasons for unused files, in drop order.
    std::vector<DropFileMessage> messages;
    std::optional<CommentKind> comment;
    // What the comment speaks: the new score for a score-up comment, else the cells changed.
    int32_t commentValue = 0;
    // Every file of the drop, in drop order; the files' cells and points add up to the cells
    // that differ after the drop and the rise of the sum of the cell scores.
    std::vector<DroppedFile> perFile;
};

// One drop from start to end on the calling thread: every file (the first 256) is read, shrunk
// to the piece size and offered to every cell; then the score is updated and a comment chosen,
// (for a drop of more than 256 files the score is updated too, but the comment is always the
// too-many-files comment). With
// decodeThreads > 0 the files are read and shrunk ahead on that many helper threads; matching,
// pasting, flashing, the meter and the readers' messages stay in drop order, so the outcome is
// the same as reading one file after the other. Each reader message goes to messages as it
// comes and into the report with its file's path. A history, if given, records the drop as one
// step, and which file each changed cell now holds.
DropReport ProcessDrop(Puzzle& puzzle, std::span<const std::filesystem::path> files,
                       const PictureSourceReader& reader, DropScreen& screen,
                       RandomGenerator& random, MatchScratch& scratch, MessageSink& messages,
                       int decodeThreads = 0, DropHistory* history = nullptr);

// Runs drops one at a time on a thread of lowered priority.
class DropWorker {
  public:
    // messages receives the readers' messages in drop order, on the worker thread. history, if
    // given, records every drop.
    DropWorker(Puzzle& puzzle, PictureSourceReader reader, DropScreen& screen,
               RandomGenerator& random, MessageSink& messages,
               int decodeThreads = PiecePipeline::DefaultThreads(), DropHistory* history = nullptr);
    ~DropWorker();
    DropWorker(const DropWorker&) = delete;
    DropWorker& operator=(const DropWorker&) = delete;

    bool busy() const { return m_busy.load(); }
    // Starts a drop unless one is running; returns false when the drop is ignored. done, if
    // given, receives the report on the worker thread as its last step before the busy flag
    // is cleared.
    bool Start(std::vector<std::filesystem::path> files,
               std::function<void(const DropReport&)> done = {});
    // Waits for a running drop to end.
    void Wait();

  private:
    Puzzle& m_puzzle;
    PictureSourceReader m_reader;
    DropScreen& m_screen;
    RandomGenerator& m_random;
    MessageSink& m_messages;
    int m_decodeThreads;
    DropHistory* m_history;
    MatchScratch m_scratch;
    std::atomic<bool> m_busy{false};
    std::thread m_thread;
};

// A drop on the main window: refused with a message unless the puzzle is ready; otherwise the
// worker is started (or the drop ignored while one runs) and 0 returned, after which the caller
// marks the puzzle changed.
int AcceptDrop(const Puzzle& puzzle, DropWorker& worker, std::vector<std::filesystem::path> files,
               MessageSink& messages, std::function<void(const DropReport&)> done = {});

}  // namespace tama05
