#include "app/dialogs/answer_image_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/dialogs/piece_folder_dialog.h"
#include "app/dialogs/piece_size_dialog.h"
#include "app/dialogs/puzzle_creation_dialogs.h"
#include "core/random_generator.h"
#include "dialog_fixtures.h"
#include "modal_driver.h"
#include "temp_folder.h"

namespace tama05 {
namespace {

namespace fs = std::filesystem;
using Message = RecordingMessageSink::Message;
using test::ModalDriver;

// A folder of answer pictures: a.bmp (30 × 20, red and blue), b.JPG, c.png (with alpha), a
// corrupt bad.png, and two files the picture types do not list.
class AnswerImageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = temp.path() / "answers";
        fs::create_directories(folder);
        test::WriteBmp(folder / "a.bmp", test::RedBlueImage(30, 20));
        test::WriteJpeg(folder / "b.JPG", test::SolidImage(24, 16, 0, 0, 200));
        AlphaPlane alpha;
        alpha.FillOpaque(40, 30);
        alpha.values[0] = 7;
        test::WritePng(folder / "c.png", test::RedBlueImage(40, 30), &alpha);
        test::WriteFile(folder / "bad.png", "\x89PNG\r\n\x1a\n but nothing more");
        test::WriteFile(folder / "notes.txt", "text");
        test::WriteFile(folder / "d.jpeg", "not listed by *.jpg");
        settings.answerFolder = folder;
    }

    test::TempFolder temp;
    fs::path folder;
    AppSettings settings;
    RecordingMessageSink messages;
};

TEST_F(AnswerImageTest, ShowsItsTitleTypesAndPreviewPanel) {
    AnswerImageDialog dialog(nullptr, folder);
    EXPECT_EQ(dialog.windowTitle(), "答え画像を選ぶ");
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    QStringList shown;
    for (int i = 0; i < types->count(); ++i) {
        shown << types->itemText(i);
    }
    EXPECT_EQ(shown, QStringList({"IMG (*.JPG, *.BMP, *PNG)", "JPEG (*.JPG)", "Bitmap (*.BMP)",
                                  "PNG (*.PNG)"}));
    EXPECT_EQ(dialog.SelectedFilterIndex(), 0);
    EXPECT_EQ(dialog.defaultSuffix(), "jpg");
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(ToPath(dialog.directory().absolutePath()), folder);

    auto* group = dialog.findChild<QGroupBox*>("previewGroup");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), "プレビュー");
    QStringList labels;
    for (const auto* label : group->findChildren<QLabel*>()) {
        labels << label->text();
    }
    for (const char* text : {"ファイル名 :", "幅 :", "高さ :"}) {
        EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
    }
    EXPECT_EQ(dialog.PictureBox()->size(), QSize(120, 110));
    // Nothing chosen yet.
    EXPECT_EQ(dialog.PreviewName(), "---");
    EXPECT_EQ(dialog.PreviewImage().size(), QSize(120, 110));
}

TEST_F(AnswerImageTest, EachTypeListsItsPictures) {
    AnswerImageDialog dialog(nullptr, folder);
    dialog.show();
    EXPECT_EQ(test::ListedNames(&dialog, 4), QStringList({"a.bmp", "b.JPG", "bad.png", "c.png"}));
    dialog.SelectFilter(1);
    EXPECT_EQ(test::ListedNames(&dialog, 1), QStringList({"b.JPG"}));
    dialog.SelectFilter(2);
    EXPECT_EQ(test::ListedNames(&dialog, 1), QStringList({"a.bmp"}));
    dialog.SelectFilter(3);
    EXPECT_EQ(test::ListedNames(&dialog, 2), QStringList({"bad.png", "c.png"}));
    EXPECT_EQ(dialog.SelectedFilterIndex(), 3);
}

