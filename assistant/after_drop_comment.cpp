#include "assistant/after_drop_comment.h"

namespace tama05 {

CommentRoutine CommentRoutineFor(CommentKind kind) {
    switch (kind) {
        case CommentKind::kIdle:
            return CommentRoutine::kIdle;
        case CommentKind::kPiecesChanged:
            return CommentRoutine::kPiecesChanged;
        case CommentKind::kScoreUp:
            return CommentRoutine::kScoreUp;
        case CommentKind::kPoorResult:
            return CommentRoutine::kPoorResult;
        case CommentKind::kGoodDrop:
            return CommentRoutine::kGoodDrop;
        case CommentKind::kTooManyFiles:
            return CommentRoutine::kTooManyFiles;
    }
    return CommentRoutine::kIdle;
}

}  // namespace tama05
