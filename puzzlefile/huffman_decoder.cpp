#include "puzzlefile/huffman_decoder.h"

#include <bit>
#include <cstring>

namespace tama05::detail {

namespace {

constexpr unsigned kNodeMask = 0x3FF;
constexpr unsigned kLengthShift = 10;

uint64_t LoadBigEndian64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    if constexpr (std::endian::native == std::endian::little) {
        v = __builtin_bswap64(v);
    }
    return v;
}

}  // namespace

HuffmanDecoder::HuffmanDecoder(const HuffmanTree& tree)
    : m_child0(tree.child0), m_child1(tree.child1) {
    for (unsigned index = 0; index < m_table.size(); ++index) {
        unsigned node = kHuffmanRoot;
        unsigned used = 0;
        while (used < kTableBits && node >= kHuffmanFirstInner) {
            const unsigned bit = (index >> (kTableBits - 1 - used)) & 1;
            node = static_cast<unsigned>(bit ? m_child1[node] : m_child0[node]);
            ++used;
        }
        m_table[index] = static_cast<uint16_t>(node | (used << kLengthShift));
    }
}

unsigned HuffmanDecoder::Walk(unsigned node, const uint8_t* code, uint64_t totalBits,
                              uint64_t& bitPosition) const {
    while (node >= kHuffmanFirstInner) {
        if (bitPosition >= totalBits) {
            return kNoLeaf;
        }
        const unsigned bit = (code[bitPosition >> 3] >> (7 - (bitPosition & 7))) & 1;
        ++bitPosition;
        node = static_cast<unsigned>(bit ? m_child1[node] : m_child0[node]);
    }
    return node;
}

HuffmanDecoder::Result HuffmanDecoder::Decode(std::span<const uint8_t> code,
                                              std::span<uint8_t> out) const {
    const uint8_t* const begin = code.data();
    const uint64_t totalBits = static_cast<uint64_t>(code.size()) * 8;
    uint8_t* o = out.data();
    uint8_t* const oEnd = o + out.size();
    const auto finish = [&](Stop stop) {
        return Result{stop, static_cast<size_t>(o - out.data())};
    };

    uint64_t bitPosition = 0;
    if (code.size() >= 8) {
        // Fast part: a 64-bit window over the code, refilled with one 8-byte load while
        // 8 bytes remain. The top count bits of the window are real code bits, so every entry
        // looked up with count >= kTableBits describes real bits.
        const uint8_t* p = begin;
        const uint8_t* const lastLoad = begin + code.size() - 8;
        uint64_t window = 0;
        unsigned count = 0;
        bool windowHoldsPosition = true;
        while (p <= lastLoad) {
            window |= LoadBigEndian64(p) >> count;
            p += (63 - count) >> 3;
            count |= 56;
            while (count >= static_cast<unsigned>(kTableBits)) {
                const unsigned entry = m_table[window >> (64 - kTableBits)];
                const unsigned node = entry & kNodeMask;
                const unsigned length = entry >> kLengthShift;
                window <<= length;
                count -= length;
                if (node < kHuffmanEndSymbol) [[likely]] {
                    if (o == oEnd) {
                        return finish(Stop::kBlockFull);
                    }
                    *o++ = static_cast<uint8_t>(node);
                    continue;
                }
                if (node == kHuffmanEndSymbol) {
                    return finish(Stop::kEndSymbol);
                }
                // A code longer than the table: finish it bit by bit, then reload the window.
                bitPosition = static_cast<uint64_t>(p - begin) * 8 - count;
                const unsigned leaf = Walk(node, begin, totalBits, bitPosition);
                if (leaf == kNoLeaf) {
                    return finish(Stop::kOutOfBits);
                }
                if (leaf == kHuffmanEndSymbol) {
                    return finish(Stop::kEndSymbol);
                }
                if (o == oEnd) {
                    return finish(Stop::kBlockFull);
                }
                *o++ = static_cast<uint8_t>(leaf);
                p = begin + (bitPosition >> 3);
                window = 0;
                count = 0;
                if (p > lastLoad) {
                    windowHoldsPosition = false;
                    break;
                }
                window = LoadBigEndian64(p);
                p += 7;
                const unsigned skip = static_cast<unsigned>(bitPosition & 7);
                window <<= skip;
                count = 56 - skip;
            }
        }
        if (windowHoldsPosition) {
            bitPosition = static_cast<uint64_t>(p - begin) * 8 - count;
        }
    }
    // The last few bytes: walk the tree bit by bit.
    for (;;) {
        const unsigned leaf = Walk(kHuffmanRoot, begin, totalBits, bitPosition);
        if (leaf == kNoLeaf) {
            return finish(Stop::kOutOfBits);
        }
        if (leaf == kHuffmanEndSymbol) {
            return finish(Stop::kEndSymbol);
        }
        if (o == oEnd) {
            return finish(Stop::kBlockFull);
        }
        *o++ = static_cast<uint8_t>(leaf);
    }
}

}  // namespace tama05::detail
