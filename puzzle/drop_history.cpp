#include "puzzle/drop_history.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace tama05 {

namespace {

// Pixel blocks start small, so that a drop changing a few cells costs little, and double up to
// a size whose copy at the end of a step stays cheap.
constexpr size_t kFirstBlockBytes = size_t{64} << 10;
constexpr size_t kLargestBlockBytes = size_t{4} << 20;

// The part of a cell inside the picture: its top-left position and size.
struct CellArea {
    int32_t x;
    int32_t y;
    int32_t columns;
    int32_t rows;
    size_t RowBytes() const { return static_cast<size_t>(columns) * 3; }
    size_t Bytes() const { return RowBytes() * static_cast<size_t>(rows); }
};

CellArea AreaOf(int32_t cell, int32_t columns, int32_t width, int32_t height, int32_t pieceWidth,
                int32_t pieceHeight) {
    CellArea area;
    area.x = (cell % columns) * pieceWidth;
    area.y = (cell / columns) * pieceHeight;
    area.columns = std::min(pieceWidth, width - area.x);
    area.rows = std::min(pieceHeight, height - area.y);
    return area;
}

}  // namespace

DropHistory::DropHistory(size_t byteLimit) : m_limit(byteLimit) {}

DropHistory::Geometry DropHistory::GeometryOf(const Puzzle& puzzle) {
    const Grid grid = puzzle.grid();
    return {puzzle.AnswerImage.width(),
            puzzle.AnswerImage.height(),
            puzzle.AnswerImage.stride(),
            puzzle.pieceWidth,
            puzzle.pieceHeight,
            grid.columns,
            grid.rows};
}

size_t DropHistory::StepBytes(const Step& step) {
    size_t bytes = sizeof(Step) + step.cells.capacity() * sizeof(CellRecord);
    for (const Block& block : step.blocks) {
        bytes += block.capacity;
    }
    return bytes;
}

void DropHistory::Clear() {
    std::lock_guard lock(m_mutex);
    ResetLocked({});
}

void DropHistory::ResetLocked(const Geometry& geometry) {
    ClearLocked();
    m_geometry = geometry;
    m_cellWinner.assign(static_cast<size_t>(int64_t{geometry.columns} * geometry.rows), -1);
    m_files.clear();
    m_savedId.reset();
}

void DropHistory::ClearLocked() {
    m_undo.clear();
    m_redo.clear();
    m_bytes = 0;
    m_baseId = m_nextId++;
}

void DropHistory::DropRedoLocked() {
    for (const Step& step : m_redo) {
        m_bytes -= step.bytes;
    }
    m_redo.clear();
}

void DropHistory::TrimLocked() {
    while (m_bytes > m_limit && !m_undo.empty()) {
        m_bytes -= m_undo.front().bytes;
        m_baseId = m_undo.front().id;
        m_undo.pop_front();
    }
}

bool DropHistory::CanUndo() const {
    std::lock_guard lock(m_mutex);
    return !m_undo.empty();
}

bool DropHistory::CanRedo() const {
    std::lock_guard lock(m_mutex);
    return !m_redo.empty();
}

