#include "puzzle/puzzle_creation.h"

#include "core/image_file.h"
#include "core/limits.h"
#include "puzzle/piece_pipeline.h"

namespace tama05 {

namespace {

// Reads a piece picture with the reader's messages; a file that cannot be read gives an
// all-black picture of the piece size.
int ReadPiecePicture(MessageSink& messages, const std::filesystem::path& path, Image& loaded,
                     int32_t pieceWidth, int32_t pieceHeight) {
    const int result = LoadImageFile(messages, path, loaded, true);
    if (result != 0) {
        loaded.CreateFilled(pieceWidth, pieceHeight, 0);
        loaded.SetHeaders();
    }
    return result;
}

}  // namespace

int LoadPiece(MessageSink& messages, const std::filesystem::path& path, Image& target,
              int32_t pieceWidth, int32_t pieceHeight) {
    Image loaded;
    const int result = ReadPiecePicture(messages, path, loaded, pieceWidth, pieceHeight);
    ScaleImage(loaded, target, pieceWidth, pieceHeight);
    return result;
}

std::optional<FillResult> FillFromFolder(Puzzle& puzzle, MessageSink& messages, bool complain,
                                         int32_t maxPieces, RandomGenerator& random) {
    const std::filesystem::path folder =
        puzzle.WithLock([](const Puzzle& p) { return p.PieceFolder; });
    std::vector<std::filesystem::path> files;
    for (const std::string& name : ScanPieceFolder(folder, maxPieces)) {
        files.push_back(folder / name);
    }
    return FillFromFiles(puzzle, messages, complain, files, random,
                         PiecePipeline::DefaultThreads());
}

std::optional<FillResult> FillFromFiles(Puzzle& puzzle, MessageSink& messages, bool complain,
                                        std::span<const std::filesystem::path> files,
                                        RandomGenerator& random, int decodeThreads) {
    PuzzleState state;
    int32_t pieceWidth;
    int32_t pieceHeight;
    puzzle.WithLock([&](const Puzzle& p) {
        state = p.state;
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
    if (files.empty()) {
        messages.ShowMessage(
            "フォルダ内に画像ファイル(*.bmpまたは*.pngまたは*.jpg)が見つかりません。", "エラー");
        return std::nullopt;
    }
    for (const std::filesystem::path& file : files) {
        result.pieces.push_back(file.filename().string());
    }
    // Read ahead on helper threads; the readers' messages still come in list order.
    PiecePipeline pipeline(
        files,
        [pieceWidth, pieceHeight](const std::filesystem::path& path, Image& loaded,
                                  MessageSink& sink) {
            ReadPiecePicture(sink, path, loaded, pieceWidth, pieceHeight);
            return 0;
        },
        pieceWidth, pieceHeight, decodeThreads);
    std::vector<Image> pieces(files.size());
    for (size_t i = 0; i < pieces.size(); ++i) {
        pipeline.Take(i, pieces[i], messages);
    }

    return puzzle.WithLock([&](Puzzle& p) -> std::optional<FillResult> {
        if (FillMosaic(p.AnswerImage, pieces, p.MosaicCanvas, p.PieceScores, nullptr,
                       BestDistanceKernel(), &result.cellPieces) != 0) {
            return std::nullopt;
        }
        p.state = PuzzleState::kReady;
        const auto update = UpdateScore(p, 0, static_cast<int32_t>(result.pieces.size()), random);
        result.score = *update;
        return std::move(result);
    });
}

namespace {

// The answer, folder and piece size of a new puzzle from the dialogs; true when the puzzle took
// them (state 1), false when it is exactly as it was (apart from a newly chosen folder).
bool TakeNewAnswer(Puzzle& puzzle, NewPuzzleDialogs& dialogs, MessageSink& messages) {
    Image candidate;
    if (dialogs.ChooseAnswerImage(candidate) != 0 || candidate.empty()) {
        return false;
    }
    if (!CheckPictureSize(candidate.width(), candidate.height(), kMaxAnswerPixels)) {
        messages.ShowMessage("答え画像が大きすぎます。", "エラー");
        return false;
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
        return false;
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
    return true;
}

NewPuzzleResult Filled(std::optional<FillResult> fill) {
    NewPuzzleResult result;
    result.outcome = fill ? NewPuzzleOutcome::kReady : NewPuzzleOutcome::kFillFailed;
    result.fill = std::move(fill);
    return result;
}

}  // namespace

NewPuzzleResult NewPuzzle(Puzzle& puzzle, NewPuzzleDialogs& dialogs, MessageSink& messages,
                          RandomGenerator& random, int32_t maxPieces) {
    if (!TakeNewAnswer(puzzle, dialogs, messages)) {
        return {};
    }
    return Filled(FillFromFolder(puzzle, messages, false, maxPieces, random));
}

NewPuzzleResult NewPuzzleFromFiles(Puzzle& puzzle, NewPuzzleDialogs& dialogs, MessageSink& messages,
                                   RandomGenerator& random,
                                   std::span<const std::filesystem::path> pieceFiles,
                                   int decodeThreads) {
    if (!TakeNewAnswer(puzzle, dialogs, messages)) {
        return {};
    }
    return Filled(FillFromFiles(puzzle, messages, false, pieceFiles, random, decodeThreads));
}

}  // namespace tama05
