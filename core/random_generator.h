#pragma once

#include <atomic>
#include <cstdint>

namespace tama05 {

// The program's pseudo-random generator: seed × 214013 + 2531011 modulo 2^32, giving
// (seed >> 16) & 0x7FFF, 0..32767. One generator, seeded once, is shared by the drop worker
// and the comments so that a given seed replays the same choices. Both threads may draw from it.
class RandomGenerator {
  public:
    explicit RandomGenerator(uint32_t seed = 1) : m_seed(seed) {}
    // A copy continues the same sequence from where the original stands.
    RandomGenerator(const RandomGenerator& other) : m_seed(other.m_seed.load()) {}
    RandomGenerator& operator=(const RandomGenerator& other) {
        m_seed.store(other.m_seed.load());
        return *this;
    }

    void Seed(uint32_t seed) { m_seed.store(seed); }
    // The next value, 0..32767.
    int Next() {
        uint32_t seed = m_seed.load();
        uint32_t next;
        do {
            next = seed * 214013u + 2531011u;
        } while (!m_seed.compare_exchange_weak(seed, next));
        return static_cast<int>((next >> 16) & 0x7FFF);
    }
    // One of n variants: a fresh value modulo n.
    int Choose(int n) { return n > 0 ? Next() % n : 0; }

  private:
    std::atomic<uint32_t> m_seed;
};

}  // namespace tama05
