#include "puzzle/piece_pipeline.h"

#include <algorithm>

#include "puzzle/thread_priority.h"

namespace tama05 {

PiecePipeline::PiecePipeline(std::span<const std::filesystem::path> files,
                             PictureSourceReader reader, int32_t pieceWidth, int32_t pieceHeight,
                             int threads)
    : m_files(files),
      m_reader(std::move(reader)),
      m_pieceWidth(pieceWidth),
      m_pieceHeight(pieceHeight),
      m_window(static_cast<size_t>(std::max(threads, 1)) * 2),
      m_slots(files.size()) {
    for (int t = 0; t < threads; ++t) {
        m_helpers.emplace_back([this] { HelperLoop(); });
    }
}

PiecePipeline::~PiecePipeline() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (std::thread& helper : m_helpers) {
        helper.join();
    }
}

int PiecePipeline::DefaultThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 1u, 8u));
}

void PiecePipeline::Produce(size_t index, Slot& slot) const {
    Image loaded;
    slot.usable = m_reader(m_files[index], loaded, slot.messages) == 0 &&
                  ScaleImage(loaded, slot.piece, m_pieceWidth, m_pieceHeight) == 0;
}

void PiecePipeline::HelperLoop() {
    LowerThisThreadsPriority();
    std::unique_lock lock(m_mutex);
    while (true) {
        // Stay within a few files of the matcher.
        m_changed.wait(lock, [this] {
            return m_stopping || m_nextToProduce >= m_slots.size() ||
                   m_nextToProduce < m_taken + m_window;
        });
        if (m_stopping || m_nextToProduce >= m_slots.size()) {
            return;
        }
        const size_t index = m_nextToProduce++;
        Slot result;
        lock.unlock();
        Produce(index, result);
        lock.lock();
        result.done = true;
        m_slots[index] = std::move(result);
        m_changed.notify_all();
    }
}

bool PiecePipeline::Take(size_t index, Image& out, MessageSink& messages) {
    Slot slot;
    if (m_helpers.empty()) {
        Produce(index, slot);
    } else {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_slots[index].done; });
        slot = std::move(m_slots[index]);
        m_taken = index + 1;
        lock.unlock();
        m_changed.notify_all();
    }
    for (const auto& message : slot.messages.messages) {
        messages.ShowMessage(message.text, message.caption);
    }
    if (slot.usable) {
        out = std::move(slot.piece);
    }
    return slot.usable;
}

}  // namespace tama05
