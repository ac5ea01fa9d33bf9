#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/dialogs/puzzle_info_dialog.h"
#include "app/dialogs/version_dialog.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

// A 100 × 80 answer in 16 × 16 pieces: 7 × 5 cells.
struct SamplePuzzle {
    SamplePuzzle() {
        puzzle.AnswerImage = test::SolidImage(100, 80, 1, 2, 3);
        puzzle.MosaicCanvas = test::SolidImage(100, 80, 1, 2, 3);
        puzzle.pieceWidth = 16;
        puzzle.pieceHeight = 16;
        puzzle.PieceScores.AllocateFilled(35, 0);
        for (int32_t i = 0; i < 35; ++i) {
            puzzle.PieceScores[i] = i % 3 == 0 ? 100 : 17;  // 12 × 100 + 23 × 17 = 1591
        }
        puzzle.fileName = "/puzzles/sky.tgr";
        puzzle.state = PuzzleState::kReady;
    }
    Puzzle puzzle;
};

QStringList LabelTexts(const QWidget& widget) {
    QStringList texts;
    for (const auto* label : widget.findChildren<QLabel*>()) {
        texts << label->text();
    }
    return texts;
}

TEST(PuzzleInfoDialog, ShowsThePuzzlesNumbers) {
    SamplePuzzle sample;
    PuzzleInfoDialog dialog(nullptr, sample.puzzle);
    EXPECT_EQ(dialog.windowTitle(), "パズルの情報");
    EXPECT_EQ(dialog.ValueOf("ファイル名"), "/puzzles/sky.tgr");
    EXPECT_EQ(dialog.ValueOf("キャンバスサイズ"), "100 × 80");
    EXPECT_EQ(dialog.ValueOf("ピースサイズ"), "16 × 16");
    EXPECT_EQ(dialog.ValueOf("ピース数"), "7 × 5");
    EXPECT_EQ(dialog.ValueOf("総ピース数"), "35");
    EXPECT_EQ(dialog.ValueOf("スコア（詳細）"), "45.457");  // 1591 / 35
    const QStringList labels = LabelTexts(dialog);
    for (const char* text : {"ファイル名", "キャンバスサイズ", "ピースサイズ", "ピース数",
                             "総ピース数", "スコア（詳細）"}) {
        EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
    }
}

TEST(PuzzleInfoDialog, AnEmptyPuzzleShowsZeros) {
    Puzzle puzzle;
    const PuzzleInfoTexts texts = PuzzleInfoFor(puzzle);
    EXPECT_EQ(texts.fileName, "");
    EXPECT_EQ(texts.canvasSize, "0 × 0");
    EXPECT_EQ(texts.totalPieces, "0");
    EXPECT_EQ(texts.meanScore, "0.000");
}

TEST(PuzzleInfoDialog, ClosesWithOkOrEscape) {
    SamplePuzzle sample;
    PuzzleInfoDialog dialog(nullptr, sample.puzzle);
    dialog.show();
    auto* ok = dialog.findChild<QPushButton*>("ok");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(VersionDialog, ShowsTheProgramWithoutAWebAddress) {
    VersionDialog dialog(nullptr, TAMA05_PROGRAM_DIR);
    EXPECT_EQ(dialog.windowTitle(), "バージョン情報");
    const QStringList labels = LabelTexts(dialog);
    for (const char* text : {"tama05 ver 1.00", "バージョン　：　1.00", "完成日：平成19年2月5日"}) {
        EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
    }
    EXPECT_FALSE(dialog.findChild<QLabel*>("maker")->text().isEmpty());
    // The program has no web page of its own: no address is shown.
    EXPECT_EQ(dialog.findChild<QLineEdit*>(), nullptr);
    // The art tool draws the icon into the program folder.
    EXPECT_FALSE(dialog.findChild<QLabel*>("icon")->pixmap().isNull());
}

TEST(VersionDialog, ClosesWithOkOrEscape) {
    VersionDialog dialog(nullptr, "/no/such/folder");  // no icon: shown without it
    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace tama05
