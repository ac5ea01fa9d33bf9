#include "app/app_message_sink.h"

#include <QMessageBox>

#include "app/bridge/qt_path.h"
#include "app/drop_message_box.h"

namespace tama05 {

AppMessageSink::AppMessageSink(QObject* parent) : QObject(parent) {}

void AppMessageSink::ShowMessage(std::string_view text, std::string_view caption) {
    const QString qtext = FromUtf8(text);
    const QString qcaption = FromUtf8(caption);
    m_handOver.Post([this, qtext, qcaption] { Present(qtext, qcaption); });
}

void AppMessageSink::Present(const QString& text, const QString& caption) {
    if (m_presenter) {
        m_presenter(m_owner.data(), text, caption);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, m_owner.data());
    box.exec();
}

void AppMessageSink::ShowList(const QString& text, const QString& caption) {
    if (m_presenter) {
        m_presenter(m_owner.data(), text, caption);
        return;
    }
    ShowListMessageBox(m_owner.data(), text, caption);
}

}  // namespace tama05
