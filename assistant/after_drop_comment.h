#pragma once

#include "assistant/comment_tables.h"
#include "puzzle/score_update.h"

namespace tama05 {

// The routine that speaks a comment chosen by the score update or the drop worker.
CommentRoutine CommentRoutineFor(CommentKind kind);

}  // namespace tama05
