#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

namespace tama05 {

// The memory that the reading threads of one drop share: each file's reader takes its share
// (the file's bytes and what decoding them costs, judged from its headers) before reading on,
// waits while the others' shares leave too little, and gives it back when the picture is made.
// A file whose share alone exceeds the budget is refused at once.
class ReadBudget {
  public:
    explicit ReadBudget(uint64_t bytes) : m_total(bytes) {}
    ReadBudget(const ReadBudget&) = delete;
    ReadBudget& operator=(const ReadBudget&) = delete;

    // 1 GB, or a quarter of the physical memory when that is less.
    static uint64_t DefaultBytes();

    uint64_t total() const { return m_total; }
    // The most that was ever held at once.
    uint64_t peak() const;

    // Waits until bytes fit beside the shares held and returns a hold that gives them back when
    // its last copy goes; nullptr at once when bytes exceed the whole budget. The budget must
    // outlive its holds.
    std::shared_ptr<void> Acquire(uint64_t bytes);

  private:
    void Release(uint64_t bytes);

    const uint64_t m_total;
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    uint64_t m_held = 0;
    uint64_t m_peak = 0;
};

}  // namespace tama05
