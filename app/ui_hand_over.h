#pragma once

#include <QObject>
#include <deque>
#include <functional>
#include <mutex>

namespace tama05 {

// Hands calls made on another thread (the drop worker's) to the thread this object was made
// on, the user-interface thread, one queued event a call, so that calls keep the order they
// were made in, also among several hand-overs. The calls wait in a queue under a std::mutex:
// the hand-over of what they carry is visible to ThreadSanitizer, which cannot see the locks
// inside the uninstrumented Qt libraries; only an argument-less event crosses through Qt.
class UiHandOver final : public QObject {
    Q_OBJECT
  public:
    UiHandOver() = default;

    // On this object's thread, runs call at once; from any other, queues it.
    void Post(std::function<void()> call);

  private:
    Q_INVOKABLE void RunNext();

    std::mutex m_mutex;
    std::deque<std::function<void()>> m_calls;
};

}  // namespace tama05
