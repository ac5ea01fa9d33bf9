#include "app/control_window.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/bridge/qt_image.h"
#include "app/game.h"
#include "app/ui_thread.h"
#include "skin/skin_commands.h"

namespace tama05 {

ControlWindow::ControlWindow(Game& game, QWidget* owner) : StripWindow(game, owner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ControlWindow::ReloadBackground() {
    Image picture;
    m_game.LoadBackground(kCtrlBackPicture, picture);
    m_background = ToScreenImage(picture, m_game.devicePixelRatio());
    update();
}

void ControlWindow::OnCommand(uint16_t command) {
    switch (command) {
        case kCommandReloadControlBackground:
            ReloadBackground();
            return;
        default:
            m_game.Command(command);
            return;
    }
}

void ControlWindow::closeEvent(QCloseEvent* event) {
    CloseOrExit(event, m_closing, m_game);
}

}  // namespace tama05
