#include "app/dialogs/save_as_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>

#include "app/dialogs/save_chosen_file.h"
#include "core/image_file.h"
#include "dialog_fixtures.h"
#include "modal_driver.h"
#include "puzzle/puzzle_io.h"
#include "temp_folder.h"

namespace tama05 {
namespace {

namespace fs = std::filesystem;
using Message = RecordingMessageSink::Message;
using test::ModalDriver;

class SaveAsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = temp.path() / "saved";
        fs::create_directories(folder);
        settings.saveFolder = folder;
    }
    // Types a name under a type and confirms.
    static ModalDriver::Step SaveAs(QString name, int type) {
        return [name, type](QWidget* modal) {
            auto* dialog = qobject_cast<SaveAsDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->SelectFilter(type);
            test::TypeName(dialog, name);
            static_cast<QDialog*>(dialog)->accept();
        };
    }
    static ModalDriver::Step Answer(QMessageBox::StandardButton button) {
        return [button](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            box->button(button)->click();
        };
    }
    test::TempFolder temp;
    fs::path folder;
    AppSettings settings;
};

TEST_F(SaveAsTest, ShowsItsTitleAndTypesInOrder) {
    SaveAsDialog dialog(nullptr, folder);
    EXPECT_EQ(dialog.windowTitle(), "画像を保存する。");
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    QStringList shown;
    for (int i = 0; i < types->count(); ++i) {
        shown << types->itemText(i);
    }
    EXPECT_EQ(shown, QStringList({"玉五郎ファイル (*.TGR)", "JPEG (*.JPG)", "Bitmap (*.BMP)",
                                  "PNG (*.PNG)"}));
    EXPECT_EQ(dialog.SelectedKind(), SaveKind::kPuzzleFile);
    EXPECT_EQ(dialog.defaultSuffix(), "tgr");
    EXPECT_EQ(ToPath(dialog.directory().absolutePath()), folder);
}

TEST_F(SaveAsTest, ANameWithoutSuffixTakesTheSelectedTypes) {
    const std::pair<int, const char*> cases[] = {{0, "tgr"}, {1, "jpg"}, {2, "bmp"}, {3, "png"}};
    for (const auto& [type, suffix] : cases) {
        ModalDriver driver({SaveAs("picture", type)});
        const auto choice = ChooseSaveFile(nullptr, settings);
        ASSERT_TRUE(choice.has_value());
        EXPECT_EQ(choice->path, folder / ("picture." + std::string(suffix)));
        EXPECT_EQ(static_cast<int>(choice->kind), type);
    }
}

TEST_F(SaveAsTest, ChoosingKeepsTheFolderAndCancellingDoesNot) {
    const fs::path elsewhere = temp.path() / "elsewhere";
    fs::create_directories(elsewhere);
    {
        ModalDriver driver({SaveAs(ToQString(elsewhere / "x.tgr"), 0)});
        const auto choice = ChooseSaveFile(nullptr, settings);
        ASSERT_TRUE(choice.has_value());
        EXPECT_EQ(choice->path, elsewhere / "x.tgr");
        EXPECT_EQ(settings.saveFolder, elsewhere);
    }
    {
        ModalDriver driver({[](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); }});
        EXPECT_FALSE(ChooseSaveFile(nullptr, settings).has_value());
        EXPECT_EQ(settings.saveFolder, elsewhere);
    }
}

TEST_F(SaveAsTest, AnExistingFileIsReplacedOnlyAfterTheQuestion) {
    test::WriteFile(folder / "old.tgr", "old");
    {
        // "No" returns to the dialog, which is then cancelled.
        ModalDriver driver({SaveAs("old.tgr", 0), Answer(QMessageBox::No), [](QWidget* modal) {
                                ASSERT_NE(qobject_cast<SaveAsDialog*>(modal), nullptr);
                                qobject_cast<QDialog*>(modal)->reject();
                            }});
        EXPECT_FALSE(ChooseSaveFile(nullptr, settings).has_value());
        EXPECT_EQ(driver.Remaining(), 0u);
    }
    {
        ModalDriver driver({SaveAs("old.tgr", 0), Answer(QMessageBox::Yes)});
        const auto choice = ChooseSaveFile(nullptr, settings);
        ASSERT_TRUE(choice.has_value());
        EXPECT_EQ(choice->path, folder / "old.tgr");
    }
}

