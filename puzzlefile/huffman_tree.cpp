#include "puzzlefile/huffman_tree.h"

#include <algorithm>
#include <cstring>

namespace tama05::detail {

namespace {

// Counting in a float stops at 2^24: adding 1.0 to 16777216.0 rounds back to 16777216.0.
constexpr uint64_t kFloatCountLimit = uint64_t{1} << 24;
constexpr float kMaxStoredWeight = 65535.0f;
constexpr float kRootSentinel = 2147483648.0f;

void StoreBigEndian32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

// Appends up to 32 bits to a 64-bit accumulator and stores every completed 32-bit word.
class BitPacker {
  public:
    explicit BitPacker(uint8_t* out) : m_out(out) {}

    void Put(uint64_t bits, uint32_t length) {
        m_acc = (m_acc << length) | bits;
        m_pending += length;
        if (m_pending >= 32) {
            m_pending -= 32;
            StoreBigEndian32(m_out, static_cast<uint32_t>(m_acc >> m_pending));
            m_out += 4;
        }
    }
    void PutCode(const HuffmanCode& code) {
        if (code.length <= 32) [[likely]] {
            Put(code.bits, code.length);
        } else {
            Put(code.bits >> 32, code.length - 32);
            Put(code.bits & 0xFFFFFFFFu, 32);
        }
    }
    uint8_t* Flush() {
        while (m_pending >= 8) {
            m_pending -= 8;
            *m_out++ = static_cast<uint8_t>(m_acc >> m_pending);
        }
        if (m_pending > 0) {
            *m_out++ = static_cast<uint8_t>(m_acc << (8 - m_pending));
            m_pending = 0;
        }
        return m_out;
    }

  private:
    uint8_t* m_out;
    uint64_t m_acc = 0;
    uint32_t m_pending = 0;
};

}  // namespace

ByteCounts CountBytes(std::span<const uint8_t> block) {
    // Four interleaved tables keep repeated bytes from stalling on one counter.
    std::array<std::array<uint32_t, 256>, 4> partial{};
    ByteCounts counts{};
    size_t i = 0;
    const size_t n = block.size();
    while (i < n) {
        // Flush before a partial counter could wrap.
        const size_t chunkEnd = i + std::min<size_t>(n - i, size_t{1} << 30);
        for (; i + 4 <= chunkEnd; i += 4) {
            ++partial[0][block[i]];
            ++partial[1][block[i + 1]];
            ++partial[2][block[i + 2]];
            ++partial[3][block[i + 3]];
        }
        for (; i < chunkEnd; ++i) {
            ++partial[0][block[i]];
        }
        for (auto& table : partial) {
            for (int s = 0; s < 256; ++s) {
                counts[s] += table[s];
            }
            table.fill(0);
        }
    }
    return counts;
}

HuffmanWeights WeightsFromCounts(const ByteCounts& counts) {
    HuffmanWeights weights{};
    for (int s = 0; s < 256; ++s) {
        weights[s] = static_cast<float>(std::min(counts[s], kFloatCountLimit));
    }
    weights[kHuffmanEndSymbol] = 0.0f;
    float largest = 0.0f;
    for (const float w : weights) {
        if (w > largest) {
            largest = w;
        }
    }
    if (largest > kMaxStoredWeight) {
        const float factor = static_cast<float>(65535.0 / static_cast<double>(largest));
        for (float& w : weights) {
            w = w * factor;
        }
    }
    return weights;
}

HuffmanTree BuildHuffmanTree(const HuffmanWeights& weights) {
    HuffmanTree tree;
    std::array<float, kHuffmanNodes> w{};
    std::copy(weights.begin(), weights.end(), w.begin());
    w[kHuffmanEndSymbol] = 1.0f;
    w[kHuffmanRoot] = kRootSentinel;
    for (int next = kHuffmanFirstInner; next <= kHuffmanRoot; ++next) {
        // b ends as the lightest node (the last in index order among equals), a as the next.
        int a = kHuffmanRoot;
        int b = kHuffmanRoot;
        int considered = 0;
        for (int k = 0; k < next; ++k) {
            const float wk = w[k];
            if (!(wk > 0.0f)) {
                continue;
            }
            ++considered;
            if (wk <= w[b]) {
                a = b;
                b = k;
            } else if (wk < w[a]) {
                a = k;
            }
        }
        const int target = considered == 2 ? kHuffmanRoot : next;
        w[target] = w[b] + w[a];
        tree.child1[target] = static_cast<int16_t>(b);
        tree.child0[target] = static_cast<int16_t>(a);
        tree.bit[b] = 1;
        tree.bit[a] = 0;
        tree.parent[a] = static_cast<int16_t>(target);
        tree.parent[b] = static_cast<int16_t>(target);
        w[a] = 0.0f;
        w[b] = 0.0f;
        if (target == kHuffmanRoot) {
            break;
        }
    }
    return tree;
}

bool BuildCodeTable(const HuffmanTree& tree, const HuffmanWeights& weights,
                    HuffmanCodeTable& codes) {
    codes = {};
    for (int s = 0; s < kHuffmanSymbols; ++s) {
        if (s != kHuffmanEndSymbol && !(weights[s] > 0.0f)) {
            continue;
        }
        uint64_t bits = 0;
        uint32_t length = 0;
        for (int node = s; node != kHuffmanRoot; node = tree.parent[node]) {
            if (length == kMaxCodeLength) {
                return false;
            }
            bits |= static_cast<uint64_t>(tree.bit[node]) << length;
            ++length;
        }
        if (length == 0) {
            return false;
        }
        codes[s] = {bits, length};
    }
    return true;
}

uint64_t CodedBitCount(const ByteCounts& counts, const HuffmanCodeTable& codes) {
    uint64_t bits = codes[kHuffmanEndSymbol].length;
    for (int s = 0; s < 256; ++s) {
        bits += counts[s] * codes[s].length;
    }
    return bits;
}

void WriteCodeBits(std::span<const uint8_t> block, const HuffmanCodeTable& codes,
                   std::span<uint8_t> out) {
    BitPacker packer(out.data());
    const uint8_t* p = block.data();
    const uint8_t* const end = p + block.size();
    for (; p != end; ++p) {
        packer.PutCode(codes[*p]);
    }
    packer.PutCode(codes[kHuffmanEndSymbol]);
    packer.Flush();
}

}  // namespace tama05::detail
