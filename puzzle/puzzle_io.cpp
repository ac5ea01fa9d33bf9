#include "puzzle/puzzle_io.h"

#include <vector>

#include "core/atomic_file.h"
#include "puzzlefile/puzzle_file.h"

namespace tama05 {

int SavePuzzle(const Puzzle& puzzle, const std::filesystem::path& path, MessageSink& messages) {
    RecordingMessageSink held;
    const int result = puzzle.WithLock([&](const Puzzle& p) {
        return SavePuzzleFile(held, path, p.AnswerImage, p.MosaicCanvas, p.pieceWidth,
                              p.pieceHeight, p.BlendValue, p.PieceScores, p.PuzzleScore);
    });
    held.ReplayTo(messages);
    return result;
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
    puzzle.WithLock([&data](Puzzle& p) {
        p.AnswerImage = std::move(data.answer);
        p.MosaicCanvas = std::move(data.canvas);
        p.pieceWidth = data.pieceWidth;
        p.pieceHeight = data.pieceHeight;
        p.BlendValue = data.blendValue;
        p.PieceScores = std::move(data.scores);
        p.PuzzleScore = data.score;
        p.state = PuzzleState::kReady;
    });
    if (view.setSlider) {
        view.setSlider(data.blendValue);
    }
    if (view.showScore) {
        view.showScore(data.score);
    }
    return 0;
}

}  // namespace tama05