// A ready 30 × 20 puzzle, half answer and half mosaic shown.
struct ReadyPuzzle {
    ReadyPuzzle() {
        puzzle.AnswerImage = test::SolidImage(30, 20, 0, 200, 0);
        puzzle.MosaicCanvas = test::RedBlueImage(30, 20);
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

TEST_F(SaveAsTest, SavingAPuzzleFileNamesThePuzzleAndMarksItSaved) {
    ReadyPuzzle ready;
    RecordingMessageSink messages;
    const SaveChoice choice{folder / "p.tgr", SaveKind::kPuzzleFile};
    EXPECT_EQ(SaveChosenFile(ready.puzzle, choice, messages, nullptr), 0);
    EXPECT_EQ(ready.puzzle.fileName, folder / "p.tgr");
    EXPECT_EQ(ready.puzzle.saveState, SaveState::kSaved);
    Puzzle reopened;
    EXPECT_EQ(OpenPuzzleFile(reopened, folder / "p.tgr", messages), 0);
    EXPECT_EQ(reopened.AnswerImage.width(), 30);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SaveAsTest, ExportsChangeNothingInThePuzzle) {
    ReadyPuzzle ready;
    ready.puzzle.fileName = "/earlier/name.tgr";
    RecordingMessageSink messages;
    for (const auto& [name, kind] :
         {std::pair{"p.jpg", SaveKind::kJpeg}, std::pair{"p.bmp", SaveKind::kBmp},
          std::pair{"p.png", SaveKind::kPng}}) {
        EXPECT_EQ(SaveChosenFile(ready.puzzle, {folder / name, kind}, messages, nullptr), 0);
        Image written;
        EXPECT_EQ(LoadImageFile(messages, folder / name, written), 0) << name;
        EXPECT_EQ(written.width(), 30) << name;
        EXPECT_EQ(ready.puzzle.fileName, fs::path("/earlier/name.tgr"));
        EXPECT_EQ(ready.puzzle.saveState, SaveState::kChanged);
    }
    // The BMP holds the mosaic (blend 255) exactly.
    Image bmp;
    ASSERT_EQ(LoadImageFile(messages, folder / "p.bmp", bmp), 0);
    EXPECT_EQ(test::BlueAt(bmp, 29, 0), 255);
    EXPECT_EQ(test::BlueAt(bmp, 0, 0), 0);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SaveAsTest, AFailedSaveChangesNothingAndIsReported) {
    ReadyPuzzle ready;
    RecordingMessageSink messages;
    const SaveChoice choice{folder / "missing" / "p.tgr", SaveKind::kPuzzleFile};
    EXPECT_EQ(SaveChosenFile(ready.puzzle, choice, messages, nullptr), -1);
    EXPECT_TRUE(ready.puzzle.fileName.empty());
    EXPECT_EQ(ready.puzzle.saveState, SaveState::kChanged);
    EXPECT_EQ(messages.messages,
              std::vector<Message>({{"ファイルオープンに失敗しました。SAVE_TGR", "失敗"}}));

    messages.messages.clear();
    EXPECT_LT(SaveChosenFile(ready.puzzle, {folder / "missing" / "p.bmp", SaveKind::kBmp}, messages,
                             nullptr),
              0);
    EXPECT_EQ(messages.messages.size(), 1u);
}

TEST_F(SaveAsTest, NothingToSaveIsRefused) {
    Puzzle empty;
    RecordingMessageSink messages;
    EXPECT_EQ(SaveChosenFile(empty, {folder / "p.tgr", SaveKind::kPuzzleFile}, messages, nullptr),
              -1);
    EXPECT_EQ(
        messages.messages,
        std::vector<Message>({{"保存すべきものが読み込まれていません。", "保存できません。"}}));
    EXPECT_FALSE(fs::exists(folder / "p.tgr"));
}

}  // namespace
}  // namespace tama05
