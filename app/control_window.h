#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include "app/strip_window.h"

namespace tama05 {

class Game;

// The skinned strip at the top: its background picture, the six buttons, the score panel, the
// mascot's message panel and the wait meter. It carries out close and minimise itself and
// passes the other commands to the game. Dragging it by its own surface moves all three windows.
class ControlWindow final : public StripWindow {
    Q_OBJECT
  public:
    ControlWindow(Game& game, QWidget* owner);

    // Loads ctrl_back.png of the skin (at start-up and on command 32789).
    void ReloadBackground();
    const QImage& background() const { return m_background; }
    void SetClosing(bool closing) { m_closing = closing; }

    void OnCommand(uint16_t command);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    bool m_closing = false;
};

}  // namespace tama05
