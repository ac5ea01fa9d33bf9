#include "app/ui_hand_over.h"

#include <QThread>

namespace tama05 {

void UiHandOver::Post(std::function<void()> call) {
    if (QThread::currentThread() == thread()) {
        call();
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
    }
    QMetaObject::invokeMethod(this, "RunNext", Qt::QueuedConnection);
}

void UiHandOver::RunNext() {
    std::function<void()> call;
    {
        std::lock_guard lock(m_mutex);
        if (m_calls.empty()) {
            return;
        }
        call = std::move(m_calls.front());
        m_calls.pop_front();
    }
    call();
}

}  // namespace tama05
