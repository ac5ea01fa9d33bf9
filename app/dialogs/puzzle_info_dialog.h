#pragma once

#include <QDialog>
#include <QString>

#include "puzzle/puzzle.h"

class QLabel;

namespace tama05 {

// The values "パズルの情報" shows, as text.
struct PuzzleInfoTexts {
    QString fileName;     // ファイル名
    QString canvasSize;   // キャンバスサイズ: the answer picture, "W × H" pixels
    QString pieceSize;    // ピースサイズ
    QString pieceCount;   // ピース数: columns × rows of the grid
    QString totalPieces;  // 総ピース数: the number of cells
    QString meanScore;    // スコア（詳細）: the mean cell score, "%3.3f"
};

// Read under the puzzle's lock.
PuzzleInfoTexts PuzzleInfoFor(const Puzzle& puzzle);

// "パズルの情報": filled when it opens; "OK" or Escape closes it.
class PuzzleInfoDialog : public QDialog {
    Q_OBJECT
  public:
    PuzzleInfoDialog(QWidget* parent, const Puzzle& puzzle);
    // The value shown beside a label ("ファイル名", "キャンバスサイズ", …), or an empty text.
    QString ValueOf(const QString& label) const;
};

}  // namespace tama05
