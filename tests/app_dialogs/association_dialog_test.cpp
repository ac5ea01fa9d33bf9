#include "app/dialogs/association_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "temp_folder.h"
#include "text_files.h"

namespace tama05 {
namespace {

namespace fs = std::filesystem;

class AssociationDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        places.dataHome = temp.path() / "data";
        places.configHome = temp.path() / "config";
        places.programPath = temp.path() / "tama05";
        places.iconFolder = temp.path() / "icons";
        fs::create_directories(places.iconFolder);
        test::WriteFile(places.iconFolder / "tama05-32.png", "icon");
    }
    std::unique_ptr<AssociationDialog> Open() {
        auto dialog = std::make_unique<AssociationDialog>(
            nullptr, places, messages, [this](const std::vector<std::string>& command) {
                tools.push_back(command.front());
                return 0;
            });
        dialog->show();
        return dialog;
    }
    bool Registered() const {
        return fs::exists(places.MimePackageFile()) && fs::exists(places.DesktopEntryFile()) &&
               fs::exists(places.IconFile(32)) &&
               test::ReadFile(places.MimeAppsFile())
                       .find("application/x-tama05-puzzle=tama05.desktop") != std::string::npos;
    }
    test::TempFolder temp;
    AssociationPlaces places;
    RecordingMessageSink messages;
    std::vector<std::string> tools;
};

TEST_F(AssociationDialogTest, ShowsItsTexts) {
    auto dialog = Open();
    EXPECT_EQ(dialog->windowTitle(), "関連付け");
    QStringList labels;
    for (const auto* label : dialog->findChildren<QLabel*>()) {
        labels << label->text();
    }
    EXPECT_TRUE(labels.contains("関連付けしたい拡張子にチェックしてください。"));
    EXPECT_TRUE(labels.contains(
        "関連付けを削除するには、チェックをはずした状態で、「ＯＫ」を押してください。"));
    EXPECT_EQ(dialog->TgrBox()->text(), ".tgr ファイル");
    EXPECT_EQ(dialog->OkButton()->text(), "OK");
    EXPECT_EQ(dialog->CancelButton()->text(), "ｷｬﾝｾﾙ");
}

TEST_F(AssociationDialogTest, TickedOkRegistersAndUntickedOkRemoves) {
    auto dialog = Open();
    QTest::keyClick(dialog->TgrBox(), Qt::Key_Space);
    ASSERT_TRUE(dialog->TgrBox()->isChecked());
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->LastResult(), 0);
    EXPECT_TRUE(Registered());
    EXPECT_EQ(tools, std::vector<std::string>({"update-mime-database", "update-desktop-database"}));

    // The box is clear when the dialog opens again; OK then removes the association.
    dialog->show();
    EXPECT_FALSE(dialog->TgrBox()->isChecked());
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->LastResult(), 0);
    EXPECT_FALSE(fs::exists(places.MimePackageFile()));
    EXPECT_FALSE(fs::exists(places.DesktopEntryFile()));
    EXPECT_FALSE(fs::exists(places.IconFile(32)));

    // With nothing there, nothing happens.
    dialog->show();
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->LastResult(), 1);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(AssociationDialogTest, CancelAndEscapeChangeNothing) {
    auto dialog = Open();
    dialog->TgrBox()->setChecked(true);
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    dialog->show();
    dialog->TgrBox()->setChecked(true);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(fs::exists(places.dataHome));
    EXPECT_FALSE(fs::exists(places.configHome));
    EXPECT_TRUE(tools.empty());
}

TEST_F(AssociationDialogTest, AFailureShowsItsMessage) {
    test::WriteFile(places.dataHome, "a file where the folder belongs");
    auto dialog = Open();
    dialog->TgrBox()->setChecked(true);
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->LastResult(), -1);
    EXPECT_EQ(messages.messages, std::vector<RecordingMessageSink::Message>(
                                     {{"RegCreateKeyExでエラーが発生しました1", "Error"}}));
}

}  // namespace
}  // namespace tama05
