#include "app/main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <cmath>

#include "app/bridge/qt_path.h"
#include "app/game.h"
#include "app/ui_thread.h"

namespace tama05 {

namespace {

std::vector<std::filesystem::path> LocalFiles(const QMimeData* data) {
    std::vector<std::filesystem::path> files;
    if (data == nullptr || !data->hasUrls()) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            files.push_back(ToPath(url.toLocalFile()));
        }
    }
    return files;
}

}  // namespace

MainWindow::MainWindow(Game& game)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_game(game) {
    setWindowTitle(QStringLiteral("tama05"));
    setAcceptDrops(true);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Repaints are coalesced: the worker may change many cells between two paints.
    m_view.SetRepaintRequest([this] {
        // By name: no object of ours crosses the threads inside Qt.
        QMetaObject::invokeMethod(this, "FlushRepaint", Qt::QueuedConnection);
    });
    m_flashTimer.setInterval(ViewSurface::kFlashFrameTime);
    connect(&m_flashTimer, &QTimer::timeout, this, &MainWindow::ReplayFlashes);
}

void MainWindow::ReplayFlashes() {
    const QRect flashing = m_view.AdvanceFlashes();
    if (flashing.isEmpty()) {
        m_flashTimer.stop();
        return;
    }
    update(flashing);
}

void MainWindow::FlushRepaint() {
    const QRect dirty = m_view.TakeDirty();
    if (!dirty.isEmpty()) {
        update(dirty);
    }
    if (!m_flashTimer.isActive()) {
        m_flashTimer.start();
    }
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    m_view.Paint(painter, event->rect());
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    const qreal ratio = m_view.devicePixelRatio();
    m_game.HoverAt(static_cast<int>(std::floor(event->position().x() * ratio)),
                   static_cast<int>(std::floor(event->position().y() * ratio)));
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (!LocalFiles(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::filesystem::path> files = LocalFiles(event->mimeData());
    if (files.empty()) {
        return;
    }
    event->acceptProposedAction();
    m_game.DropFiles(std::move(files));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    CloseOrExit(event, m_closing, m_game);
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange || event->type() == QEvent::ActivationChange) {
        m_game.MainWindowStateChanged();
    }
}

}  // namespace tama05
