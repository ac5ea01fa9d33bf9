#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include "app/strip_window.h"

class QLineEdit;
class QSlider;

namespace tama05 {

class Game;

// The strip below the main window: its background picture, the answer slider (0..255) with
// its read-only value box, the assistant's picture panel and the second message panel.
// Dragging it by its own surface moves all three windows.
class SliderBar final : public StripWindow {
    Q_OBJECT
  public:
    // textBackground is the skin's SUB_CTRL_BG_COLOR, kept for the life of the bar.
    SliderBar(Game& game, QWidget* owner, uint32_t textBackground);

    // Loads sub_ctrl_back.png of the skin (at start-up and on command 32790).
    void ReloadBackground();
    // Sets the slider and its value box without moving the blend (a puzzle was opened).
    void SetSliderValue(int value);
    void ShowSlider(bool visible);
    bool sliderShown() const;
    QSlider* slider() const { return m_slider; }
    QLineEdit* valueBox() const { return m_valueBox; }
    uint32_t textBackground() const { return m_textBackground; }
    void SetClosing(bool closing) { m_closing = closing; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QSlider* m_slider;
    QLineEdit* m_valueBox;
    uint32_t m_textBackground;
    bool m_closing = false;
};

}  // namespace tama05