size_t DropHistory::byteCount() const {
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

size_t DropHistory::undoSteps() const {
    std::lock_guard lock(m_mutex);
    return m_undo.size();
}

size_t DropHistory::redoSteps() const {
    std::lock_guard lock(m_mutex);
    return m_redo.size();
}

uint64_t DropHistory::CurrentIdLocked() const {
    return m_undo.empty() ? m_baseId : m_undo.back().id;
}

void DropHistory::MarkSaved() {
    std::lock_guard lock(m_mutex);
    m_savedId = CurrentIdLocked();
}

bool DropHistory::AtSavedPoint() const {
    std::lock_guard lock(m_mutex);
    return m_savedId == CurrentIdLocked();
}

std::optional<std::filesystem::path> DropHistory::CellWinner(int64_t cell) const {
    std::lock_guard lock(m_mutex);
    if (cell < 0 || static_cast<uint64_t>(cell) >= m_cellWinner.size()) {
        return std::nullopt;
    }
    const int32_t file = m_cellWinner[static_cast<size_t>(cell)];
    if (file < 0) {
        return std::nullopt;
    }
    return m_files[static_cast<size_t>(file)];
}

void DropHistory::BeginStep(const Puzzle& puzzle) {
    const Geometry geometry = GeometryOf(puzzle);
    {
        std::lock_guard lock(m_mutex);
        if (geometry != m_geometry) {
            // Another puzzle than the one recorded: nothing of the old one applies to it.
            ResetLocked(geometry);
        }
    }
    m_current = Step{};
    m_current.score = puzzle.PuzzleScore;
    m_current.bytes = sizeof(Step);
    m_recording = true;
    m_overflow = false;
}

void DropHistory::RecordCell(const Puzzle& puzzle, size_t cell) {
    if (!m_recording || m_overflow || cell >= m_cellWinner.size()) {
        return;
    }
    const Geometry& g = m_geometry;
    const CellArea area = AreaOf(static_cast<int32_t>(cell), g.columns, g.width, g.height,
                                 g.pieceWidth, g.pieceHeight);
    const size_t bytes = area.Bytes();
    try {
        // While a drop records, its step counts the bytes it uses; at its end the blocks are
        // cut to size and the step counts what it holds.
        const size_t used = m_current.bytes + bytes + sizeof(CellRecord);
        if (m_bytes + used > m_limit) {
            // This drop will be a step, so the redo steps are gone already; older steps make
            // room for it, and when even all of them are not enough, it cannot be undone.
            std::lock_guard lock(m_mutex);
            DropRedoLocked();
            while (m_bytes + used > m_limit && !m_undo.empty()) {
                m_bytes -= m_undo.front().bytes;
                m_baseId = m_undo.front().id;
                m_undo.pop_front();
            }
            if (used > m_limit) {
                m_overflow = true;
                m_current = Step{};
                return;
            }
        }
        if (m_current.blocks.empty() ||
            m_current.blocks.back().capacity - m_current.blocks.back().size < bytes) {
            const size_t previous = m_current.blocks.empty() ? 0 : m_current.blocks.back().capacity;
            const size_t capacity =
                std::max(bytes, std::clamp(previous * 2, kFirstBlockBytes, kLargestBlockBytes));
            m_current.blocks.push_back(
                Block{std::make_unique_for_overwrite<uint8_t[]>(capacity), 0, capacity});
        }
        Block& block = m_current.blocks.back();
        const CellRecord record{static_cast<int32_t>(cell), puzzle.PieceScores[cell],
                                m_cellWinner[cell],
                                static_cast<uint32_t>(m_current.blocks.size() - 1), block.size};
        for (int32_t j = 0; j < area.rows; ++j) {
            const uint8_t* row =
                puzzle.MosaicCanvas.rowFromTop(area.y + j) + static_cast<size_t>(area.x) * 3;
            std::memcpy(block.data.get() + block.size, row, area.RowBytes());
            block.size += area.RowBytes();
        }
        m_current.cells.push_back(record);
        m_current.bytes = used;
    } catch (const std::bad_alloc&) {
        m_overflow = true;
        m_current = Step{};
    }
}

void DropHistory::EndStep(const Puzzle& puzzle, std::span<const int32_t> cells,
                          std::span<const int32_t> winners,
                          std::span<const std::filesystem::path> files) {
    if (!m_recording) {
        return;
    }
    m_recording = false;
    std::lock_guard lock(m_mutex);
    // The files of this drop that hold a cell now get an index in m_files.
    std::vector<int32_t> fileIndex(files.size(), -1);
    for (size_t i = 0; i < cells.size() && i < winners.size(); ++i) {
        const auto cell = static_cast<size_t>(cells[i]);
        const auto file = static_cast<size_t>(winners[i]);
        if (cell >= m_cellWinner.size() || file >= files.size()) {
            continue;
        }
        if (fileIndex[file] < 0) {
            fileIndex[file] = static_cast<int32_t>(m_files.size());
            m_files.push_back(files[file]);
        }
        m_cellWinner[cell] = fileIndex[file];
    }

    if (m_overflow) {
        ClearLocked();
        m_current = Step{};
        return;
    }
    if (m_current.cells.empty() && m_current.score == puzzle.PuzzleScore) {
        return;  // nothing changed: no step, and the redo steps still apply
    }
    Step step = std::move(m_current);
    m_current = Step{};
    if (!step.blocks.empty() && step.blocks.back().size < step.blocks.back().capacity) {
        Block& last = step.blocks.back();
        auto exact = std::make_unique_for_overwrite<uint8_t[]>(last.size);
        std::memcpy(exact.get(), last.data.get(), last.size);
        last.data = std::move(exact);
        last.capacity = last.size;
    }
    step.cells.shrink_to_fit();
    step.bytes = StepBytes(step);
    step.id = m_nextId++;
    DropRedoLocked();
    m_bytes += step.bytes;
    m_undo.push_back(std::move(step));
    TrimLocked();
}

HistoryChange DropHistory::Apply(Step& step, Puzzle& puzzle) {
    const Geometry& g = m_geometry;
    HistoryChange change;
    change.cells.reserve(step.cells.size());
    for (CellRecord& record : step.cells) {
        const CellArea area =
            AreaOf(record.cell, g.columns, g.width, g.height, g.pieceWidth, g.pieceHeight);
        uint8_t* kept = step.blocks[record.block].data.get() + record.offset;
        for (int32_t j = 0; j < area.rows; ++j) {
            uint8_t* row =
                puzzle.MosaicCanvas.rowFromTop(area.y + j) + static_cast<size_t>(area.x) * 3;
            std::swap_ranges(row, row + area.RowBytes(), kept);
            kept += area.RowBytes();
        }
        const auto cell = static_cast<size_t>(record.cell);
        std::swap(puzzle.PieceScores[cell], record.score);
        std::swap(m_cellWinner[cell], record.winner);
        change.cells.push_back(record.cell);
    }
    change.oldScore = puzzle.PuzzleScore;
    std::swap(puzzle.PuzzleScore, step.score);
    change.score = puzzle.PuzzleScore;
    return change;
}

std::optional<HistoryChange> DropHistory::Move(Puzzle& puzzle, std::deque<Step>& from,
                                               std::deque<Step>& to) {
    return puzzle.WithLock([&](Puzzle& p) -> std::optional<HistoryChange> {
        std::lock_guard lock(m_mutex);
        if (from.empty()) {
            return std::nullopt;
        }
        const Geometry geometry = GeometryOf(p);
        if (geometry != m_geometry || p.MosaicCanvas.width() != geometry.width ||
            p.MosaicCanvas.height() != geometry.height ||
            p.PieceScores.count() != int64_t{geometry.columns} * geometry.rows) {
            ResetLocked({});
            return std::nullopt;
        }
        Step step = std::move(from.back());
        from.pop_back();
        HistoryChange change = Apply(step, p);
        to.push_back(std::move(step));
        return change;
    });
}

std::optional<HistoryChange> DropHistory::Undo(Puzzle& puzzle) {
    return Move(puzzle, m_undo, m_redo);
}

std::optional<HistoryChange> DropHistory::Redo(Puzzle& puzzle) {
    return Move(puzzle, m_redo, m_undo);
}

}  // namespace tama05
