#include "app/ui_thread.h"

#include "app/game.h"

namespace tama05 {

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
