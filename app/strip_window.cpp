#include "app/strip_window.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/game.h"

namespace tama05 {

StripWindow::StripWindow(Game& game, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint), m_game(game) {
    setWindowTitle(QStringLiteral("tama05"));
}

void StripWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_background.isNull()) {
        painter.drawImage(QPointF(0, 0), m_background);
    }
}

void StripWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_game.windows().BeginDrag(event->globalPosition().toPoint());
    }
}

void StripWindow::mouseMoveEvent(QMouseEvent* event) {
    m_game.windows().DragTo(event->globalPosition().toPoint());
}

void StripWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_game.windows().EndDrag();
    }
}

}  // namespace tama05
