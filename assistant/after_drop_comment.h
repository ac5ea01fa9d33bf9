#pragma once

#include <optional>

#include "assistant/comment_tables.h"
#include "puzzle/random_generator.h"

namespace tama05 {

// The after-drop comment that fits a batch, from the score before and after the batch, the
// cells it changed and the files it processed, tested in this order:
//   no files (0 or fewer)                        → none
//   old ≥ 88, changed > 0                        → CommentPiecesChanged
//   old ≥ 88, changed ≤ 0                        → CommentIdle
//   new > old                                    → CommentScoreUp
//   changed ÷ files ≥ 0.1 (real division)        → CommentGoodDrop
//   otherwise r mod 100 ≥ 60                     → CommentIdle, below 60 CommentPoorResult
// The generator is drawn only in the last case.
std::optional<CommentRoutine> ChooseAfterDropComment(int oldScore, int newScore, int changedCells,
                                                     int files, RandomGenerator& random);

}  // namespace tama05
