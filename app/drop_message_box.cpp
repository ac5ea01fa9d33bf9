#include "app/drop_message_box.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tama05 {

QString DropMessageText(const std::vector<DropFileMessage>& messages) {
    QStringList lines;
    const std::filesystem::path* previous = nullptr;
    for (const DropFileMessage& message : messages) {
        const QString text = QString::fromStdString(message.text);
        if (previous != nullptr && *previous == message.path) {
            lines.back() += QLatin1Char(' ') + text;
        } else {
            lines.push_back(QString::fromStdString(message.path.filename().string()) +
                            QStringLiteral(": ") + text);
        }
        previous = &message.path;
    }
    return lines.join(QLatin1Char('\n'));
}

void ShowListMessageBox(QWidget* owner, const QString& text, const QString& caption) {
    QDialog box(owner);
    box.setWindowTitle(caption);
    auto* layout = new QVBoxLayout(&box);
    auto* list = new QPlainTextEdit(text, &box);
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    const QFontMetrics metrics(list->font());
    const int lines = static_cast<int>(text.count(QLatin1Char('\n'))) + 1;
    list->setMinimumSize(metrics.averageCharWidth() * 60,
                         metrics.lineSpacing() * std::min(lines, 16) + 2 * list->frameWidth() +
                             metrics.lineSpacing());
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    layout->addWidget(buttons);
    buttons->button(QDialogButtonBox::Ok)->setFocus();
    box.exec();
}

}  // namespace tama05
