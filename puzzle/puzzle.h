#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <utility>

#include "core/image.h"
#include "core/int_array.h"
#include "puzzle/grid.h"

namespace tama05 {

enum class PuzzleState : int32_t {
    kNone = 0,       // no puzzle
    kBeingMade = 1,  // answer image and piece size chosen, mosaic not yet filled
    kReady = 2,      // filled, or opened from a file
};

enum class SaveState : int32_t {
    kNothingToSave = -1,  // program start
    kChanged = 0,         // changed since the last save or open: ask before discarding
    kSaved = 1,           // saved or just opened
};

// What the windows and commands read of the puzzle at one moment, taken under its lock.
struct PuzzleStatus {
    PuzzleState state = PuzzleState::kNone;
    SaveState saveState = SaveState::kNothingToSave;
    std::filesystem::path fileName;
    int32_t score = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t blendValue = 255;
};

// The open puzzle: the answer image, the mosaic built from pieces and one score per cell.
//
// The drop worker pastes into the puzzle while the user-interface thread paints from it, so
// every read or write from a thread that may race goes through the lock, which only the
// methods below take: Status for a snapshot, the Mark and Set methods for one field, WithLock
// to run a function on the locked puzzle. Nothing that can wait on the user (a message box, a
// dialog, a nested event loop) may run inside WithLock: collect messages in a
// RecordingMessageSink and show them once the lock is released.
struct Puzzle {
    // The target picture, W × H.
    Image AnswerImage;
    // The picture built from pieces; the size and stride of AnswerImage once a puzzle exists.
    Image MosaicCanvas;
    int32_t pieceWidth = 16;
    int32_t pieceHeight = 16;
    // One score 0..100 per cell, row-major from the top-left cell.
    IntArray PieceScores;
    // The truncated mean of PieceScores as last computed or read.
    int32_t PuzzleScore = 0;
    PuzzleState state = PuzzleState::kNone;
    SaveState saveState = SaveState::kNothingToSave;
    // The puzzle file last opened or saved; empty for a puzzle never saved.
    std::filesystem::path fileName;
    // 255 shows the mosaic only, 0 the answer only.
    int32_t BlendValue = 255;
    // The folder of piece pictures the puzzle was made from.
    std::filesystem::path PieceFolder;

    Grid grid() const {
        return GridFor(AnswerImage.width(), AnswerImage.height(), pieceWidth, pieceHeight);
    }

    PuzzleStatus Status() const {
        std::lock_guard lock(m_mutex);
        return PuzzleStatus{state,       saveState,           fileName,
                            PuzzleScore, AnswerImage.width(), AnswerImage.height(),
                            BlendValue};
    }
    // Changed since the last save or open: the save question is asked before it is dropped.
    void MarkChanged() { Set(&Puzzle::saveState, SaveState::kChanged); }
    void MarkSaved() { Set(&Puzzle::saveState, SaveState::kSaved); }
    void SetFileName(const std::filesystem::path& path) { Set(&Puzzle::fileName, path); }
    void SetBlendValue(int32_t value) { Set(&Puzzle::BlendValue, value); }

    // Runs f(puzzle) with the puzzle locked and returns what f returns.
    template <typename F>
    decltype(auto) WithLock(F&& f) {
        std::lock_guard lock(m_mutex);
        return std::forward<F>(f)(*this);
    }
    template <typename F>
    decltype(auto) WithLock(F&& f) const {
        std::lock_guard lock(m_mutex);
        return std::forward<F>(f)(*this);
    }
    // Runs f(puzzle) only when the lock is free at once; returns whether it ran.
    template <typename F>
    bool TryWithLock(F&& f) const {
        std::unique_lock lock(m_mutex, std::try_to_lock);
        if (!lock.owns_lock()) {
            return false;
        }
        std::forward<F>(f)(*this);
        return true;
    }

  private:
    template <typename T, typename V>
    void Set(T Puzzle::*field, V&& value) {
        std::lock_guard lock(m_mutex);
        this->*field = std::forward<V>(value);
    }

    mutable std::mutex m_mutex;
};

}  // namespace tama05
