#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "puzzlefile/huffman_tree.h"

namespace tama05::detail {

// Decodes a Huffman code through a table indexed by the next kTableBits bits: each entry holds
// the leaf reached and its code length, or, for longer codes, the inner node reached after
// kTableBits bits, from where the tree is walked bit by bit. The result is exactly that of
// walking the tree from the root for every symbol.
class HuffmanDecoder {
  public:
    static constexpr int kTableBits = 11;

    enum class Stop {
        kEndSymbol,  // the end symbol was read
        kOutOfBits,  // the code bytes ended inside a code
        kBlockFull,  // a byte was decoded after the output was full
    };
    struct Result {
        Stop stop = Stop::kEndSymbol;
        size_t produced = 0;
    };

    explicit HuffmanDecoder(const HuffmanTree& tree);

    // Decodes code into out, never past its end.
    Result Decode(std::span<const uint8_t> code, std::span<uint8_t> out) const;

  private:
    static constexpr unsigned kNoLeaf = 0xFFFF;

    unsigned Walk(unsigned node, const uint8_t* code, uint64_t totalBits,
                  uint64_t& bitPosition) const;

    std::array<int16_t, kHuffmanNodes> m_child0;
    std::array<int16_t, kHuffmanNodes> m_child1;
    // Low 10 bits: node; high 6 bits: bits consumed.
    std::array<uint16_t, size_t{1} << kTableBits> m_table{};
};

}  // namespace tama05::detail
