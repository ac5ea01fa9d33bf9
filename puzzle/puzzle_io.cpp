#include "puzzle/puzzle_io.h"

#include <mutex>
#include <vector>

#include "core/atomic_file.h"
#include "puzzlefile/puzzle_file.h"

namespace tama05 {

int SavePuzzle(const Puzzle& puzzle, const std::filesystem::path& path, MessageSink& messages) {
    std::lock_guard lock(puzzle.mutex);
    return SavePuzzleFile(messages, path, puzzle.AnswerImage, puzzle.MosaicCanvas,
                          puzzle.pieceWidth, puzzle.pieceHeight, puzzle.BlendValue,
                          puzzle.PieceScores, puzzle.PuzzleScore);
}

int OpenPuzzleFile(Puzzle& puzzle, const std::filesystem::path& path, MessageSink& messages,
                   const PuzzleOpenView& view, int32_t* version) {
    PuzzleFileData data;
    if (ReadPuzzleFile(messages, path, data) != 0) {
        return -1;
    }
    if (version != nullptr) {
        *version = data.version;
    }
    {
        std::lock_guard lock(puzzle.mutex);
        puzzle.AnswerImage = std::move(data.answer);
        puzzle.MosaicCanvas = std::move(data.canvas);
        puzzle.pieceWidth = data.pieceWidth;
        puzzle.pieceHeight = data.pieceHeight;
        puzzle.BlendValue = data.blendValue;
        puzzle.PieceScores = std::move(data.scores);
        puzzle.PuzzleScore = data.score;
        puzzle.state = PuzzleState::kReady;
    }
    if (view.setSlider) {
        view.setSlider(data.blendValue);
    }
    if (view.showScore) {
        view.showScore(data.score);
    }
    return 0;
}

}  // namespace tama05
