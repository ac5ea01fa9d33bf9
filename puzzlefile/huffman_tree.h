#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tama05::detail {

// The Huffman coder works on 257 symbols: the byte values and an end symbol coded once after
// the last byte. Nodes 0..256 are the symbols' leaves, inner nodes are built from 257 upward
// and node 512 is always the root.
inline constexpr int kHuffmanSymbols = 257;
inline constexpr int kHuffmanEndSymbol = 256;
inline constexpr int kHuffmanFirstInner = 257;
inline constexpr int kHuffmanRoot = 512;
inline constexpr int kHuffmanNodes = 513;

using HuffmanWeights = std::array<float, kHuffmanSymbols>;
using ByteCounts = std::array<uint64_t, 256>;

struct HuffmanTree {
    std::array<int16_t, kHuffmanNodes> child0{};
    std::array<int16_t, kHuffmanNodes> child1{};
    std::array<int16_t, kHuffmanNodes> parent{};
    std::array<uint8_t, kHuffmanNodes> bit{};
};

// A symbol's code, root side first, right-aligned in bits; length 0 for symbols not coded.
struct HuffmanCode {
    uint64_t bits = 0;
    uint32_t length = 0;
};
using HuffmanCodeTable = std::array<HuffmanCode, kHuffmanSymbols>;
inline constexpr uint32_t kMaxCodeLength = 64;

ByteCounts CountBytes(std::span<const uint8_t> block);

// The stored weights of a block: each byte's count as a float (a float that gains 1.0 per byte
// stops growing at 2^24), scaled so that the largest is at most 65535 when it exceeds that.
// The end symbol's weight is 0.
HuffmanWeights WeightsFromCounts(const ByteCounts& counts);

// Builds the tree from any 257 weights, including ones no encoder writes (NaN, infinities,
// negative values, 2^31 and above): the loop is bounded, and such tables may leave the root
// pointing back at itself, which a decoder walking the tree must survive.
HuffmanTree BuildHuffmanTree(const HuffmanWeights& weights);

// The codes of every symbol with positive weight and of the end symbol, read from leaf to root.
// Returns false when a code would exceed kMaxCodeLength bits or never reaches the root, which
// weights counted from a block cannot cause.
bool BuildCodeTable(const HuffmanTree& tree, const HuffmanWeights& weights,
                    HuffmanCodeTable& codes);

// Bits of the block's codes followed by the end symbol.
uint64_t CodedBitCount(const ByteCounts& counts, const HuffmanCodeTable& codes);

// Packs the codes of block and the end symbol most significant bit first into out, whose size
// must be CodedBitCount rounded up to whole bytes; the unused low bits of the last byte are 0.
void WriteCodeBits(std::span<const uint8_t> block, const HuffmanCodeTable& codes,
                   std::span<uint8_t> out);

}  // namespace tama05::detail
