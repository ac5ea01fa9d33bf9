#include "app/dialogs/puzzle_info_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/bridge/qt_path.h"
#include "puzzle/matching.h"

namespace tama05 {

namespace {

QString Pair(int64_t first, int64_t second) {
    return QStringLiteral("%1 × %2").arg(first).arg(second);
}

}  // namespace

PuzzleInfoTexts PuzzleInfoFor(const Puzzle& locked) {
    return locked.WithLock([](const Puzzle& puzzle) {
        const Grid grid = puzzle.grid();
        PuzzleInfoTexts texts;
        texts.fileName = ToQString(puzzle.fileName);
        texts.canvasSize = Pair(puzzle.AnswerImage.width(), puzzle.AnswerImage.height());
        texts.pieceSize = Pair(puzzle.pieceWidth, puzzle.pieceHeight);
        texts.pieceCount = Pair(grid.columns, grid.rows);
        texts.totalPieces = QString::number(grid.cellCount());
        texts.meanScore = QString::asprintf("%3.3f", MeanPieceScore(puzzle.PieceScores));
        return texts;
    });
}

PuzzleInfoDialog::PuzzleInfoDialog(QWidget* parent, const Puzzle& puzzle) : QDialog(parent) {
    setObjectName(QStringLiteral("puzzleInfoDialog"));
    setWindowTitle(QStringLiteral("パズルの情報"));
    const PuzzleInfoTexts texts = PuzzleInfoFor(puzzle);
    auto* form = new QFormLayout;
    const std::pair<const char*, QString> rows[] = {
        {"ファイル名", texts.fileName},    {"キャンバスサイズ", texts.canvasSize},
        {"ピースサイズ", texts.pieceSize}, {"ピース数", texts.pieceCount},
        {"総ピース数", texts.totalPieces}, {"スコア（詳細）", texts.meanScore},
    };
    for (const auto& [label, value] : rows) {
        auto* valueLabel = new QLabel(value);
        valueLabel->setObjectName(QString::fromUtf8(label));
        valueLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(QString::fromUtf8(label), valueLabel);
    }
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

QString PuzzleInfoDialog::ValueOf(const QString& label) const {
    const auto* value = findChild<QLabel*>(label);
    return value != nullptr ? value->text() : QString();
}

}  // namespace tama05
