#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/image.h"
#include "core/message_sink.h"
#include "core/random_generator.h"
#include "puzzle/matching.h"
#include "puzzle/piece_folder.h"
#include "puzzle/puzzle.h"
#include "puzzle/score_update.h"

namespace tama05 {

// Reads a piece picture (with the reader's messages) and shrinks it to exactly the piece size;
// a file that cannot be read becomes a black piece. Returns the reader's result.
int LoadPiece(MessageSink& messages, const std::filesystem::path& path, Image& target,
              int32_t pieceWidth, int32_t pieceHeight);

struct FillResult {
    std::vector<std::string> pieces;  // the names used, in order
    std::vector<int32_t> cellPieces;  // for every cell, the position in pieces of its piece
    ScoreUpdate score;                // the score after the fill and the comment it calls for
};

// Fills every cell of a puzzle whose answer and piece size are set (state 1 or later) with the
// best of the first maxPieces pictures of its PieceFolder, then updates the score as after a
// drop of that many files with no changed cells. Returns the result, or nothing (state
// unchanged) with a message: "まだ原画を読み込んでいません。" when there is no answer yet (only
// when complain is set), or when the folder holds no picture. On success the state is ready.
std::optional<FillResult> FillFromFolder(Puzzle& puzzle, MessageSink& messages, bool complain,
                                         int32_t maxPieces, RandomGenerator& random);

// FillFromFolder with the pieces given as files, in the order the fill takes them (the folder's
// listing order): the names in the result are their file names, and an empty list is refused
// with the folder's message. With decodeThreads > 0 the files are read ahead on that many
// helper threads; the readers' messages and the result are those of reading them in order.
std::optional<FillResult> FillFromFiles(Puzzle& puzzle, MessageSink& messages, bool complain,
                                        std::span<const std::filesystem::path> files,
                                        RandomGenerator& random, int decodeThreads = 0);

// The three dialogs of a new puzzle, supplied by the window (or by the command-line tool).
class NewPuzzleDialogs {
  public:
    virtual ~NewPuzzleDialogs() = default;
    // Reads the chosen answer picture into candidate: 0 when completed, -1 when cancelled,
    // -3 when the file cannot be opened.
    virtual int ChooseAnswerImage(Image& candidate) = 0;
    // The folder of piece pictures; false when cancelled (the previous folder stays).
    virtual bool ChoosePieceFolder(std::filesystem::path& folder) = 0;
    // The piece size for a width × height answer; false when cancelled.
    virtual bool ChoosePieceSize(int32_t width, int32_t height, int32_t& pieceWidth,
                                 int32_t& pieceHeight) = 0;
};

enum class NewPuzzleOutcome {
    kCancelled,   // nothing changed
    kFillFailed,  // answer and piece size taken; the mosaic is not filled (state 1)
    kReady,       // filled
};

struct NewPuzzleResult {
    NewPuzzleOutcome outcome = NewPuzzleOutcome::kCancelled;
    std::optional<FillResult> fill;
};

// Makes a new puzzle: answer, folder, piece size, then the fill from the first maxPieces (ten
// in the game) pictures of the folder. The open puzzle is not touched until the answer and the
// piece size are both chosen: a cancelled dialog, an unreadable answer or an answer above the
// answer bound leaves it exactly as it was. Once taken, the puzzle is marked changed and unnamed.
NewPuzzleResult NewPuzzle(Puzzle& puzzle, NewPuzzleDialogs& dialogs, MessageSink& messages,
                          RandomGenerator& random, int32_t maxPieces = kFillPieces);

// NewPuzzle filled from the given piece files (FillFromFiles) instead of the chosen folder.
NewPuzzleResult NewPuzzleFromFiles(Puzzle& puzzle, NewPuzzleDialogs& dialogs, MessageSink& messages,
                                   RandomGenerator& random,
                                   std::span<const std::filesystem::path> pieceFiles,
                                   int decodeThreads = 0);

}  // namespace tama05
