#include "puzzle/read_budget.h"

#include <unistd.h>

#include <algorithm>

namespace tama05 {

uint64_t ReadBudget::DefaultBytes() {
    constexpr uint64_t kDefault = uint64_t{1} << 30;
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) {
        return kDefault;
    }
    return std::min(kDefault, static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize) / 4);
}

uint64_t ReadBudget::peak() const {
    std::lock_guard lock(m_mutex);
    return m_peak;
}

std::shared_ptr<void> ReadBudget::Acquire(uint64_t bytes) {
    if (bytes > m_total) {
        return nullptr;
    }
    std::unique_lock lock(m_mutex);
    m_released.wait(lock, [&] { return m_held + bytes <= m_total; });
    m_held += bytes;
    m_peak = std::max(m_peak, m_held);
    // A non-null pointer whose deleter gives the share back; it points at the budget itself.
    return std::shared_ptr<void>(this, [bytes](ReadBudget* budget) { budget->Release(bytes); });
}

void ReadBudget::Release(uint64_t bytes) {
    {
        std::lock_guard lock(m_mutex);
        m_held -= bytes;
    }
    m_released.notify_all();
}

}  // namespace tama05
