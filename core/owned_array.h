#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace tama05 {

// An owned block of elements with its count; count > 0 exactly when a block is owned.
// Blocks carry kSlackBytes of zeroed slack past their end, so that vector kernels may load a
// whole register that starts inside the block without leaving the allocation.
template <typename T>
class OwnedArray {
public:
    static constexpr size_t kSlackBytes = 64;

    OwnedArray() = default;
    explicit OwnedArray(int32_t n) { Allocate(n); }
    OwnedArray(const OwnedArray&) = delete;
    OwnedArray& operator=(const OwnedArray&) = delete;
    OwnedArray(OwnedArray&& other) noexcept { *this = std::move(other); }
    OwnedArray& operator=(OwnedArray&& other) noexcept {
        if (this != &other) {
            m_data = std::move(other.m_data);
            m_count = other.m_count;
            other.m_count = 0;
        }
        return *this;
    }

    // Releases any block, then owns n elements (contents unset) when n > 0. Returns false,
    // owning nothing, when memory is exhausted.
    bool Allocate(int32_t n) {
        Release();
        if (n <= 0) {
            return true;
        }
        const size_t bytes = static_cast<size_t>(n) * sizeof(T) + kSlackBytes;
        auto* raw = static_cast<T*>(::operator new[](bytes, std::nothrow));
        if (raw == nullptr) {
            return false;
        }
        std::memset(reinterpret_cast<unsigned char*>(raw) + static_cast<size_t>(n) * sizeof(T),
                    0, kSlackBytes);
        m_data.reset(raw);
        m_count = n;
        return true;
    }

    bool AllocateFilled(int32_t n, T value) {
        if (!Allocate(n)) {
            return false;
        }
        for (int32_t i = 0; i < m_count; ++i) {
            m_data[i] = value;
        }
        return true;
    }

    void Release() {
        m_data.reset();
        m_count = 0;
    }

    int32_t count() const { return m_count; }
    bool empty() const { return m_count == 0; }
    T* data() { return m_data.get(); }
    const T* data() const { return m_data.get(); }
    T& operator[](size_t i) { return m_data[i]; }
    const T& operator[](size_t i) const { return m_data[i]; }
    T* begin() { return m_data.get(); }
    T* end() { return m_data.get() + m_count; }
    const T* begin() const { return m_data.get(); }
    const T* end() const { return m_data.get() + m_count; }

private:
    struct Deleter {
        void operator()(T* p) const { ::operator delete[](p); }
    };
    std::unique_ptr<T[], Deleter> m_data;
    int32_t m_count = 0;
};

using ByteArray = OwnedArray<uint8_t>;

}  // namespace tama05
