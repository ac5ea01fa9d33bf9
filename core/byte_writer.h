#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace tama05 {

// Little-endian field writer that appends to a byte vector.
class ByteWriter {
public:
    explicit ByteWriter(std::vector<uint8_t>& out) : m_out(out) {}

    void WriteU8(uint8_t v) { m_out.push_back(v); }
    void WriteU16(uint16_t v) {
        m_out.push_back(static_cast<uint8_t>(v));
        m_out.push_back(static_cast<uint8_t>(v >> 8));
    }
    void WriteU32(uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            m_out.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
    }
    void WriteI32(int32_t v) { WriteU32(static_cast<uint32_t>(v)); }
    void WriteF32(float v) {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        WriteU32(u);
    }
    void WriteBytes(std::span<const uint8_t> bytes) {
        m_out.insert(m_out.end(), bytes.begin(), bytes.end());
    }
    size_t size() const { return m_out.size(); }

private:
    std::vector<uint8_t>& m_out;
};

}  // namespace tama05
