// The one road of a save and of an export: what it writes, what it changes in the puzzle, and
// that its messages reach the player only once the puzzle is free again.
#include "puzzle/save_or_export.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/image_file.h"
#include "core/message_sink.h"
#include "puzzle/puzzle_io.h"
#include "temp_folder.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

namespace fs = std::filesystem;
using Message = RecordingMessageSink::Message;

// A ready 30 × 20 puzzle: a blue mosaic over a green answer, the mosaic shown.
struct ReadyPuzzle {
    ReadyPuzzle() {
        puzzle.AnswerImage = test::SolidImage(30, 20, 0, 200, 0);
        puzzle.MosaicCanvas = test::SolidImage(30, 20, 255, 0, 0);
        puzzle.pieceWidth = 10;
        puzzle.pieceHeight = 10;
        puzzle.PieceScores.AllocateFilled(6, 40);
        puzzle.PuzzleScore = 40;
        puzzle.BlendValue = 255;
        puzzle.state = PuzzleState::kReady;
        puzzle.saveState = SaveState::kChanged;
    }
    Puzzle puzzle;
};

// Records each message and whether the puzzle could be locked while it was shown: a message
// box runs a nested event loop whose redraw takes the puzzle's lock on the same thread.
class LockProbeSink final : public MessageSink {
  public:
    explicit LockProbeSink(const Puzzle& puzzle) : m_puzzle(puzzle) {}
    void ShowMessage(std::string_view text, std::string_view caption) override {
        messages.push_back({std::string(text), std::string(caption)});
        lockedWhileShown += m_puzzle.TryWithLock([](const Puzzle&) {}) ? 0 : 1;
    }
    std::vector<Message> messages;
    int lockedWhileShown = 0;

  private:
    const Puzzle& m_puzzle;
};

TEST(SaveOrExportTest, KindsFollowTheExtensionInAnyCaseAndTheDialogsFilterOrder) {
    EXPECT_EQ(SaveKindForExtension("a/b.TGR"), SaveKind::kPuzzleFile);
    EXPECT_EQ(SaveKindForExtension("b.jpg"), SaveKind::kJpeg);
    EXPECT_EQ(SaveKindForExtension("b.JPEG"), SaveKind::kJpeg);
    EXPECT_EQ(SaveKindForExtension("b.Bmp"), SaveKind::kBmp);
    EXPECT_EQ(SaveKindForExtension("b.png"), SaveKind::kPng);
    EXPECT_EQ(SaveKindForExtension("b.gif"), std::nullopt);
    EXPECT_EQ(SaveKindForExtension("png"), std::nullopt);
    EXPECT_EQ(SaveKindForFilter(0), SaveKind::kPuzzleFile);
    EXPECT_EQ(SaveKindForFilter(1), SaveKind::kJpeg);
    EXPECT_EQ(SaveKindForFilter(2), SaveKind::kBmp);
    EXPECT_EQ(SaveKindForFilter(3), SaveKind::kPng);
    EXPECT_EQ(SaveKindForFilter(4), SaveKind::kPuzzleFile);
    EXPECT_EQ(SaveKindForFilter(-1), SaveKind::kPuzzleFile);
}

TEST(SaveOrExportTest, SavingAPuzzleFileNamesThePuzzleAndMarksItSaved) {
    test::TempFolder temp;
    ReadyPuzzle ready;
    RecordingMessageSink messages;
    EXPECT_EQ(SaveOrExport(ready.puzzle, {temp.path() / "p.tgr", SaveKind::kPuzzleFile}, messages),
              0);
    EXPECT_EQ(ready.puzzle.fileName, temp.path() / "p.tgr");
    EXPECT_EQ(ready.puzzle.saveState, SaveState::kSaved);
    Puzzle reopened;
    EXPECT_EQ(OpenPuzzleFile(reopened, temp.path() / "p.tgr", messages), 0);
    EXPECT_EQ(reopened.AnswerImage.width(), 30);
    EXPECT_TRUE(messages.messages.empty());
}

TEST(SaveOrExportTest, ExportsWriteTheBlendAndChangeNothingInThePuzzle) {
    test::TempFolder temp;
    ReadyPuzzle ready;
    ready.puzzle.fileName = "/earlier/name.tgr";
    RecordingMessageSink messages;
    for (const char* name : {"p.jpg", "p.bmp", "p.png"}) {
        const fs::path path = temp.path() / name;
        EXPECT_EQ(SaveOrExport(ready.puzzle, {path, *SaveKindForExtension(path)}, messages), 0);
        Image written;
        EXPECT_EQ(LoadImageFile(messages, path, written), 0) << name;
        EXPECT_EQ(written.width(), 30) << name;
        EXPECT_EQ(ready.puzzle.fileName, fs::path("/earlier/name.tgr"));
        EXPECT_EQ(ready.puzzle.saveState, SaveState::kChanged);
    }
    // The puzzle's blend (the mosaic) exactly, and a given blend (the answer) instead.
    Image bmp;
    ASSERT_EQ(LoadImageFile(messages, temp.path() / "p.bmp", bmp), 0);
    EXPECT_EQ(test::BlueAt(bmp, 29, 19), 255);
    EXPECT_EQ(SaveOrExport(ready.puzzle, {temp.path() / "a.bmp", SaveKind::kBmp, 0}, messages), 0);
    ASSERT_EQ(LoadImageFile(messages, temp.path() / "a.bmp", bmp), 0);
    EXPECT_EQ(test::BlueAt(bmp, 29, 19), 0);
    EXPECT_EQ(ready.puzzle.BlendValue, 255);
    EXPECT_TRUE(messages.messages.empty());
}

TEST(SaveOrExportTest, AFailedSaveIsShownOnceThePuzzleIsFree) {
    test::TempFolder temp;
    ReadyPuzzle ready;
    LockProbeSink messages(ready.puzzle);
    const fs::path nowhere = temp.path() / "missing" / "p.tgr";
    EXPECT_EQ(SaveOrExport(ready.puzzle, {nowhere, SaveKind::kPuzzleFile}, messages), -1);
    // The name is taken even so (a later overwrite save goes there); the work stays unsaved.
    EXPECT_EQ(ready.puzzle.fileName, nowhere);
    EXPECT_EQ(ready.puzzle.saveState, SaveState::kChanged);
    EXPECT_EQ(messages.messages,
              std::vector<Message>({{"ファイルオープンに失敗しました。SAVE_TGR", "失敗"}}));

    for (const char* name : {"p.jpg", "p.bmp", "p.png"}) {
        const fs::path path = temp.path() / "missing" / name;
        EXPECT_LT(SaveOrExport(ready.puzzle, {path, *SaveKindForExtension(path)}, messages), 0);
    }
    EXPECT_EQ(messages.messages.size(), 4u);
    EXPECT_EQ(messages.lockedWhileShown, 0);
}

TEST(SaveOrExportTest, NothingToSaveIsRefused) {
    test::TempFolder temp;
    Puzzle empty;
    RecordingMessageSink messages;
    EXPECT_EQ(SaveOrExport(empty, {temp.path() / "p.tgr", SaveKind::kPuzzleFile}, messages), -1);
    EXPECT_EQ(
        messages.messages,
        std::vector<Message>({{"保存すべきものが読み込まれていません。", "保存できません。"}}));
    EXPECT_FALSE(fs::exists(temp.path() / "p.tgr"));
    EXPECT_TRUE(empty.fileName.empty());
}

}  // namespace
}  // namespace tama05
