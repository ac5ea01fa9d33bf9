#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>

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

// The open puzzle: the answer image, the mosaic built from pieces and one score per cell.
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

    // Held by whoever changes the data above while another thread may read them (the drop
    // worker while it pastes), and by readers on other threads (the window while it paints).
    mutable std::mutex mutex;

    Grid grid() const {
        return GridFor(AnswerImage.width(), AnswerImage.height(), pieceWidth, pieceHeight);
    }
};

}  // namespace tama05
