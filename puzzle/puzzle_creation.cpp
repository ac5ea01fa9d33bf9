#include "puzzle/puzzle_creation.h"

#include <mutex>

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
                                         int32_t maxPieces, RandomGenerator& random,
                                         const FillProgress& progress) {
    std::unique_lock lock(puzzle.mutex);
    if (puzzle.state == PuzzleState::kNone) {
        if (complain) {
            messages.ShowMessage("まだ原画を読み込んでいません。", "原画を読み込んでください。");
        }
        return std::nullopt;
    }
    const std::filesystem::path folder = puzzle.PieceFolder;
    const int32_t pieceWidth = puzzle.pieceWidth;
    const int32_t pieceHeight = puzzle.pieceHeight;
    lock.unlock();

    FillResult result;
    result.pieces = ScanPieceFolder(folder, maxPieces);
    if (result.pieces.empty()) {
        messages.ShowMessage(
            "フォルダ内に画像ファイル(*.bmpまたは*.pngまたは*.jpg)が見つかりません。", "エラー");
        return std::nullopt;
    }
    std::vector<Image> pieces(result.pieces.size());
    const auto total = static_cast<int32_t>(pieces.size());
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (progress) {
            progress(static_cast<int32_t>(i), total);
        }
        LoadPiece(messages, folder / result.pieces[i], pieces[i], pieceWidth, pieceHeight);
    }
    if (progress) {
        progress(total, total);
    }

    lock.lock();
    if (FillMosaic(puzzle.AnswerImage, pieces, puzzle.MosaicCanvas, puzzle.PieceScores) != 0) {
        return std::nullopt;
    }
    puzzle.state = PuzzleState::kReady;
    const auto update = UpdateScore(puzzle, 0, static_cast<int32_t>(result.pieces.size()), random);
    result.score = *update;
    return result;
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
    std::filesystem::path folder;
    {
        std::lock_guard lock(puzzle.mutex);
        folder = puzzle.PieceFolder;
    }
    dialogs.ChoosePieceFolder(folder);  // cancelled: the previous folder is used
    int32_t pieceWidth = 0;
    int32_t pieceHeight = 0;
    if (!dialogs.ChoosePieceSize(candidate.width(), candidate.height(), pieceWidth, pieceHeight) ||
        pieceWidth < 1 || pieceHeight < 1 || pieceWidth > candidate.width() ||
        pieceHeight > candidate.height()) {
        std::lock_guard lock(puzzle.mutex);
        puzzle.PieceFolder = folder;  // the folder choice outlives a cancelled creation
        return result;
    }
    {
        std::lock_guard lock(puzzle.mutex);
        candidate.SetHeaders();
        puzzle.AnswerImage = std::move(candidate);
        puzzle.PieceFolder = folder;
        puzzle.pieceWidth = pieceWidth;
        puzzle.pieceHeight = pieceHeight;
        puzzle.state = PuzzleState::kBeingMade;
        puzzle.saveState = SaveState::kChanged;
        puzzle.fileName.clear();
    }
    result.fill = FillFromFolder(
        puzzle, messages, false, maxPieces, random,
        [&dialogs](int32_t done, int32_t total) { dialogs.ShowFillProgress(done, total); });
    result.outcome = result.fill ? NewPuzzleOutcome::kReady : NewPuzzleOutcome::kFillFailed;
    return result;
}

}  // namespace tama05
