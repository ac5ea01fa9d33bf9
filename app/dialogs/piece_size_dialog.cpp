#include "app/dialogs/piece_size_dialog.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tama05 {

namespace {

// Ten digits hold every 32-bit number.
constexpr int kFieldDigits = 10;

QLineEdit* NumberField(const QString& name, int32_t value) {
    auto* field = new QLineEdit(QString::number(static_cast<uint32_t>(value)));
    field->setObjectName(name);
    field->setMaxLength(kFieldDigits);
    return field;
}

uint32_t FieldValue(const QLineEdit* field) {
    return ParsePieceSizeField(field->text().toStdString());
}

}  // namespace

PieceSizeDialog::PieceSizeDialog(QWidget* parent, AppSettings& settings, MessageSink& messages,
                                 int32_t answerWidth, int32_t answerHeight)
    : QDialog(parent),
      m_settings(settings),
      m_messages(messages),
      m_answerWidth(answerWidth),
      m_answerHeight(answerHeight) {
    setObjectName(QStringLiteral("pieceSizeDialog"));
    setWindowTitle(QStringLiteral("ピースサイズの決定"));

    m_bySize = new QRadioButton(QStringLiteral("ピースのサイズを指定する"));
    m_bySize->setObjectName(QStringLiteral("bySize"));
    m_byDivisions = new QRadioButton(QStringLiteral("パズルの分割数を指定する"));
    m_byDivisions->setObjectName(QStringLiteral("byDivisions"));
    if (settings.pieceSizeMode == static_cast<uint8_t>(PieceSizeMode::kDivisions)) {
        m_byDivisions->setChecked(true);
    } else {
        m_bySize->setChecked(true);
    }
    m_width = NumberField(QStringLiteral("pieceWidth"), settings.pieceWidth);
    m_height = NumberField(QStringLiteral("pieceHeight"), settings.pieceHeight);
    m_columns = NumberField(QStringLiteral("columns"), settings.columns);
    m_rows = NumberField(QStringLiteral("rows"), settings.rows);

    auto* sizeFields = new QFormLayout;
    sizeFields->addRow(QStringLiteral("幅(2 - 64)"), m_width);
    sizeFields->addRow(QStringLiteral("高さ(2 - 64)"), m_height);
    auto* divisionFields = new QFormLayout;
    divisionFields->addRow(QStringLiteral("横(2 - )"), m_columns);
    divisionFields->addRow(QStringLiteral("縦(2 - )"), m_rows);

    m_ok = new QPushButton(QStringLiteral("OK"));
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"));
    m_cancel->setObjectName(QStringLiteral("cancel"));
    connect(m_ok, &QPushButton::clicked, this, [this] { Confirm(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bySize);
    layout->addLayout(sizeFields);
    layout->addWidget(m_byDivisions);
    layout->addLayout(divisionFields);
    layout->addLayout(buttons);
}

PieceSizeChoice PieceSizeDialog::ShownChoice() const {
    PieceSizeChoice choice;
    choice.mode =
        m_byDivisions->isChecked() ? PieceSizeMode::kDivisions : PieceSizeMode::kPieceSize;
    choice.pieceWidth = FieldValue(m_width);
    choice.pieceHeight = FieldValue(m_height);
    choice.columns = FieldValue(m_columns);
    choice.rows = FieldValue(m_rows);
    return choice;
}

void PieceSizeDialog::Confirm() {
    const PieceSizeChoice choice = ShownChoice();
    // Kept as entered, whether or not it is then accepted.
    m_settings.pieceSizeMode = static_cast<uint8_t>(choice.mode);
    m_settings.pieceWidth = static_cast<int32_t>(choice.pieceWidth);
    m_settings.pieceHeight = static_cast<int32_t>(choice.pieceHeight);
    m_settings.columns = static_cast<int32_t>(choice.columns);
    m_settings.rows = static_cast<int32_t>(choice.rows);

    const PieceSizeDecision decision = DecidePieceSize(choice, m_answerWidth, m_answerHeight);
    if (!decision.accepted) {
        m_messages.ShowMessage(decision.refusal, kPieceSizeRefusalCaption);
        return;
    }
    m_pieceWidth = decision.pieceWidth;
    m_pieceHeight = decision.pieceHeight;
    accept();
}

}  // namespace tama05
