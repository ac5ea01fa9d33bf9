#include "assistant/after_drop_comment.h"

namespace tama05 {
namespace {

// Changed cells per file from which a drop counts as good although the score did not rise.
constexpr double kGoodDropRatio = 0.1;
// Out of 100: draws at or above this give small talk instead of the poor-result comment.
constexpr int kSmallTalkFrom = 60;

}  // namespace

std::optional<CommentRoutine> ChooseAfterDropComment(int oldScore, int newScore, int changedCells,
                                                     int files, RandomGenerator& random) {
    if (files <= 0) {
        return std::nullopt;
    }
    if (oldScore >= kAnswerSliderScore) {
        return changedCells > 0 ? CommentRoutine::kPiecesChanged : CommentRoutine::kIdle;
    }
    if (newScore > oldScore) {
        return CommentRoutine::kScoreUp;
    }
    if (static_cast<double>(changedCells) / static_cast<double>(files) >= kGoodDropRatio) {
        return CommentRoutine::kGoodDrop;
    }
    return random.Choose(100) >= kSmallTalkFrom ? CommentRoutine::kIdle
                                                : CommentRoutine::kPoorResult;
}

}  // namespace tama05
