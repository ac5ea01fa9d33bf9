#pragma once

#include <cstdint>

namespace tama05 {

// The program's pseudo-random generator: seed × 214013 + 2531011 modulo 2^32, giving
// (seed >> 16) & 0x7FFF, 0..32767. One generator, seeded once, is shared by the drop worker
// and the comments so that a given seed replays the same choices.
class RandomGenerator {
public:
    explicit RandomGenerator(uint32_t seed = 1) : m_seed(seed) {}

    void Seed(uint32_t seed) { m_seed = seed; }
    // The next value, 0..32767.
    int Next() {
        m_seed = m_seed * 214013u + 2531011u;
        return static_cast<int>((m_seed >> 16) & 0x7FFF);
    }
    // One of n variants: a fresh value modulo n.
    int Choose(int n) { return n > 0 ? Next() % n : 0; }

private:
    uint32_t m_seed;
};

}  // namespace tama05
