#include "app/dialogs/piece_size_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace tama05 {
namespace {

using Message = RecordingMessageSink::Message;

struct Entry {
    bool divisions = false;
    QString width, height, columns, rows;
};

// A piece-size dialog for a W × H answer, shown, with the kept choice 16 everywhere.
class PieceSizeDialogTest : public ::testing::Test {
  protected:
    void Open(int32_t width, int32_t height) {
        m_dialog = std::make_unique<PieceSizeDialog>(nullptr, settings, messages, width, height);
        m_dialog->show();
    }
    // Fills the dialog as the player would and presses OK.
    void Press(const Entry& entry) {
        QTest::mouseClick(
            entry.divisions ? m_dialog->DivisionsButton() : m_dialog->PieceSizeButton(),
            Qt::LeftButton);
        const std::pair<QLineEdit*, QString> fields[] = {
            {m_dialog->WidthField(), entry.width},
            {m_dialog->HeightField(), entry.height},
            {m_dialog->ColumnsField(), entry.columns},
            {m_dialog->RowsField(), entry.rows},
        };
        for (const auto& [field, text] : fields) {
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Delete);
            QTest::keyClicks(field, text);
        }
        QTest::mouseClick(m_dialog->OkButton(), Qt::LeftButton);
    }
    bool Accepted() const {
        return !m_dialog->isVisible() && m_dialog->result() == QDialog::Accepted;
    }

    AppSettings settings;
    RecordingMessageSink messages;
    std::unique_ptr<PieceSizeDialog> m_dialog;
};

TEST_F(PieceSizeDialogTest, ShowsItsTextsAndTheKeptChoice) {
    settings.pieceSizeMode = 1;
    settings.pieceWidth = 20;
    settings.pieceHeight = 24;
    settings.columns = 5;
    settings.rows = 7;
    Open(100, 80);
    EXPECT_EQ(m_dialog->windowTitle(), "ピースサイズの決定");
    EXPECT_EQ(m_dialog->PieceSizeButton()->text(), "ピースのサイズを指定する");
    EXPECT_EQ(m_dialog->DivisionsButton()->text(), "パズルの分割数を指定する");
    EXPECT_TRUE(m_dialog->DivisionsButton()->isChecked());
    EXPECT_FALSE(m_dialog->PieceSizeButton()->isChecked());
    EXPECT_EQ(m_dialog->WidthField()->text(), "20");
    EXPECT_EQ(m_dialog->HeightField()->text(), "24");
    EXPECT_EQ(m_dialog->ColumnsField()->text(), "5");
    EXPECT_EQ(m_dialog->RowsField()->text(), "7");
    EXPECT_EQ(m_dialog->OkButton()->text(), "OK");
    EXPECT_EQ(m_dialog->CancelButton()->text(), "ｷｬﾝｾﾙ");
    QStringList labels;
    for (const auto* label : m_dialog->findChildren<QLabel*>()) {
        labels << label->text();
    }
    for (const char* text : {"幅(2 - 64)", "高さ(2 - 64)", "横(2 - )", "縦(2 - )"}) {
        EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
    }
}

TEST_F(PieceSizeDialogTest, AcceptsAPieceSizeAndKeepsTheChoice) {
    Open(100, 80);
    Press({false, "12", "10", "3", "4"});
    ASSERT_TRUE(Accepted());
    EXPECT_EQ(m_dialog->PieceWidth(), 12);
    EXPECT_EQ(m_dialog->PieceHeight(), 10);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(settings.pieceSizeMode, 0);
    EXPECT_EQ(settings.pieceWidth, 12);
    EXPECT_EQ(settings.pieceHeight, 10);
    EXPECT_EQ(settings.columns, 3);
    EXPECT_EQ(settings.rows, 4);
}

TEST_F(PieceSizeDialogTest, DivisionsGiveTheTruncatedPieceSize) {
    Open(100, 80);
    Press({true, "16", "16", "3", "4"});
    ASSERT_TRUE(Accepted());
    EXPECT_EQ(m_dialog->PieceWidth(), 33);  // 100 / 3, four columns
    EXPECT_EQ(m_dialog->PieceHeight(), 20);
    EXPECT_EQ(settings.pieceSizeMode, 1);
}

TEST_F(PieceSizeDialogTest, PieceSizeOfTheWholePictureIsOneCell) {
    Open(100, 80);
    Press({false, "100", "80", "2", "2"});
    ASSERT_TRUE(Accepted());
    EXPECT_EQ(m_dialog->PieceWidth(), 100);
    EXPECT_EQ(m_dialog->PieceHeight(), 80);
}

TEST_F(PieceSizeDialogTest, RefusalsKeepTheDialogOpenAndTheEnteredChoice) {
    struct Case {
        Entry entry;
        const char* refusal;
    };
    const Case cases[] = {
        {{false, "0", "16", "16", "16"}, "ピースサイズをもっと大きくしてください。"},
        {{false, "ab", "16", "16", "16"}, "ピースサイズをもっと大きくしてください。"},
        {{false, "16", "1", "16", "16"}, "ピースサイズをもっと大きくしてください。"},
        {{false, "101", "16", "16", "16"},
         "ピースサイズは画像サイズよりも小さい値にしてください。"},
        {{false, "16", "81", "16", "16"}, "ピースサイズは画像サイズよりも小さい値にしてください。"},
        {{true, "16", "16", "1", "4"}, "もっと分割数を大きくしてください。"},
        {{true, "16", "16", "", "4"}, "もっと分割数を大きくしてください。"},
        {{true, "16", "16", "60", "4"}, "もっと分割数を小さくしてください。"},  // 100 / 60 = 1
        {{true, "16", "16", "4", "41"}, "もっと分割数を小さくしてください。"},
    };
    Open(100, 80);
    for (const Case& c : cases) {
        messages.messages.clear();
        Press(c.entry);
        EXPECT_TRUE(m_dialog->isVisible()) << c.refusal;
        EXPECT_EQ(messages.messages, std::vector<Message>({{c.refusal, "エラー"}}));
        EXPECT_EQ(settings.pieceSizeMode, c.entry.divisions ? 1 : 0);
        EXPECT_EQ(settings.pieceWidth,
                  static_cast<int32_t>(ParsePieceSizeField(c.entry.width.toStdString())));
        EXPECT_EQ(settings.columns,
                  static_cast<int32_t>(ParsePieceSizeField(c.entry.columns.toStdString())));
    }
    // A refusal is followed by a good entry.
    Press({false, "8", "8", "2", "2"});
    EXPECT_TRUE(Accepted());
}

TEST_F(PieceSizeDialogTest, CancelAndEscapeChangeNothing) {
    settings.pieceWidth = 21;
    Open(100, 80);
    m_dialog->WidthField()->setText("5");
    QTest::mouseClick(m_dialog->CancelButton(), Qt::LeftButton);
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_EQ(settings.pieceWidth, 21);

    Open(100, 80);
    QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(PieceSizeDialogTest, EnterConfirmsLikeOk) {
    Open(100, 80);
    m_dialog->WidthField()->setText("1");
    QTest::keyClick(m_dialog->WidthField(), Qt::Key_Return);
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(messages.messages.size(), 1u);
}

}  // namespace
}  // namespace tama05