TEST_F(AnswerImageTest, PreviewFollowsTheCurrentFile) {
    AnswerImageDialog dialog(nullptr, folder);
    dialog.show();
    ASSERT_TRUE(test::MakeCurrent(&dialog, folder / "a.bmp"));
    EXPECT_EQ(dialog.PreviewName(), "a.bmp");
    EXPECT_EQ(dialog.PreviewWidth(), "30");
    EXPECT_EQ(dialog.PreviewHeight(), "20");
    QImage preview = dialog.PreviewImage();
    ASSERT_EQ(preview.size(), QSize(120, 110));
    EXPECT_EQ(preview.pixelColor(5, 5), QColor(255, 0, 0));      // stretched, left half red
    EXPECT_EQ(preview.pixelColor(114, 104), QColor(0, 0, 255));  // right half blue
    EXPECT_EQ(dialog.PictureBox()->pixmap().size(), QSize(120, 110));

    ASSERT_TRUE(test::MakeCurrent(&dialog, folder / "bad.png"));
    EXPECT_EQ(dialog.PreviewName(), "---");
    EXPECT_EQ(dialog.PreviewWidth(), "0");
    EXPECT_EQ(dialog.PreviewHeight(), "0");
    preview = dialog.PreviewImage();
    EXPECT_EQ(preview.pixelColor(60, 55), QColor(0, 0, 0));

    ASSERT_TRUE(test::MakeCurrent(&dialog, folder / "b.JPG"));
    EXPECT_EQ(dialog.PreviewName(), "b.JPG");
    EXPECT_EQ(dialog.PreviewWidth(), "24");
}

TEST_F(AnswerImageTest, OpensLeftOfWhereQtWouldPlaceIt) {
    QWidget owner;
    owner.setGeometry(150, 100, 600, 400);
    owner.show();
    FilteredFileDialog plain(&owner, "plain");
    AnswerImageDialog dialog(&owner, folder);
    dialog.resize(dialog.minimumSizeHint().expandedTo(QSize(400, 300)));
    plain.resize(dialog.size());
    plain.show();
    dialog.show();
    ASSERT_EQ(dialog.width(), plain.width());
    EXPECT_EQ(dialog.x(), plain.x() - 120);
    EXPECT_EQ(dialog.y(), plain.y());
    EXPECT_GT(plain.x(), 120) << "placed over its owner";
}

