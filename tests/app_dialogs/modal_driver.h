#pragma once

// Drives modal dialogs run by code under test: each step is applied, in order, to the next
// modal window that comes up (the dialog itself, or a message box it raises).

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

namespace tama05::test {

class ModalDriver {
  public:
    using Step = std::function<void(QWidget* modal)>;

    explicit ModalDriver(std::deque<Step> steps) : m_steps(std::move(steps)) {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start();
    }
    // Steps not applied (a dialog that never came up).
    size_t Remaining() const { return m_steps.size(); }

  private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == m_last || m_steps.empty()) {
            if (modal == nullptr) {
                m_last = nullptr;
            }
            return;
        }
        m_last = modal;
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        // Run outside this timer's handler, so that the timer goes on polling while the step
        // runs a nested modal window of its own (a question raised by accepting).
        QTimer::singleShot(0, modal, [step = std::move(step), modal] { step(modal); });
    }

    std::deque<Step> m_steps;
    QTimer m_timer;
    // Cleared when that window goes, so a new dialog at the same address counts as new.
    QPointer<QWidget> m_last;
};

}  // namespace tama05::test
