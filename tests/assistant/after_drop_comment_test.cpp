#include "assistant/after_drop_comment.h"

#include <gtest/gtest.h>

namespace tama05 {
namespace {

// The kind chosen by the score update and the routine that speaks it share one name.
TEST(AfterDropCommentTest, EveryKindHasTheRoutineOfTheSameName) {
    for (CommentKind kind : {CommentKind::kIdle, CommentKind::kPiecesChanged, CommentKind::kScoreUp,
                             CommentKind::kPoorResult, CommentKind::kGoodDrop,
                             CommentKind::kTooManyFiles}) {
        EXPECT_EQ(CommentRoutineName(CommentRoutineFor(kind)), CommentKindName(kind));
    }
}

}  // namespace
}  // namespace tama05
