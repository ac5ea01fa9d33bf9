#include "assistant/after_drop_comment.h"

#include <gtest/gtest.h>

namespace tama05 {
namespace {

// A seed whose first value modulo 100 is at or above 60 (small talk), or below it.
uint32_t SeedForDraw(bool smallTalk) {
    for (uint32_t seed = 1;; ++seed) {
        RandomGenerator probe(seed);
        if ((probe.Next() % 100 >= 60) == smallTalk) {
            return seed;
        }
    }
}

TEST(AfterDropCommentTest, NoFilesNoComment) {
    RandomGenerator random(1);
    EXPECT_FALSE(ChooseAfterDropComment(50, 60, 3, 0, random).has_value());
    EXPECT_FALSE(ChooseAfterDropComment(50, 60, 3, -1, random).has_value());
}

TEST(AfterDropCommentTest, AtTheSliderScoreCountsChangedCells) {
    RandomGenerator random(1);
    EXPECT_EQ(ChooseAfterDropComment(90, 90, 3, 5, random), CommentRoutine::kPiecesChanged);
    EXPECT_EQ(ChooseAfterDropComment(88, 95, 1, 5, random), CommentRoutine::kPiecesChanged);
    EXPECT_EQ(ChooseAfterDropComment(88, 95, 0, 5, random), CommentRoutine::kIdle);
    EXPECT_EQ(ChooseAfterDropComment(92, 80, 0, 1, random), CommentRoutine::kIdle);
    // None of these draws from the generator.
    RandomGenerator fresh(1);
    EXPECT_EQ(random.Next(), fresh.Next());
}

TEST(AfterDropCommentTest, RiseBelowTheSliderScore) {
    RandomGenerator random(1);
    EXPECT_EQ(ChooseAfterDropComment(87, 90, 1, 10, random), CommentRoutine::kScoreUp);
    EXPECT_EQ(ChooseAfterDropComment(10, 11, 0, 3, random), CommentRoutine::kScoreUp);
}

TEST(AfterDropCommentTest, ChangedCellsPerFileDecideAGoodDrop) {
    RandomGenerator random(SeedForDraw(false));
    // 1 / 10 is exactly the threshold.
    EXPECT_EQ(ChooseAfterDropComment(50, 50, 1, 10, random), CommentRoutine::kGoodDrop);
    EXPECT_EQ(ChooseAfterDropComment(50, 40, 5, 3, random), CommentRoutine::kGoodDrop);
    // 1 / 11 and 9 / 100 fall below it: the draw decides.
    random.Seed(SeedForDraw(false));
    EXPECT_EQ(ChooseAfterDropComment(50, 50, 1, 11, random), CommentRoutine::kPoorResult);
    random.Seed(SeedForDraw(true));
    EXPECT_EQ(ChooseAfterDropComment(50, 50, 9, 100, random), CommentRoutine::kIdle);
}

TEST(AfterDropCommentTest, SmallTalkShareIsFortyInAHundred) {
    RandomGenerator random(7);
    RandomGenerator mirror(7);
    for (int i = 0; i < 500; ++i) {
        const bool smallTalk = mirror.Next() % 100 >= 60;
        EXPECT_EQ(ChooseAfterDropComment(30, 30, 0, 4, random),
                  smallTalk ? CommentRoutine::kIdle : CommentRoutine::kPoorResult);
    }
}

}  // namespace
}  // namespace tama05
