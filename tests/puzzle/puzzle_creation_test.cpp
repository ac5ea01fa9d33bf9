#include "puzzle/puzzle_creation.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "core/atomic_file.h"
#include "core/bmp_file.h"
#include "core/jpeg_file.h"
#include "puzzle/puzzle_io.h"
#include "temp_folder.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

using test::SolidImage;

// Dialogs answered by the test.
class ScriptedDialogs : public NewPuzzleDialogs {
public:
    int ChooseAnswerImage(Image& candidate) override {
        if (answerResult == 0) {
            candidate.CopyFrom(answer);
        }
        return answerResult;
    }
    bool ChoosePieceFolder(std::filesystem::path& chosen) override {
        if (folder.empty()) {
            return false;
        }
        chosen = folder;
        return true;
    }
    bool ChoosePieceSize(int32_t width, int32_t height, int32_t& w, int32_t& h) override {
        askedWidth = width;
        askedHeight = height;
        w = pieceWidth;
        h = pieceHeight;
        return pieceSizeAccepted;
    }

    Image answer = SolidImage(40, 20, 60, 60, 60);
    int answerResult = 0;
    std::filesystem::path folder;
    int32_t pieceWidth = 10;
    int32_t pieceHeight = 10;
    bool pieceSizeAccepted = true;
    int32_t askedWidth = 0;
    int32_t askedHeight = 0;
};

void WriteBmp(const std::filesystem::path& path, uint8_t grey) {
    ASSERT_EQ(WriteFileAtomically(path, EncodeBmp(SolidImage(6, 6, grey, grey, grey))), 0);
}

void WriteJpeg(const std::filesystem::path& path, uint8_t grey) {
    std::vector<uint8_t> bytes;
    ASSERT_EQ(WriteJpegStream(bytes, SolidImage(6, 6, grey, grey, grey), 95, false), 1);
    ASSERT_EQ(WriteFileAtomically(path, bytes), 0);
}

// A ready puzzle the creation must leave alone when it is cancelled.
void MakeExistingPuzzle(Puzzle& puzzle) {
    puzzle.AnswerImage = SolidImage(8, 8, 1, 2, 3);
    puzzle.MosaicCanvas = SolidImage(8, 8, 4, 5, 6);
    puzzle.pieceWidth = 4;
    puzzle.pieceHeight = 4;
    puzzle.PieceScores.AllocateFilled(4, 50);
    puzzle.PuzzleScore = 50;
    puzzle.state = PuzzleState::kReady;
    puzzle.saveState = SaveState::kSaved;
    puzzle.fileName = "old.tgr";
    puzzle.PieceFolder = "/old/folder";
}

void ExpectUntouched(const Puzzle& puzzle) {
    EXPECT_EQ(puzzle.AnswerImage.width(), 8);
    EXPECT_EQ(puzzle.pieceWidth, 4);
    EXPECT_EQ(puzzle.state, PuzzleState::kReady);
    EXPECT_EQ(puzzle.saveState, SaveState::kSaved);
    EXPECT_EQ(puzzle.fileName, "old.tgr");
    EXPECT_EQ(puzzle.PuzzleScore, 50);
}

TEST(NewPuzzleTest, FillsFromTheFirstTenPicturesBitmapsFirst) {
    test::TempFolder folder;
    for (int i = 0; i < 20; ++i) {
        // JPEG greys far from the answer, except the 8th JPEG, which is never used.
        WriteJpeg(folder.path() / ("j" + std::to_string(10 + i) + ".jpg"), i == 7 ? 60 : 250);
    }
    for (int i = 0; i < 3; ++i) {
        WriteBmp(folder.path() / ("b" + std::to_string(i) + ".bmp"), static_cast<uint8_t>(200 + i));
    }
    Puzzle puzzle;
    MakeExistingPuzzle(puzzle);
    ScriptedDialogs dialogs;
    dialogs.folder = folder.path();
    RecordingMessageSink messages;
    RandomGenerator random(1);
    const NewPuzzleResult result = NewPuzzle(puzzle, dialogs, messages, random);
    ASSERT_EQ(result.outcome, NewPuzzleOutcome::kReady);
    ASSERT_TRUE(result.fill);
    EXPECT_EQ(result.fill->pieces,
              (std::vector<std::string>{"b0.bmp", "b1.bmp", "b2.bmp", "j10.jpg", "j11.jpg",
                                        "j12.jpg", "j13.jpg", "j14.jpg", "j15.jpg", "j16.jpg"}));
    EXPECT_EQ(puzzle.state, PuzzleState::kReady);
    EXPECT_EQ(puzzle.saveState, SaveState::kChanged);
    EXPECT_TRUE(puzzle.fileName.empty());
    EXPECT_EQ(puzzle.PieceFolder, folder.path());
    EXPECT_EQ(puzzle.PieceScores.count(), 8);
    EXPECT_EQ(dialogs.askedWidth, 40);
    // The nearest piece is the brightest bitmap: the 60-grey JPEG was the 17th name.
    EXPECT_EQ(test::BlueAt(puzzle.MosaicCanvas, 0, 0), 200);
    EXPECT_EQ(result.fill->score.newScore, puzzle.PuzzleScore);
    EXPECT_EQ(result.fill->score.oldScore, 50);  // compared with the previous puzzle's score
    EXPECT_TRUE(messages.messages.empty());
}

