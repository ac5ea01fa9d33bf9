#include "app/dialogs/open_puzzle_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include "dialog_fixtures.h"
#include "modal_driver.h"
#include "puzzle/puzzle_io.h"
#include "temp_folder.h"

namespace tama05 {
namespace {

namespace fs = std::filesystem;
using test::ModalDriver;

// good.tgr holds a 60 × 40 red-and-blue mosaic; bad.tgr starts like a puzzle file and stops.
class OpenPuzzleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = temp.path() / "puzzles";
        fs::create_directories(folder);
        test::WritePuzzle(folder / "good.tgr", test::RedBlueImage(60, 40));
        test::WriteFile(folder / "bad.tgr", std::string("tgr file 01\0\1\0\0\0", 16));
        test::WriteFile(folder / "other.png", "not listed");
        settings.openFolder = folder;
    }
    test::TempFolder temp;
    fs::path folder;
    AppSettings settings;
};

TEST_F(OpenPuzzleTest, ShowsItsTitleTypeAndPreviewPanel) {
    OpenPuzzleDialog dialog(nullptr, folder);
    EXPECT_EQ(dialog.windowTitle(), "パズルファイルを開く");
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 1);
    EXPECT_EQ(types->itemText(0), "TGR (*.TGR)");
    EXPECT_EQ(dialog.defaultSuffix(), "tgr");
    EXPECT_EQ(dialog.findChild<QGroupBox*>("previewGroup")->title(), "プレビュー");
    EXPECT_EQ(dialog.PictureBox()->size(), QSize(120, 110));
    dialog.show();
    EXPECT_EQ(test::ListedNames(&dialog, 2), QStringList({"bad.tgr", "good.tgr"}));
}

TEST_F(OpenPuzzleTest, PreviewShowsTheThumbnailOrNothing) {
    OpenPuzzleDialog dialog(nullptr, folder);
    dialog.show();
    ASSERT_TRUE(test::MakeCurrent(&dialog, folder / "good.tgr"));
    EXPECT_EQ(dialog.PreviewName(), "good.tgr");
    EXPECT_EQ(dialog.PreviewWidth(), "120");
    EXPECT_EQ(dialog.PreviewHeight(), "110");
    QImage preview = dialog.PreviewImage();
    ASSERT_EQ(preview.size(), QSize(120, 110));
    EXPECT_EQ(preview.pixelColor(3, 3), QColor(255, 0, 0));
    EXPECT_EQ(preview.pixelColor(116, 106), QColor(0, 0, 255));

    ASSERT_TRUE(test::MakeCurrent(&dialog, folder / "bad.tgr"));
    EXPECT_EQ(dialog.PreviewName(), "---");
    EXPECT_EQ(dialog.PreviewWidth(), "0");
    EXPECT_EQ(dialog.PreviewHeight(), "0");
    preview = dialog.PreviewImage();
    EXPECT_EQ(preview.size(), QSize(120, 110));
    EXPECT_EQ(preview.pixelColor(60, 55), QColor(0, 0, 0));
}

TEST_F(OpenPuzzleTest, ChoosingAFileGivesItsPathAndKeepsItsFolder) {
    settings.openFolder = temp.path();
    ModalDriver driver({[&](QWidget* modal) {
        auto* dialog = qobject_cast<OpenPuzzleDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        test::TypeName(dialog, ToQString(folder / "good.tgr"));
        static_cast<QDialog*>(dialog)->accept();
    }});
    const auto chosen = ChoosePuzzleToOpen(nullptr, settings);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, folder / "good.tgr");
    EXPECT_EQ(settings.openFolder, folder);

    // The window then opens it.
    Puzzle puzzle;
    RecordingMessageSink messages;
    EXPECT_EQ(OpenPuzzleFile(puzzle, *chosen, messages), 0);
    EXPECT_EQ(puzzle.MosaicCanvas.width(), 60);
}

TEST_F(OpenPuzzleTest, CancellingAfterPreviewsLeavesEverythingAsItWas) {
    ModalDriver driver({[&](QWidget* modal) {
        auto* dialog = qobject_cast<OpenPuzzleDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(test::MakeCurrent(dialog, folder / "good.tgr"));
        ASSERT_TRUE(test::MakeCurrent(dialog, folder / "bad.tgr"));
        dialog->reject();
    }});
    const AppSettings before = settings;
    EXPECT_FALSE(ChoosePuzzleToOpen(nullptr, settings).has_value());
    EXPECT_EQ(driver.Remaining(), 0u);
    EXPECT_EQ(settings.openFolder, before.openFolder);
}

}  // namespace
}  // namespace tama05
