#include "puzzle/drop_history.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "puzzle/drop_worker.h"
#include "puzzle/matching.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

class QuietScreen final : public DropScreen {
  public:
    void ShowWaitMeter(bool) override {}
    void DrawWaitMeter(int32_t, int32_t) override {}
    void FlashCell(const Image&, int32_t, int32_t, int32_t, int32_t) override {}
    void Comment(CommentKind, int32_t) override {}
    void ShowScore(int32_t) override {}
};

// "piece N" reads as a 6 × 5 picture of one random colour with a little noise, seeded by N;
// anything else fails.
int PieceReader(const std::filesystem::path& path, Image& target, MessageSink&) {
    const std::string name = path.string();
    if (name.rfind("piece ", 0) != 0) {
        return -1;
    }
    std::mt19937 rng(static_cast<uint32_t>(std::stoul(name.substr(6))));
    const uint8_t base[3] = {static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()),
                             static_cast<uint8_t>(rng())};
    target = test::SolidImage(6, 5, base[0], base[1], base[2]);
    for (size_t i = 0; i < target.byteCount(); ++i) {
        target.data()[i] = static_cast<uint8_t>(target.data()[i] ^ (rng() & 7));
    }
    return 0;
}

// A 37 × 23 answer of colour patches (the last column and row of 5 × 4 cells cut off), filled
// from two pieces. Its stored score is off the mean, as a file may have it, so that a drop
// changing no cell can still change the score.
void MakePuzzle(Puzzle& puzzle) {
    std::mt19937 rng(11);
    puzzle.AnswerImage = test::SolidImage(37, 23, 0, 0, 0);
    for (int32_t y = 0; y < 23; ++y) {
        for (int32_t x = 0; x < 37; ++x) {
            std::mt19937 patch(static_cast<uint32_t>((y / 7) * 10 + x / 9));
            for (int c = 0; c < 3; ++c) {
                puzzle.AnswerImage.rowFromTop(y)[3 * x + c] =
                    static_cast<uint8_t>(patch() + (rng() & 15));
            }
        }
    }
    Image pieces[2];
    NullMessageSink quiet;
    Image picture;
    for (int k = 0; k < 2; ++k) {
        ASSERT_EQ(PieceReader("piece " + std::to_string(k + 1000), picture, quiet), 0);
        ASSERT_EQ(ScaleImage(picture, pieces[k], 5, 4), 0);
    }
    ASSERT_EQ(FillMosaic(puzzle.AnswerImage, pieces, puzzle.MosaicCanvas, puzzle.PieceScores), 0);
    puzzle.pieceWidth = 5;
    puzzle.pieceHeight = 4;
    puzzle.PuzzleScore = 3;
    puzzle.state = PuzzleState::kReady;
}

DropReport Drop(Puzzle& puzzle, const std::vector<std::filesystem::path>& files,
                DropHistory* history) {
    QuietScreen screen;
    RandomGenerator random(1);
    MatchScratch scratch;
    NullMessageSink quiet;
    return ProcessDrop(puzzle, files, PieceReader, screen, random, scratch, quiet, 0, history);
}

void ExpectSamePuzzle(const Puzzle& actual, const Puzzle& expected, const std::string& where) {
    ASSERT_EQ(actual.MosaicCanvas.byteCount(), expected.MosaicCanvas.byteCount()) << where;
    EXPECT_EQ(std::memcmp(actual.MosaicCanvas.data(), expected.MosaicCanvas.data(),
                          expected.MosaicCanvas.byteCount()),
              0)
        << where;
    ASSERT_EQ(actual.PieceScores.count(), expected.PieceScores.count()) << where;
    EXPECT_TRUE(std::equal(actual.PieceScores.begin(), actual.PieceScores.end(),
                           expected.PieceScores.begin()))
        << where;
    EXPECT_EQ(actual.PuzzleScore, expected.PuzzleScore) << where;
}

