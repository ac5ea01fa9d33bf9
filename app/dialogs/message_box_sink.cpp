#include "app/dialogs/message_box_sink.h"

#include <QMessageBox>

namespace tama05 {

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void MessageBoxSink::ShowMessage(std::string_view text, std::string_view caption) {
    QMessageBox box(QMessageBox::NoIcon, FromUtf8(caption), FromUtf8(text), QMessageBox::Ok,
                    m_parent);
    box.exec();
}

}  // namespace tama05
