#pragma once

#include <QTimer>
#include <QWidget>

#include "app/view_surface.h"

namespace tama05 {

class Game;

// The window below the control window: it shows the view, marks the cell under the pointer and
// takes dropped files. It owns the control window and the slider bar, so the three make one
// program on the taskbar.
class MainWindow final : public QWidget {
    Q_OBJECT
  public:
    explicit MainWindow(Game& game);

    ViewSurface& view() { return m_view; }
    // Lets the close that follows an agreed exit through.
    void SetClosing(bool closing) { m_closing = closing; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    Q_INVOKABLE void FlushRepaint();
    void ReplayFlashes();

    Game& m_game;
    ViewSurface m_view;
    QTimer m_flashTimer;
    bool m_closing = false;
};

}  // namespace tama05
