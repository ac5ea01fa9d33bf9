#pragma once

#include <cstdint>
#include <cstring>
#include <span>

namespace tama05 {

// Bounded little-endian reading over a byte span. A read that would pass the end fails,
// consumes nothing and leaves the reader failed; every later read fails too, so a parser
// may check once after a group of fields.
class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    bool ok() const { return !m_failed; }
    size_t position() const { return m_position; }
    size_t size() const { return m_bytes.size(); }
    size_t remaining() const { return m_failed ? 0 : m_bytes.size() - m_position; }
    bool AtEnd() const { return remaining() == 0; }

    bool ReadU8(uint8_t& out) { return ReadRaw(&out, 1); }
    bool ReadU16(uint16_t& out) {
        uint8_t b[2];
        if (!ReadRaw(b, 2)) {
            return false;
        }
        out = static_cast<uint16_t>(b[0] | (b[1] << 8));
        return true;
    }
    bool ReadU32(uint32_t& out) {
        uint8_t b[4];
        if (!ReadRaw(b, 4)) {
            return false;
        }
        out = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
              (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
        return true;
    }
    bool ReadI32(int32_t& out) {
        uint32_t u;
        if (!ReadU32(u)) {
            return false;
        }
        out = static_cast<int32_t>(u);
        return true;
    }
    bool ReadF32(float& out) {
        uint32_t u;
        if (!ReadU32(u)) {
            return false;
        }
        std::memcpy(&out, &u, 4);
        return true;
    }
    bool ReadBytes(std::span<uint8_t> out) { return ReadRaw(out.data(), out.size()); }
    // A view of the next n bytes, consumed.
    bool ReadSpan(size_t n, std::span<const uint8_t>& out) {
        if (!Require(n)) {
            return false;
        }
        out = m_bytes.subspan(m_position, n);
        m_position += n;
        return true;
    }
    bool Skip(size_t n) {
        if (!Require(n)) {
            return false;
        }
        m_position += n;
        return true;
    }
    // Moves to an absolute position inside the span (the end included).
    bool Seek(size_t position) {
        if (m_failed || position > m_bytes.size()) {
            m_failed = true;
            return false;
        }
        m_position = position;
        return true;
    }
    std::span<const uint8_t> Rest() const {
        return m_failed ? std::span<const uint8_t>{} : m_bytes.subspan(m_position);
    }

private:
    bool Require(size_t n) {
        if (m_failed || n > m_bytes.size() - m_position) {
            m_failed = true;
            return false;
        }
        return true;
    }
    bool ReadRaw(uint8_t* out, size_t n) {
        if (!Require(n)) {
            return false;
        }
        if (n != 0) {
            std::memcpy(out, m_bytes.data() + m_position, n);
        }
        m_position += n;
        return true;
    }

    std::span<const uint8_t> m_bytes;
    size_t m_position = 0;
    bool m_failed = false;
};

}  // namespace tama05