TEST_F(AnswerImageTest, ChoosingAPictureReadsItAndKeepsItsFolder) {
    PuzzleCreationDialogs dialogs(nullptr, settings, messages);
    QString title;
    dialogs.SetViewTitleHandler([&](const QString& text) { title = text; });
    settings.answerFolder = temp.path();  // opens here; the file is chosen elsewhere
    ModalDriver driver({[&](QWidget* modal) {
        auto* dialog = qobject_cast<AnswerImageDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        test::TypeName(dialog, ToQString(folder / "c.png"));
        static_cast<QDialog*>(dialog)->accept();
    }});
    Image candidate;
    EXPECT_EQ(dialogs.ChooseAnswerImage(candidate), 0);
    EXPECT_EQ(driver.Remaining(), 0u);
    EXPECT_EQ(candidate.width(), 40);
    EXPECT_EQ(candidate.height(), 30);
    EXPECT_EQ(settings.answerFolder, folder);
    EXPECT_EQ(title.toStdString(), (folder / "c.png").string() + "（絵師：－－） - nubes view");
    EXPECT_EQ(dialogs.AnswerPath(), folder / "c.png");
    EXPECT_TRUE(dialogs.AnswerInfo().readState.PictureHasAlpha);
    ASSERT_TRUE(dialogs.AnswerInfo().alpha.Matches(40, 30));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(AnswerImageTest, CancellingChangesNothing) {
    PuzzleCreationDialogs dialogs(nullptr, settings, messages);
    bool titled = false;
    dialogs.SetViewTitleHandler([&](const QString&) { titled = true; });
    ModalDriver driver({[&](QWidget* modal) {
        auto* dialog = qobject_cast<AnswerImageDialog*>(modal);
        ASSERT_TRUE(test::MakeCurrent(dialog, folder / "a.bmp"));  // previewed, then cancelled
        dialog->reject();
    }});
    settings.answerFolder = folder / ".";
    Image candidate;
    EXPECT_EQ(dialogs.ChooseAnswerImage(candidate), -1);
    EXPECT_TRUE(candidate.empty());
    EXPECT_EQ(settings.answerFolder, folder / ".");
    EXPECT_FALSE(titled);
}

TEST_F(AnswerImageTest, OnlyTheFirstTypeGoesToThePainterReader) {
    int calls = 0;
    const AnswerFileReader reader = [&](MessageSink&, const fs::path&, Image& answer,
                                        AnswerFileInfo& info) {
        ++calls;
        info.painterName = "絵師さん";
        answer = test::SolidImage(5, 5, 1, 2, 3);
        return 0;
    };
    Image answer;
    AnswerFileInfo info;
    EXPECT_EQ(ReadAnswerChoice(messages, folder / "a.bmp", 0, reader, answer, info), 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(info.painterName, "絵師さん");
    for (int type : {1, 2, 3}) {
        Image picture;
        EXPECT_EQ(ReadAnswerChoice(messages, folder / "a.bmp", type, reader, picture, info), 0);
        EXPECT_EQ(picture.width(), 30) << type;
        EXPECT_EQ(info.painterName, "－－");
    }
    EXPECT_EQ(calls, 1);
    // Without a painter reader the first type reads pictures.
    Image picture;
    EXPECT_EQ(ReadAnswerChoice(messages, folder / "b.JPG", 0, {}, picture, info), 0);
    EXPECT_EQ(picture.width(), 24);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(AnswerImageTest, AFileThatCannotBeOpenedOrReadIsReported) {
    Image answer;
    AnswerFileInfo info;
    const fs::path missing = folder / "gone.png";
    EXPECT_EQ(ReadAnswerChoice(messages, missing, 0, {}, answer, info), -3);
    EXPECT_EQ(messages.messages,
              std::vector<Message>(
                  {{"ファイル生成に失敗しました。", "Read_ESI_CNV"}, {missing.string(), "test"}}));
    messages.messages.clear();
    // A picture that cannot be read completes the dialog with no picture.
    EXPECT_EQ(ReadAnswerChoice(messages, folder / "notes.txt", 0, {}, answer, info), 0);
    EXPECT_TRUE(answer.empty());
    ASSERT_FALSE(messages.messages.empty());
    EXPECT_EQ(messages.messages.back(), (Message{"ファイルの読み込みに失敗しました。", "失敗"}));
}

// The whole creation of a puzzle through the three dialogs.
class NewPuzzleTest : public AnswerImageTest {
  protected:
    void SetUp() override {
        AnswerImageTest::SetUp();
        pieces = temp.path() / "pieces";
        fs::create_directories(pieces);
        test::WriteBmp(pieces / "p1.bmp", test::SolidImage(8, 8, 0, 0, 255));
        test::WriteBmp(pieces / "p2.bmp", test::SolidImage(8, 8, 255, 0, 0));
    }
    static ModalDriver::Step ChooseAnswer(fs::path file) {
        return [file](QWidget* modal) {
            auto* dialog = qobject_cast<AnswerImageDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            test::TypeName(dialog, ToQString(file));
            static_cast<QDialog*>(dialog)->accept();
        };
    }
    static ModalDriver::Step Size(const QString& width, const QString& height) {
        return [width, height](QWidget* modal) {
            auto* dialog = qobject_cast<PieceSizeDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->PieceSizeButton()->setChecked(true);
            dialog->WidthField()->setText(width);
            dialog->HeightField()->setText(height);
            QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        };
    }
    fs::path pieces;
    Puzzle puzzle;
    RandomGenerator random{1};
};

TEST_F(NewPuzzleTest, MakesAPuzzleAndKeepsTheChoices) {
    PuzzleCreationDialogs dialogs(nullptr, settings, messages);
    fs::path shownFolder;
    ModalDriver driver(
        {ChooseAnswer(folder / "a.bmp"),
         [&](QWidget* modal) {
             auto* dialog = qobject_cast<PieceFolderDialog*>(modal);
             ASSERT_NE(dialog, nullptr);
             EXPECT_EQ(dialog->windowTitle(),
                       "画像ファイルのあるフォルダを指定してください。（ピース画像になります）");
             EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
             dialog->setDirectory(ToQString(pieces));
             static_cast<QDialog*>(dialog)->accept();
         },
         Size("10", "5")});
    const NewPuzzleResult result = NewPuzzle(puzzle, dialogs, messages, random);
    EXPECT_EQ(driver.Remaining(), 0u);
    EXPECT_EQ(result.outcome, NewPuzzleOutcome::kReady);
    EXPECT_EQ(puzzle.state, PuzzleState::kReady);
    EXPECT_EQ(puzzle.AnswerImage.width(), 30);
    EXPECT_EQ(puzzle.pieceWidth, 10);
    EXPECT_EQ(puzzle.pieceHeight, 5);
    EXPECT_EQ(puzzle.PieceFolder, pieces);
    EXPECT_EQ(settings.pieceFolder, pieces);
    EXPECT_EQ(settings.answerFolder, folder);
    EXPECT_EQ(settings.pieceWidth, 10);
    EXPECT_EQ(settings.pieceHeight, 5);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(NewPuzzleTest, TheFolderBrowserOpensOnTheCurrentFolderAndACancelKeepsIt) {
    puzzle.PieceFolder = pieces;
    PuzzleCreationDialogs dialogs(nullptr, settings, messages);
    fs::path shown;
    ModalDriver driver({ChooseAnswer(folder / "a.bmp"),
                        [&](QWidget* modal) {
                            auto* dialog = qobject_cast<PieceFolderDialog*>(modal);
                            ASSERT_NE(dialog, nullptr);
                            shown = ToPath(dialog->directory().absolutePath());
                            dialog->reject();
                        },
                        Size("6", "6")});
    const NewPuzzleResult result = NewPuzzle(puzzle, dialogs, messages, random);
    EXPECT_EQ(shown, pieces);
    EXPECT_EQ(result.outcome, NewPuzzleOutcome::kReady);
    EXPECT_EQ(puzzle.PieceFolder, pieces);
    EXPECT_TRUE(settings.pieceFolder.empty());  // nothing was browsed
}

TEST_F(NewPuzzleTest, ConfirmingTheFolderBrowserAtOnceKeepsTheFolder) {
    PuzzleCreationDialogs dialogs(nullptr, settings, messages);
    fs::path folderChoice = pieces;
    ModalDriver driver({[](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); }});
    EXPECT_TRUE(dialogs.ChoosePieceFolder(folderChoice));
    EXPECT_EQ(folderChoice, pieces);
    EXPECT_EQ(settings.pieceFolder, pieces);
}

TEST_F(NewPuzzleTest, CancellingThePieceSizeLeavesThePuzzleAsItWas) {
    PuzzleCreationDialogs dialogs(nullptr, settings, messages);
    puzzle.PieceFolder = pieces;
    ModalDriver driver({ChooseAnswer(folder / "a.bmp"),
                        [](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); },
                        [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); }});
    const NewPuzzleResult result = NewPuzzle(puzzle, dialogs, messages, random);
    EXPECT_EQ(result.outcome, NewPuzzleOutcome::kCancelled);
    EXPECT_EQ(puzzle.state, PuzzleState::kNone);
    EXPECT_TRUE(puzzle.AnswerImage.empty());
}

}  // namespace
}  // namespace tama05