std::vector<std::filesystem::path> RandomDrop(std::mt19937& rng) {
    std::vector<std::filesystem::path> files;
    const int count = 1 + static_cast<int>(rng() % 3);
    for (int i = 0; i < count; ++i) {
        files.emplace_back(rng() % 8 == 0 ? std::string("broken")
                                          : "piece " + std::to_string(rng() % 5000));
    }
    return files;
}

// Random drops, undos and redos; after each, the puzzle equals one made without a history by
// replaying only the drops that are not undone, and each cell names the file a replay names.
// Each drop's report adds up to what changed.
TEST(DropHistoryTest, UndoAndRedoMatchAReplayWithoutTheUndoneDrops) {
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        std::mt19937 rng(seed);
        Puzzle puzzle;
        MakePuzzle(puzzle);
        DropHistory history;
        std::vector<std::vector<std::filesystem::path>> done;
        std::vector<std::vector<std::filesystem::path>> undone;
        for (int step = 0; step < 40; ++step) {
            const std::string where =
                "seed " + std::to_string(seed) + " step " + std::to_string(step);
            const uint32_t action = rng() % 6;
            if (action < 3) {
                const auto files = RandomDrop(rng);
                const std::vector<int32_t> before(puzzle.PieceScores.begin(),
                                                  puzzle.PieceScores.end());
                const double meanBefore = MeanPieceScore(puzzle.PieceScores);
                const size_t stepsBefore = history.undoSteps();
                const int32_t scoreBefore = puzzle.PuzzleScore;
                const DropReport report = Drop(puzzle, files, &history);
                // The report: the files' cells are the cells whose score rose, their points the
                // rises, their gains the rise of the mean.
                int32_t cells = 0;
                int64_t points = 0;
                double gain = 0.0;
                for (size_t i = 0; i < report.perFile.size(); ++i) {
                    const DroppedFile& file = report.perFile[i];
                    EXPECT_EQ(file.path, files[i]) << where;
                    EXPECT_EQ(file.read, files[i] != "broken") << where;
                    EXPECT_EQ(file.message.empty(), file.read) << where;
                    cells += file.cells;
                    points += file.points;
                    gain += file.gain;
                }
                int32_t rose = 0;
                int64_t rise = 0;
                for (size_t c = 0; c < before.size(); ++c) {
                    rose += puzzle.PieceScores[c] != before[c];
                    rise += puzzle.PieceScores[c] - before[c];
                }
                EXPECT_EQ(cells, rose) << where;
                EXPECT_EQ(points, rise) << where;
                EXPECT_NEAR(gain, MeanPieceScore(puzzle.PieceScores) - meanBefore, 1e-9) << where;
                // A step is made exactly when a cell or the score changed.
                const bool stepMade = history.undoSteps() == stepsBefore + 1;
                EXPECT_EQ(stepMade, rose != 0 || puzzle.PuzzleScore != scoreBefore) << where;
                if (stepMade) {
                    done.push_back(files);
                    undone.clear();
                }
            } else if (action < 5) {
                const bool could = history.CanUndo();
                EXPECT_EQ(could, !done.empty()) << where;
                const auto change = history.Undo(puzzle);
                EXPECT_EQ(change.has_value(), could) << where;
                if (could) {
                    undone.push_back(done.back());
                    done.pop_back();
                    EXPECT_EQ(change->score, puzzle.PuzzleScore) << where;
                }
            } else {
                const bool could = history.CanRedo();
                EXPECT_EQ(could, !undone.empty()) << where;
                const auto change = history.Redo(puzzle);
                EXPECT_EQ(change.has_value(), could) << where;
                if (could) {
                    done.push_back(undone.back());
                    undone.pop_back();
                }
            }

            Puzzle replay;
            MakePuzzle(replay);
            DropHistory replayHistory;
            for (const auto& files : done) {
                Drop(replay, files, &replayHistory);
            }
            ExpectSamePuzzle(puzzle, replay, where);
            for (int64_t c = 0; c < replay.PieceScores.count(); ++c) {
                ASSERT_EQ(history.CellWinner(c), replayHistory.CellWinner(c))
                    << where << " cell " << c;
            }
            EXPECT_LE(history.byteCount(), history.byteLimit());
        }
    }
}