TEST(NewPuzzleTest, CancelledOrUnreadableAnswersChangeNothing) {
    Puzzle puzzle;
    MakeExistingPuzzle(puzzle);
    ScriptedDialogs dialogs;
    NullMessageSink messages;
    RandomGenerator random(1);
    for (int answerResult : {-1, -3}) {
        dialogs.answerResult = answerResult;
        EXPECT_EQ(NewPuzzle(puzzle, dialogs, messages, random).outcome,
                  NewPuzzleOutcome::kCancelled);
        ExpectUntouched(puzzle);
    }
}

TEST(NewPuzzleTest, CancelledPieceSizeKeepsThePuzzleButTheFolderChoice) {
    Puzzle puzzle;
    MakeExistingPuzzle(puzzle);
    ScriptedDialogs dialogs;
    dialogs.folder = "/new/folder";
    dialogs.pieceSizeAccepted = false;
    NullMessageSink messages;
    RandomGenerator random(1);
    EXPECT_EQ(NewPuzzle(puzzle, dialogs, messages, random).outcome, NewPuzzleOutcome::kCancelled);
    ExpectUntouched(puzzle);
    EXPECT_EQ(puzzle.PieceFolder, "/new/folder");
}

TEST(NewPuzzleTest, ACancelledFolderBrowserReusesThePreviousFolder) {
    test::TempFolder folder;
    WriteBmp(folder.path() / "a.bmp", 60);
    Puzzle puzzle;
    puzzle.PieceFolder = folder.path();
    ScriptedDialogs dialogs;  // no folder: the browser is cancelled
    NullMessageSink messages;
    RandomGenerator random(1);
    const NewPuzzleResult result = NewPuzzle(puzzle, dialogs, messages, random);
    ASSERT_EQ(result.outcome, NewPuzzleOutcome::kReady);
    EXPECT_EQ(puzzle.PuzzleScore, 100);
}

TEST(NewPuzzleTest, AnEmptyFolderLeavesTheAnswerWithoutAMosaic) {
    test::TempFolder folder;
    Puzzle puzzle;
    ScriptedDialogs dialogs;
    dialogs.folder = folder.path();
    RecordingMessageSink messages;
    RandomGenerator random(1);
    EXPECT_EQ(NewPuzzle(puzzle, dialogs, messages, random).outcome, NewPuzzleOutcome::kFillFailed);
    EXPECT_EQ(puzzle.state, PuzzleState::kBeingMade);
    EXPECT_EQ(puzzle.AnswerImage.width(), 40);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              "フォルダ内に画像ファイル(*.bmpまたは*.pngまたは*.jpg)が見つかりません。");
    EXPECT_EQ(messages.messages[0].caption, "エラー");
}

TEST(FillFromFolderTest, WithoutAnAnswerOnlyComplainsWhenAsked) {
    Puzzle puzzle;
    RecordingMessageSink messages;
    RandomGenerator random(1);
    EXPECT_FALSE(FillFromFolder(puzzle, messages, false, 10, random));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_FALSE(FillFromFolder(puzzle, messages, true, 10, random));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "まだ原画を読み込んでいません。");
    EXPECT_EQ(messages.messages[0].caption, "原画を読み込んでください。");
}

TEST(LoadPieceTest, AnUnreadableFileBecomesABlackPiece) {
    test::TempFolder folder;
    RecordingMessageSink messages;
    Image piece;
    EXPECT_EQ(LoadPiece(messages, folder.path() / "missing.gif", piece, 5, 3), -1);
    EXPECT_EQ(piece.width(), 5);
    EXPECT_EQ(piece.height(), 3);
    EXPECT_EQ(test::BlueAt(piece, 4, 2), 0);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "ファイルの読み込みに失敗しました。未対応のファイルです。");
}

TEST(OpenPuzzleFileTest, AFailedOpenLeavesThePuzzleExactlyAsItWas) {
    test::TempFolder folder;
    std::ofstream(folder.path() / "bad.tgr") << "tgr file 01 and then nothing useful";
    Puzzle puzzle;
    MakeExistingPuzzle(puzzle);
    NullMessageSink messages;
    bool viewCalled = false;
    PuzzleOpenView view{[&](int32_t) { viewCalled = true; }, [&](int32_t) { viewCalled = true; }};
    EXPECT_EQ(OpenPuzzleFile(puzzle, folder.path() / "bad.tgr", messages, view), -1);
    ExpectUntouched(puzzle);
    EXPECT_FALSE(viewCalled);
}

TEST(OpenPuzzleFileTest, ASavedPuzzleOpensReadyWithItsSliderAndScore) {
    test::TempFolder folder;
    Puzzle saved;
    MakeExistingPuzzle(saved);
    saved.BlendValue = 130;
    RecordingMessageSink messages;
    ASSERT_EQ(SavePuzzle(saved, folder.path() / "p.tgr", messages), 0);

    Puzzle puzzle;
    int32_t slider = -1;
    int32_t score = -1;
    int32_t version = -1;
    PuzzleOpenView view{[&](int32_t v) { slider = v; }, [&](int32_t s) { score = s; }};
    ASSERT_EQ(OpenPuzzleFile(puzzle, folder.path() / "p.tgr", messages, view, &version), 0);
    EXPECT_EQ(puzzle.state, PuzzleState::kReady);
    EXPECT_EQ(puzzle.BlendValue, 130);
    EXPECT_EQ(slider, 130);
    EXPECT_EQ(score, 50);
    EXPECT_EQ(version, 1);
    EXPECT_EQ(test::BlueAt(puzzle.MosaicCanvas, 7, 7), 4);
    EXPECT_EQ(puzzle.AnswerImage.info.biWidth, 8);
}

}  // namespace
}  // namespace tama05
