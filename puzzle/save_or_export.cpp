#include "puzzle/save_or_export.h"

#include <string>

#include "core/picture_export.h"
#include "puzzle/puzzle_io.h"

namespace tama05 {

std::optional<SaveKind> SaveKindForExtension(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    if (extension == ".tgr") {
        return SaveKind::kPuzzleFile;
    }
    if (extension == ".jpg" || extension == ".jpeg") {
        return SaveKind::kJpeg;
    }
    if (extension == ".bmp") {
        return SaveKind::kBmp;
    }
    if (extension == ".png") {
        return SaveKind::kPng;
    }
    return std::nullopt;
}

SaveKind SaveKindForFilter(int index) {
    return index >= 0 && index <= static_cast<int>(SaveKind::kPng) ? static_cast<SaveKind>(index)
                                                                   : SaveKind::kPuzzleFile;
}

int SaveOrExport(Puzzle& puzzle, const SaveRequest& request, MessageSink& messages) {
    if (puzzle.Status().state != PuzzleState::kReady) {
        messages.ShowMessage("保存すべきものが読み込まれていません。", "保存できません。");
        return -1;
    }
    if (request.kind == SaveKind::kPuzzleFile) {
        const int result = SavePuzzle(puzzle, request.path, messages);  // messages after unlock
        puzzle.WithLock([&](Puzzle& p) {
            p.fileName = request.path;
            if (result == 0) {
                p.saveState = SaveState::kSaved;
            }
        });
        return result;
    }
    RecordingMessageSink held;
    const int result = puzzle.WithLock([&](const Puzzle& p) {
        const Image& canvas = p.MosaicCanvas;
        const Image& answer = p.AnswerImage;
        const int blend = request.blendValue.value_or(p.BlendValue);
        switch (request.kind) {
            case SaveKind::kJpeg:
                return ExportJpeg(held, request.path, canvas, answer, blend);
            case SaveKind::kBmp:
                return ExportBmp(held, request.path, canvas, answer, blend);
            case SaveKind::kPng:
                return ExportPng(held, request.path, canvas, answer, blend, request.answerAlpha);
            case SaveKind::kPuzzleFile:
                break;
        }
        return -1;
    });
    held.ReplayTo(messages);
    return result;
}

}  // namespace tama05
