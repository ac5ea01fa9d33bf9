#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <string_view>

#include "app/ui_hand_over.h"
#include "core/message_sink.h"

namespace tama05 {

// Shows the program's messages as message boxes with an "OK" button, always on the
// user-interface thread: a message raised on another thread (the drop worker's readers) is
// queued to it, and queued messages are shown in the order they were raised.
class AppMessageSink final : public QObject, public MessageSink {
    Q_OBJECT
  public:
    // Shows one message (a test replaces the message box by a recorder).
    using Presenter =
        std::function<void(QWidget* owner, const QString& text, const QString& caption)>;

    explicit AppMessageSink(QObject* parent = nullptr);

    void SetOwner(QWidget* owner) { m_owner = owner; }
    void SetPresenter(Presenter presenter) { m_presenter = std::move(presenter); }

    void ShowMessage(std::string_view text, std::string_view caption) override;
    // Shows many lines in one box that scrolls when long; on the user-interface thread.
    void ShowList(const QString& text, const QString& caption);

  private:
    void Present(const QString& text, const QString& caption);

    QPointer<QWidget> m_owner;
    Presenter m_presenter;
    UiHandOver m_handOver;
};

}  // namespace tama05
