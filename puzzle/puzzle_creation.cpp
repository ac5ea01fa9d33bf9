#include "puzzle/puzzle_creation.h"

#include "core/image_file.h"
#include "core/limits.h"

namespace tama05 {

int LoadPiece(MessageSink& messages, const std::filesystem::path& path, Image& target,
              int32_t pieceWidth, int32_t pieceHeight) {
    Image loaded;
    const int result = LoadImageFile(messages, path, loaded, true);
    if (result != 0) {
        loaded.CreateFilled(pieceWidth, pieceHeight, 0);
        loaded.SetHeaders();
    }
    ScaleImage(loaded, target, pieceWidth, pieceHeight);
    return result;
}

std::optional<FillResult> FillFromFolder(Puzzle& puzzle, MessageSink& messages, bool complain,
                                         int32_t maxPieces, RandomGenerator& random) {
    PuzzleState state;
    std::filesystem::path folder;
    int32_t pieceWidth;
    int32_t pieceHeight;
    puzzle.WithLock([&](const Puzzle& p) {
        state = p.state;
        folder = p.PieceFolder;
        pieceWidth = p.pieceWidth;
        pieceHeight = p.pieceHeight;
    });
    if (state == PuzzleState::kNone) {
        if (complain) {
            messages.ShowMessage("まだ原画を読み込んでいません。", "原画を読み込んでください。");
        }
        return std::nullopt;
    }

    FillResult result;
    result.pieces = ScanPieceFolder(folder, maxPieces);
    if (result.pieces.empty()) {
        messages.ShowMessage(
            "フォルダ内に画像ファイル(*.bmpまたは*.pngまたは*.jpg)が見つかりません。", "エラー");
        return std::nullopt;
    }
    std::vector<Image> pieces(result.pieces.size());
    for (size_t i = 0; i < pieces.size(); ++i) {
        LoadPiece(messages, folder / result.pieces[i], pieces[i], pieceWidth, pieceHeight);
    }

    return puzzle.WithLock([&](Puzzle& p) -> std::optional<FillResult> {
        if (FillMosaic(p.AnswerImage, pieces, p.MosaicCanvas, p.PieceScores) != 0) {
            return std::nullopt;
        }
        p.state = PuzzleState::kReady;
        const auto update = UpdateScore(p, 0, static_cast<int32_t>(result.pieces.size()), random);
        result.score = *update;
        return std::move(result);
    });
}

NewPuzzleResult NewPuzzle(Puzzle& puzzle, NewPuzzleDialogs& dialogs, MessageSink& messages,
                          RandomGenerator& random, int32_t maxPieces) {
    NewPuzzleResult result;
    Image candidate;
    if (dialogs.ChooseAnswerImage(candidate) != 0 || candidate.empty()) {
        return result;
    }
    if (!CheckPictureSize(candidate.width(), candidate.height(), kMaxAnswerPixels)) {
        messages.ShowMessage("答え画像が大きすぎます。", "エラー");
        return result;
    }
    std::filesystem::path folder = puzzle.WithLock([](const Puzzle& p) { return p.PieceFolder; });
    dialogs.ChoosePieceFolder(folder);  // cancelled: the previous folder is used
    int32_t pieceWidth = 0;
    int32_t pieceHeight = 0;
    if (!dialogs.ChoosePieceSize(candidate.width(), candidate.height(), pieceWidth, pieceHeight) ||
        pieceWidth < 1 || pieceHeight < 1 || pieceWidth > candidate.width() ||
        pieceHeight > candidate.height()) {
        // The folder choice outlives a cancelled creation.
        puzzle.WithLock([&folder](Puzzle& p) { p.PieceFolder = folder; });
        return result;
    }
    candidate.SetHeaders();
    puzzle.WithLock([&](Puzzle& p) {
        p.AnswerImage = std::move(candidate);
        p.PieceFolder = folder;
        p.pieceWidth = pieceWidth;
        p.pieceHeight = pieceHeight;
        p.state = PuzzleState::kBeingMade;
        p.saveState = SaveState::kChanged;
        p.fileName.clear();
    });
    result.fill = FillFromFolder(puzzle, messages, false, maxPieces, random);
    result.outcome = result.fill ? NewPuzzleOutcome::kReady : NewPuzzleOutcome::kFillFailed;
    return result;
}

}  // namespace tama05
