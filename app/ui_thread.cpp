#include "app/ui_thread.h"

#include <QThread>

#include "app/game.h"

namespace tama05 {

void PostToThreadOf(QObject& owner, std::function<void()> call) {
    if (QThread::currentThread() == owner.thread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(&owner, std::move(call), Qt::QueuedConnection);
}

void CloseOrExit(QCloseEvent* event, bool closing, Game& game) {
    if (closing) {
        event->accept();
        return;
    }
    event->ignore();
    QMetaObject::invokeMethod(
        &game, [&game] { game.Exit(); }, Qt::QueuedConnection);
}

}  // namespace tama05
