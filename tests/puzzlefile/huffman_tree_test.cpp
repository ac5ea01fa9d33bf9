// The tree, the code table and the table-driven decoder against the plain algorithm.
#include "puzzlefile/huffman_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "puzzlefile/huffman_decoder.h"
#include "reference_huffman.h"

namespace tama05 {
namespace {

using detail::HuffmanDecoder;

std::string CodeString(const detail::HuffmanCode& code) {
    std::string s;
    for (uint32_t i = code.length; i-- > 0;) {
        s += ((code.bits >> i) & 1) ? '1' : '0';
    }
    return s;
}

HuffmanDecoder::Stop ToStop(test::ReferenceStop stop) {
    switch (stop) {
        case test::ReferenceStop::kEndSymbol:
            return HuffmanDecoder::Stop::kEndSymbol;
        case test::ReferenceStop::kOutOfBits:
            return HuffmanDecoder::Stop::kOutOfBits;
        case test::ReferenceStop::kBlockFull:
            break;
    }
    return HuffmanDecoder::Stop::kBlockFull;
}

void ExpectSameTree(const detail::HuffmanTree& tree,
                    const std::vector<test::ReferenceNode>& reference) {
    for (int n = detail::kHuffmanFirstInner; n < detail::kHuffmanNodes; ++n) {
        ASSERT_EQ(tree.child0[n], reference[n].child0) << "node " << n;
        ASSERT_EQ(tree.child1[n], reference[n].child1) << "node " << n;
    }
}

// Decodes with the table decoder and with the bit-by-bit walk; both must agree on where they
// stop and on every byte.
void ExpectSameDecoding(const detail::HuffmanWeights& weights, std::span<const uint8_t> code,
                        size_t capacity) {
    test::ReferenceWeights referenceWeights;
    std::copy(weights.begin(), weights.end(), referenceWeights.begin());
    const auto referenceTree = test::ReferenceTree(referenceWeights);
    const auto expected = test::ReferenceDecodeSymbols(referenceTree, code, capacity);

    const detail::HuffmanTree tree = detail::BuildHuffmanTree(weights);
    ExpectSameTree(tree, referenceTree);
    const HuffmanDecoder decoder(tree);
    std::vector<uint8_t> out(capacity + 16, 0xEE);
    const auto result = decoder.Decode(code, std::span<uint8_t>(out.data(), capacity));
    ASSERT_EQ(result.stop, ToStop(expected.stop));
    ASSERT_EQ(result.produced, expected.bytes.size());
    EXPECT_TRUE(std::equal(expected.bytes.begin(), expected.bytes.end(), out.begin()));
    for (size_t i = capacity; i < out.size(); ++i) {
        ASSERT_EQ(out[i], 0xEE) << "written past the output at " << i;
    }
}

TEST(HuffmanTreeTest, OnePixelPictureHasTheKnownCodes) {
    // Block 10, 20, 30 and one padding byte 0.
    const std::vector<uint8_t> block = {10, 20, 30, 0};
    const auto counts = detail::CountBytes(block);
    const auto weights = detail::WeightsFromCounts(counts);
    EXPECT_EQ(weights[0], 1.0f);
    EXPECT_EQ(weights[10], 1.0f);
    EXPECT_EQ(weights[30], 1.0f);
    EXPECT_EQ(weights[256], 0.0f);
    detail::HuffmanCodeTable codes;
    ASSERT_TRUE(detail::BuildCodeTable(detail::BuildHuffmanTree(weights), weights, codes));
    EXPECT_EQ(CodeString(codes[0]), "01");
    EXPECT_EQ(CodeString(codes[10]), "10");
    EXPECT_EQ(CodeString(codes[20]), "11");
    EXPECT_EQ(CodeString(codes[30]), "000");
    EXPECT_EQ(CodeString(codes[256]), "001");
    EXPECT_EQ(codes[1].length, 0u);
    EXPECT_EQ(detail::CodedBitCount(counts, codes), 12u);
}

TEST(HuffmanTreeTest, OneByteValueAndTheEndSymbolFormTheRoot) {
    const std::vector<uint8_t> block(12, 7);
    const auto weights = detail::WeightsFromCounts(detail::CountBytes(block));
    const auto tree = detail::BuildHuffmanTree(weights);
    EXPECT_EQ(tree.child0[detail::kHuffmanRoot], 7);
    EXPECT_EQ(tree.child1[detail::kHuffmanRoot], 256);
}

TEST(HuffmanTreeTest, WeightsAreScaledAndSaturateLikeAFloatCounter) {
    // 2^24 + 1000 bytes of one value: a float counter stops at 2^24.
    std::vector<uint8_t> block((size_t{1} << 24) + 1000, 3);
    std::mt19937 rng(5);
    for (int i = 0; i < 5000; ++i) {
        block[rng() % block.size()] = static_cast<uint8_t>(rng());
    }
    const auto expected = test::ReferenceWeightsOf(block);
    const auto weights = detail::WeightsFromCounts(detail::CountBytes(block));
    for (int s = 0; s < 257; ++s) {
        ASSERT_EQ(weights[s], expected[s]) << "symbol " << s;
    }
    EXPECT_NEAR(weights[3], 65535.0f, 0.01f);

    // Just above the scaling threshold.
    std::vector<uint8_t> small(65540, 9);
    small[0] = 1;
    small[1] = 1;
    const auto smallExpected = test::ReferenceWeightsOf(small);
    const auto smallWeights = detail::WeightsFromCounts(detail::CountBytes(small));
    for (int s = 0; s < 257; ++s) {
        ASSERT_EQ(smallWeights[s], smallExpected[s]) << "symbol " << s;
    }
    EXPECT_NEAR(smallWeights[9], 65535.0f, 0.01f);
    EXPECT_LT(smallWeights[1], 2.0f);
}

TEST(HuffmanTreeTest, CodesLongerThanThirtyTwoBitsMatchTheLeafToRootWalk) {
    // Weights growing by 1.7 a symbol: each merged node pairs with the next symbol, so the
    // tree is a chain one level deeper per symbol.
    detail::HuffmanWeights weights{};
    for (int s = 0; s < 37; ++s) {
        weights[s] = std::round(std::pow(1.7f, static_cast<float>(s)));
    }
    std::mt19937 rng(11);
    std::vector<uint8_t> block;
    for (int s = 0; s < 37; ++s) {
        for (int k = 0; k < 5; ++k) {
            block.push_back(static_cast<uint8_t>(s));
        }
    }
    std::shuffle(block.begin(), block.end(), rng);

    const auto tree = detail::BuildHuffmanTree(weights);
    detail::HuffmanCodeTable codes;
    ASSERT_TRUE(detail::BuildCodeTable(tree, weights, codes));
    uint32_t longest = 0;
    for (const auto& code : codes) {
        longest = std::max(longest, code.length);
    }
    EXPECT_GT(longest, 32u);
    std::vector<uint8_t> code((detail::CodedBitCount(detail::CountBytes(block), codes) + 7) / 8);
    detail::WriteCodeBits(block, codes, code);

    test::ReferenceWeights referenceWeights;
    std::copy(weights.begin(), weights.end(), referenceWeights.begin());
    EXPECT_EQ(code, test::ReferenceCodeBytes(test::ReferenceTree(referenceWeights), block));
    ExpectSameDecoding(weights, code, block.size());
}

TEST(HuffmanTreeTest, TableDecoderMatchesTheWalkOnRandomAndSkewedCodes) {
    std::mt19937 rng(3);
    for (int trial = 0; trial < 200; ++trial) {
        // Skewed weights give codes both shorter and longer than the table.
        detail::HuffmanWeights weights{};
        const int symbols = 1 + static_cast<int>(rng() % 256);
        for (int s = 0; s < symbols; ++s) {
            weights[rng() % 256] =
                static_cast<float>(1 + (rng() % 3 == 0 ? rng() % 60000 : rng() % 4));
        }
        std::vector<uint8_t> code(rng() % 400);
        for (auto& byte : code) {
            byte = static_cast<uint8_t>(rng());
        }
        ExpectSameDecoding(weights, code, rng() % 500);
    }
}

TEST(HuffmanTreeTest, HostileWeightsNeitherLoopNorDisagree) {
    const float oddWeights[] = {std::numeric_limits<float>::quiet_NaN(),
                                std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity(),
                                -1.0f,
                                -0.0f,
                                2147483648.0f,
                                3.0e9f,
                                std::numeric_limits<float>::max(),
                                std::numeric_limits<float>::denorm_min(),
                                0.5f};
    std::mt19937 rng(17);
    for (int trial = 0; trial < 400; ++trial) {
        detail::HuffmanWeights weights{};
        for (int s = 0; s < 257; ++s) {
            switch (rng() % 4) {
                case 0:
                    weights[s] = oddWeights[rng() % std::size(oddWeights)];
                    break;
                case 1:
                    weights[s] = static_cast<float>(rng() % 1000);
                    break;
                default:
                    break;
            }
        }
        if (trial % 5 == 0) {
            weights.fill(trial % 2 ? std::numeric_limits<float>::quiet_NaN() : 0.0f);
        }
        std::vector<uint8_t> code(rng() % 200);
        for (auto& byte : code) {
            byte = static_cast<uint8_t>(rng());
        }
        ExpectSameDecoding(weights, code, rng() % 300);
    }
}

TEST(HuffmanTreeTest, RootThatPointsAtItselfRunsOutOfBits) {
    // Without any byte weight the end symbol hangs off a node the root never reaches.
    const detail::HuffmanWeights weights{};
    const auto tree = detail::BuildHuffmanTree(weights);
    EXPECT_EQ(tree.child0[detail::kHuffmanRoot], detail::kHuffmanRoot);
    EXPECT_EQ(tree.child1[detail::kHuffmanRoot], detail::kHuffmanRoot);
    const std::vector<uint8_t> code(1 << 16, 0x5A);
    std::vector<uint8_t> out(10);
    const auto result = HuffmanDecoder(tree).Decode(code, out);
    EXPECT_EQ(result.stop, HuffmanDecoder::Stop::kOutOfBits);
    EXPECT_EQ(result.produced, 0u);
}

}  // namespace
}  // namespace tama05
