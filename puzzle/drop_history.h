#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "puzzle/puzzle.h"

namespace tama05 {

// The memory an undo history may hold by default.
inline constexpr size_t kDefaultHistoryBytes = size_t{256} << 20;

// What an undo or a redo changed, for repainting: the cells whose piece and score changed, and
// the puzzle score before and after.
struct HistoryChange {
    std::vector<int32_t> cells;
    int32_t oldScore = 0;
    int32_t score = 0;
};

// The drops made on the open puzzle, as steps that can be taken back and made again, and the
// file whose piece each cell holds.
//
// A step keeps, for each cell the drop changed, the pixels and score the cell had before, and
// the puzzle score before; a drop that changed neither a cell nor the score makes no step. Undo
// swaps the kept values with the puzzle's, so the same step then holds what redo puts back:
// both restore the bytes exactly, and a step costs the changed cells once.
//
// At the bound: while a drop records, and when its step is finished, the oldest steps are
// forgotten until the history fits its byte limit again (a recording drop may hold up to one
// pixel block, at most 4 MB or one cell, more than it counts). A drop whose own record would
// pass the limit cannot be undone: its recording stops, and at its end the whole history is
// forgotten, since no earlier state can then be restored exactly. Which file holds each cell (for
// the game's hover) is kept apart from the steps and is not bounded; undo and redo restore it too.
//
// The history belongs to one puzzle: clear it whenever a puzzle is made or opened. Undo and
// Redo lock the puzzle's mutex themselves and must not run while a drop runs; the recording
// calls come from the drop, which holds the puzzle's mutex around them. The queries may be
// called from any thread.
class DropHistory {
  public:
    explicit DropHistory(size_t byteLimit = kDefaultHistoryBytes);
    DropHistory(const DropHistory&) = delete;
    DropHistory& operator=(const DropHistory&) = delete;

    // Forgets every step and every cell's file: a puzzle was made or opened.
    void Clear();

    bool CanUndo() const;
    bool CanRedo() const;
    // Takes back the last step (or makes the last undone step again) and returns what changed;
    // nothing when there is no such step. A puzzle of another size than the recorded one is
    // left alone and the history is cleared.
    std::optional<HistoryChange> Undo(Puzzle& puzzle);
    std::optional<HistoryChange> Redo(Puzzle& puzzle);

    // The puzzle as it is now has been saved; AtSavedPoint tells, after undos and redos,
    // whether the puzzle is back to exactly what was saved.
    void MarkSaved();
    bool AtSavedPoint() const;

    // The file whose piece the cell holds, when a drop since the puzzle was opened put it there.
    std::optional<std::filesystem::path> CellWinner(int64_t cell) const;

    size_t byteCount() const;
    size_t byteLimit() const { return m_limit; }
    size_t undoSteps() const;
    size_t redoSteps() const;

    // Recording one drop. BeginStep first; RecordCell once for each cell, just before the drop
    // first changes it; EndStep after the score update, with the cells the drop changed and,
    // for each, the index in files of the file whose piece it holds now.
    void BeginStep(const Puzzle& puzzle);
    void RecordCell(const Puzzle& puzzle, size_t cell);
    void EndStep(const Puzzle& puzzle, std::span<const int32_t> cells,
                 std::span<const int32_t> winners, std::span<const std::filesystem::path> files);

  private:
    // The picture and grid a history was recorded on.
    struct Geometry {
        int32_t width = 0;
        int32_t height = 0;
        int32_t stride = 0;
        int32_t pieceWidth = 0;
        int32_t pieceHeight = 0;
        int32_t columns = 0;
        int32_t rows = 0;
        bool operator==(const Geometry&) const = default;
    };
    struct CellRecord {
        int32_t cell;
        int32_t score;
        int32_t winner;
        uint32_t block;
        size_t offset;
    };
    // Bytes of cell rows, filled from the front; the contents past size are unset.
    struct Block {
        std::unique_ptr<uint8_t[]> data;
        size_t size = 0;
        size_t capacity = 0;
    };
    struct Step {
        uint64_t id = 0;
        int32_t score = 0;
        std::vector<CellRecord> cells;
        // The cells' pixel rows, each cell whole within one block.
        std::vector<Block> blocks;
        size_t bytes = 0;
    };

    static Geometry GeometryOf(const Puzzle& puzzle);
    // Forgets the steps only.
    void ClearLocked();
    // Forgets everything and starts over on a puzzle of that geometry.
    void ResetLocked(const Geometry& geometry);
    void DropRedoLocked();
    void TrimLocked();
    // Swaps the step's cells and score with the puzzle's.
    HistoryChange Apply(Step& step, Puzzle& puzzle);
    std::optional<HistoryChange> Move(Puzzle& puzzle, std::deque<Step>& from, std::deque<Step>& to);
    uint64_t CurrentIdLocked() const;
    static size_t StepBytes(const Step& step);

    const size_t m_limit;
    mutable std::mutex m_mutex;
    Geometry m_geometry;
    std::deque<Step> m_undo;
    std::deque<Step> m_redo;
    size_t m_bytes = 0;
    uint64_t m_nextId = 1;
    // The state before the oldest kept step.
    uint64_t m_baseId = 0;
    std::optional<uint64_t> m_savedId;
    // Per cell an index into m_files, or -1.
    std::vector<int32_t> m_cellWinner;
    std::vector<std::filesystem::path> m_files;

    // The step being recorded (touched by the drop only).
    Step m_current;
    bool m_recording = false;
    bool m_overflow = false;
};

}  // namespace tama05
