#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <array>

namespace tama05 {

// The control window, the main window and the slider bar move as one: dragging the control
// window or the slider bar by its own surface moves all three, each keeping its offset to the
// pointer.
class WindowGroup {
  public:
    void Set(QWidget* control, QWidget* main, QWidget* slider);

    // The left button went down on a window's own surface at a global position.
    void BeginDrag(const QPoint& globalPosition);
    void DragTo(const QPoint& globalPosition);
    void EndDrag() { m_dragging = false; }
    bool dragging() const { return m_dragging; }

  private:
    std::array<QPointer<QWidget>, 3> m_windows;
    std::array<QPoint, 3> m_offsets;
    bool m_dragging = false;
};

}  // namespace tama05
