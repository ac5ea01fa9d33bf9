#pragma once

#include <QDialog>
#include <cstdint>

#include "core/message_sink.h"
#include "puzzle/piece_size.h"
#include "skin/app_settings.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tama05 {

// "ピースサイズの決定": the piece size given directly ("ピースのサイズを指定する", width and
// height) or as a number of divisions ("パズルの分割数を指定する", across and down), preset from
// the choice kept in the settings. "OK" stores the choice in the settings as entered, then either
// accepts it for the answer picture's size or shows the refusal (caption "エラー") and stays
// open. "ｷｬﾝｾﾙ" or Escape closes it without a piece size.
class PieceSizeDialog : public QDialog {
    Q_OBJECT
  public:
    PieceSizeDialog(QWidget* parent, AppSettings& settings, MessageSink& messages,
                    int32_t answerWidth, int32_t answerHeight);

    // The piece size once accepted.
    int32_t PieceWidth() const { return m_pieceWidth; }
    int32_t PieceHeight() const { return m_pieceHeight; }

    // The choice as the dialog now shows it.
    PieceSizeChoice ShownChoice() const;

    QRadioButton* PieceSizeButton() const { return m_bySize; }
    QRadioButton* DivisionsButton() const { return m_byDivisions; }
    QLineEdit* WidthField() const { return m_width; }
    QLineEdit* HeightField() const { return m_height; }
    QLineEdit* ColumnsField() const { return m_columns; }
    QLineEdit* RowsField() const { return m_rows; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

  private:
    void Confirm();

    AppSettings& m_settings;
    MessageSink& m_messages;
    int32_t m_answerWidth;
    int32_t m_answerHeight;
    int32_t m_pieceWidth = 0;
    int32_t m_pieceHeight = 0;
    QRadioButton* m_bySize = nullptr;
    QRadioButton* m_byDivisions = nullptr;
    QLineEdit* m_width = nullptr;
    QLineEdit* m_height = nullptr;
    QLineEdit* m_columns = nullptr;
    QLineEdit* m_rows = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

}  // namespace tama05
