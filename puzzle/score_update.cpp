#include "puzzle/score_update.h"

#include "puzzle/matching.h"

namespace tama05 {

std::string_view CommentKindName(CommentKind kind) {
    switch (kind) {
        case CommentKind::kIdle:
            return "CommentIdle";
        case CommentKind::kPiecesChanged:
            return "CommentPiecesChanged";
        case CommentKind::kScoreUp:
            return "CommentScoreUp";
        case CommentKind::kPoorResult:
            return "CommentPoorResult";
        case CommentKind::kGoodDrop:
            return "CommentGoodDrop";
        case CommentKind::kTooManyFiles:
            return "CommentTooManyFiles";
    }
    return "";
}

CommentKind ChooseComment(int32_t oldScore, int32_t newScore, int32_t changed, int32_t files,
                          RandomGenerator& random) {
    if (oldScore >= kSliderScore) {
        return changed > 0 ? CommentKind::kPiecesChanged : CommentKind::kIdle;
    }
    if (newScore > oldScore) {
        return CommentKind::kScoreUp;
    }
    if (static_cast<double>(changed) / files >= 0.1) {
        return CommentKind::kGoodDrop;
    }
    return random.Next() % 100 >= 60 ? CommentKind::kIdle : CommentKind::kPoorResult;
}

std::optional<ScoreUpdate> UpdateScore(Puzzle& puzzle, int32_t changed, int32_t files,
                                       RandomGenerator& random) {
    if (files <= 0) {
        return std::nullopt;
    }
    ScoreUpdate update;
    update.oldScore = puzzle.PuzzleScore;
    update.newScore = static_cast<int32_t>(MeanPieceScore(puzzle.PieceScores));
    puzzle.PuzzleScore = update.newScore;
    update.comment = ChooseComment(update.oldScore, update.newScore, changed, files, random);
    return update;
}

}  // namespace tama05