// A cell 5 × 4 holds 60 bytes; a step of the first drop below holds every cell.
TEST(DropHistoryTest, TheOldestStepsGoFirstAndAnOversizedDropEmptiesTheHistory) {
    Puzzle puzzle;
    MakePuzzle(puzzle);
    DropHistory unbounded;
    Puzzle probe;
    MakePuzzle(probe);
    const std::vector<std::vector<std::filesystem::path>> drops = {
        {"piece 7"}, {"piece 8"}, {"piece 9"}, {"piece 10"}, {"piece 11"}, {"piece 12"}};
    std::vector<size_t> stepBytes;
    for (const auto& files : drops) {
        const size_t before = unbounded.byteCount();
        Drop(probe, files, &unbounded);
        stepBytes.push_back(unbounded.byteCount() - before);
        ASSERT_GT(stepBytes.back(), 0u);
    }
    // Room for the last three steps only.
    const size_t limit = stepBytes[3] + stepBytes[4] + stepBytes[5];
    DropHistory history(limit);
    for (const auto& files : drops) {
        Drop(puzzle, files, &history);
        EXPECT_LE(history.byteCount(), limit);
    }
    EXPECT_EQ(history.undoSteps(), 3u);
    while (history.CanUndo()) {
        history.Undo(puzzle);
    }
    Puzzle replay;
    MakePuzzle(replay);
    for (size_t i = 0; i < 3; ++i) {
        Drop(replay, drops[i], nullptr);
    }
    ExpectSamePuzzle(puzzle, replay, "after undoing all that was kept");

    // A drop that cannot be kept whole leaves nothing to undo, and changes the puzzle as a drop
    // without a history does.
    DropHistory tiny(200);
    Puzzle small;
    MakePuzzle(small);
    Drop(small, {"piece 7"}, &tiny);
    EXPECT_FALSE(tiny.CanUndo());
    EXPECT_EQ(tiny.byteCount(), 0u);
    Puzzle plain;
    MakePuzzle(plain);
    Drop(plain, {"piece 7"}, nullptr);
    ExpectSamePuzzle(small, plain, "oversized drop");
}

TEST(DropHistoryTest, SavedPointAndClear) {
    Puzzle puzzle;
    MakePuzzle(puzzle);
    DropHistory history;
    Drop(puzzle, {"piece 7"}, &history);
    history.MarkSaved();
    EXPECT_TRUE(history.AtSavedPoint());
    Drop(puzzle, {"piece 8"}, &history);
    EXPECT_FALSE(history.AtSavedPoint());
    history.Undo(puzzle);
    EXPECT_TRUE(history.AtSavedPoint());
    history.Undo(puzzle);
    EXPECT_FALSE(history.AtSavedPoint());
    history.Redo(puzzle);
    EXPECT_TRUE(history.AtSavedPoint());
    // A new drop after the saved state was undone makes it unreachable.
    history.Undo(puzzle);
    Drop(puzzle, {"piece 9"}, &history);
    EXPECT_FALSE(history.CanRedo());
    while (history.CanUndo()) {
        EXPECT_FALSE(history.AtSavedPoint());
        history.Undo(puzzle);
    }

    history.Clear();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CellWinner(0).has_value());
    // A history cleared for another puzzle does not touch it.
    Drop(puzzle, {"piece 10"}, &history);
    Puzzle other;
    MakePuzzle(other);
    other.AnswerImage = test::SolidImage(40, 23, 0, 0, 0);
    other.MosaicCanvas = test::SolidImage(40, 23, 0, 0, 0);
    EXPECT_FALSE(history.Undo(other).has_value());
    EXPECT_FALSE(history.CanUndo());
}

}  // namespace
}  // namespace tama05
