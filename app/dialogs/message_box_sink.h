#pragma once

#include <QPointer>
#include <QWidget>

#include "core/message_sink.h"

namespace tama05 {

// Shows each message at once in a modal message box with an "OK" button, owned by parent
// (or by no window). For the user-interface thread only.
class MessageBoxSink final : public MessageSink {
  public:
    explicit MessageBoxSink(QWidget* parent) : m_parent(parent) {}
    void ShowMessage(std::string_view text, std::string_view caption) override;

  private:
    QPointer<QWidget> m_parent;
};

}  // namespace tama05
