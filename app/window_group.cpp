#include "app/window_group.h"

namespace tama05 {

void WindowGroup::Set(QWidget* control, QWidget* main, QWidget* slider) {
    m_windows = {control, main, slider};
}

void WindowGroup::BeginDrag(const QPoint& globalPosition) {
    for (size_t i = 0; i < m_windows.size(); ++i) {
        if (m_windows[i]) {
            m_offsets[i] = globalPosition - m_windows[i]->pos();
        }
    }
    m_dragging = true;
}

void WindowGroup::DragTo(const QPoint& globalPosition) {
    if (!m_dragging) {
        return;
    }
    for (size_t i = 0; i < m_windows.size(); ++i) {
        if (m_windows[i]) {
            m_windows[i]->move(globalPosition - m_offsets[i]);
        }
    }
}

}  // namespace tama05
