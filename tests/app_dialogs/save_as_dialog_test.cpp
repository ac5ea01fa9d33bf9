#include "app/dialogs/save_as_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>

#include "dialog_fixtures.h"
#include "modal_driver.h"
#include "temp_folder.h"

namespace tama05 {
namespace {

namespace fs = std::filesystem;
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

}  // namespace
}  // namespace tama05
