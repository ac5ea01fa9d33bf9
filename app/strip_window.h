#pragma once

#include <QImage>
#include <QWidget>

namespace tama05 {

class Game;

// A frameless strip owned by the main window (the control window and the slider bar): it
// paints its skin background over white and, dragged by its own surface, moves all three
// windows together.
class StripWindow : public QWidget {
  public:
    StripWindow(Game& game, QWidget* owner);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    Game& m_game;
    QImage m_background;
};

}  // namespace tama05
