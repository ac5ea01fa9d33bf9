#include "app/dialogs/save_chosen_file.h"

#include <mutex>

#include "core/picture_export.h"
#include "puzzle/puzzle_io.h"

namespace tama05 {

namespace {

// Messages raised while the puzzle is locked are shown once it is free again: a message box
// runs the event loop, and painting reads the puzzle under the same lock.
void Replay(const RecordingMessageSink& held, MessageSink& messages) {
    for (const auto& message : held.messages) {
        messages.ShowMessage(message.text, message.caption);
    }
}

int WriteChosenFile(Puzzle& puzzle, const SaveChoice& choice, MessageSink& held,
                    const AlphaPlane* answerAlpha) {
    if (choice.kind == SaveKind::kPuzzleFile) {
        const int result = SavePuzzle(puzzle, choice.path, held);  // takes the lock itself
        if (result == 0) {
            std::lock_guard lock(puzzle.mutex);
            puzzle.fileName = choice.path;
            puzzle.saveState = SaveState::kSaved;
        }
        return result;
    }
    std::lock_guard lock(puzzle.mutex);
    switch (choice.kind) {
        case SaveKind::kJpeg:
            return ExportJpeg(held, choice.path, puzzle.MosaicCanvas, puzzle.AnswerImage,
                              puzzle.BlendValue);
        case SaveKind::kBmp:
            return ExportBmp(held, choice.path, puzzle.MosaicCanvas, puzzle.AnswerImage,
                             puzzle.BlendValue);
        case SaveKind::kPng:
            return ExportPng(held, choice.path, puzzle.MosaicCanvas, puzzle.AnswerImage,
                             puzzle.BlendValue, answerAlpha);
        case SaveKind::kPuzzleFile:
            break;
    }
    return -1;
}

}  // namespace

int SaveChosenFile(Puzzle& puzzle, const SaveChoice& choice, MessageSink& messages,
                   const AlphaPlane* answerAlpha) {
    bool ready = false;
    {
        std::lock_guard lock(puzzle.mutex);
        ready = puzzle.state == PuzzleState::kReady;
    }
    if (!ready) {
        messages.ShowMessage("保存すべきものが読み込まれていません。", "保存できません。");
        return -1;
    }
    RecordingMessageSink held;
    const int result = WriteChosenFile(puzzle, choice, held, answerAlpha);
    Replay(held, messages);
    return result;
}

}  // namespace tama05
