#include "app/control_window.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/game.h"
#include "app/qt_image.h"
#include "skin/skin_commands.h"

namespace tama05 {

ControlWindow::ControlWindow(Game& game, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint), m_game(game) {
    setWindowTitle(QStringLiteral("tama05"));
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

void ControlWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_background.isNull()) {
        painter.drawImage(QPointF(0, 0), m_background);
    }
}

void ControlWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_game.windows().BeginDrag(event->globalPosition().toPoint());
    }
}

void ControlWindow::mouseMoveEvent(QMouseEvent* event) {
    m_game.windows().DragTo(event->globalPosition().toPoint());
}

void ControlWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_game.windows().EndDrag();
    }
}

void ControlWindow::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    event->ignore();
    QMetaObject::invokeMethod(
        &m_game, [game = &m_game] { game->Exit(); }, Qt::QueuedConnection);
}

}  // namespace tama05
