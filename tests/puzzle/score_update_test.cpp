#include "puzzle/score_update.h"

#include <gtest/gtest.h>

namespace tama05 {
namespace {

CommentKind Choose(int oldScore, int newScore, int changed, int files, uint32_t seed = 1) {
    RandomGenerator random(seed);
    return ChooseComment(oldScore, newScore, changed, files, random);
}

TEST(ChooseCommentTest, FollowsTheTableInOrder) {
    // 87 raised to 90: the score went up.
    EXPECT_EQ(Choose(87, 90, 5, 1), CommentKind::kScoreUp);
    // From 88 on, changed cells decide, whether or not the score rises.
    EXPECT_EQ(Choose(90, 91, 3, 10), CommentKind::kPiecesChanged);
    EXPECT_EQ(Choose(90, 90, 3, 10), CommentKind::kPiecesChanged);
    EXPECT_EQ(Choose(88, 88, 0, 10), CommentKind::kIdle);
    // 1 cell in 10 files is a ratio of 0.1: a good drop.
    EXPECT_EQ(Choose(50, 50, 1, 10), CommentKind::kGoodDrop);
    EXPECT_EQ(Choose(50, 49, 10, 100), CommentKind::kGoodDrop);
}

TEST(ChooseCommentTest, SmallRatiosDrawOneRandomValue) {
    // 9 cells in 100 files: r = rand() % 100 decides, idle from 60 on.
    for (uint32_t seed = 0; seed < 50; ++seed) {
        RandomGenerator probe(seed);
        const int r = probe.Next() % 100;
        EXPECT_EQ(Choose(50, 50, 9, 100, seed),
                  r >= 60 ? CommentKind::kIdle : CommentKind::kPoorResult)
            << seed;
    }
    // Seed 1 draws 41 first: a poor result.
    EXPECT_EQ(Choose(50, 50, 0, 5, 1), CommentKind::kPoorResult);
}

TEST(ChooseCommentTest, OnlyTheLastRowsDrawFromTheGenerator) {
    RandomGenerator random(7);
    ChooseComment(87, 90, 1, 1, random);
    ChooseComment(90, 90, 1, 1, random);
    ChooseComment(50, 50, 1, 10, random);
    RandomGenerator fresh(7);
    EXPECT_EQ(random.Next(), fresh.Next());
}

TEST(UpdateScoreTest, TruncatesTheMeanAndRefusesNoFiles) {
    Puzzle puzzle;
    puzzle.PieceScores.AllocateFilled(3, 100);
    puzzle.PieceScores[2] = 99;
    puzzle.PuzzleScore = 40;
    RandomGenerator random(1);
    EXPECT_FALSE(UpdateScore(puzzle, 0, 0, random));
    EXPECT_EQ(puzzle.PuzzleScore, 40);
    const auto update = UpdateScore(puzzle, 3, 3, random);
    ASSERT_TRUE(update);
    EXPECT_EQ(update->oldScore, 40);
    EXPECT_EQ(update->newScore, 99);
    EXPECT_EQ(puzzle.PuzzleScore, 99);
    EXPECT_EQ(update->comment, CommentKind::kScoreUp);
    EXPECT_EQ(CommentKindName(update->comment), "CommentScoreUp");
}

}  // namespace
}  // namespace tama05
