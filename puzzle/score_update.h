#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/random_generator.h"
#include "puzzle/puzzle.h"

namespace tama05 {

// The score from which the answer slider is offered and the comments change.
inline constexpr int32_t kSliderScore = 88;

// The comments that may follow a drop or a fill.
enum class CommentKind {
    kIdle,
    kPiecesChanged,
    kScoreUp,
    kPoorResult,
    kGoodDrop,
    kTooManyFiles,
};

// The routine's name, e.g. "CommentScoreUp".
std::string_view CommentKindName(CommentKind kind);

// The comment that fits a drop: from the score before and after, the cells changed and the
// files dropped. A fresh random value decides between small talk and a poor-result comment only
// when the drop neither raised the score nor changed a tenth of a cell per file.
CommentKind ChooseComment(int32_t oldScore, int32_t newScore, int32_t changed, int32_t files,
                          RandomGenerator& random);

struct ScoreUpdate {
    int32_t oldScore = 0;
    int32_t newScore = 0;
    CommentKind comment = CommentKind::kIdle;
};

// Recomputes PuzzleScore as the truncated mean of the cell scores and chooses the comment.
// Nothing happens (and nothing is returned) when files is not positive.
std::optional<ScoreUpdate> UpdateScore(Puzzle& puzzle, int32_t changed, int32_t files,
                                       RandomGenerator& random);

}  // namespace tama05
