#pragma once

// The Huffman image codec written the plain way, as the tests' yardstick: weights counted by
// adding 1.0f per byte, the tree built with node records, each code found by walking from the
// leaf to the root, and decoding one bit at a time from the root.

#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "core/image.h"
#include "core/limits.h"

namespace tama05::test {

struct ReferenceNode {
    float weight = 0.0f;
    int32_t bit = 0;
    int32_t isRoot = 0;
    int32_t parent = 0;
    int32_t child0 = 0;
    int32_t child1 = 0;
};

using ReferenceWeights = std::array<float, 257>;

inline ReferenceWeights ReferenceWeightsOf(std::span<const uint8_t> block) {
    ReferenceWeights w{};
    for (const uint8_t b : block) {
        w[b] = w[b] + 1.0f;
    }
    float m = 0.0f;
    for (int s = 0; s < 257; ++s) {
        if (w[s] > m) {
            m = w[s];
        }
    }
    if (m > 65535.0f) {
        const float f = static_cast<float>(65535.0 / m);
        for (int s = 0; s < 257; ++s) {
            w[s] = static_cast<float>(static_cast<double>(f) * w[s]);
        }
    }
    return w;
}

inline std::vector<ReferenceNode> ReferenceTree(const ReferenceWeights& weights) {
    std::vector<ReferenceNode> node(513);
    for (int s = 0; s < 257; ++s) {
        node[s].weight = weights[s];
    }
    node[256].weight = 1.0f;
    node[512].weight = 2147483648.0f;
    int i = 257;
    while (true) {
        int a = 512;
        int b = 512;
        int j = 0;
        for (int k = 0; k < i; ++k) {
            if (node[k].weight > 0) {
                ++j;
                if (node[k].weight <= node[b].weight) {
                    a = b;
                    b = k;
                } else if (node[k].weight < node[a].weight) {
                    a = k;
                }
            }
        }
        const int target = j == 2 ? 512 : i;
        node[target].weight = node[b].weight + node[a].weight;
        node[target].child1 = b;
        node[target].child0 = a;
        node[b].bit = 1;
        node[a].bit = 0;
        node[a].parent = target;
        node[b].parent = target;
        node[a].weight = 0;
        node[b].weight = 0;
        if (target == 512) {
            break;
        }
        ++i;
    }
    node[512].isRoot = 1;
    return node;
}

// Codes of block and of the end symbol, packed most significant bit first.
inline std::vector<uint8_t> ReferenceCodeBytes(const std::vector<ReferenceNode>& tree,
                                               std::span<const uint8_t> block) {
    std::vector<uint8_t> out;
    int used = 8;
    const auto append = [&](int symbol) {
        std::vector<int> path;
        for (int n = symbol; tree[n].isRoot == 0; n = tree[n].parent) {
            path.push_back(tree[n].bit);
        }
        for (auto it = path.rbegin(); it != path.rend(); ++it) {
            if (used == 8) {
                out.push_back(0);
                used = 0;
            }
            if (*it) {
                out.back() |= static_cast<uint8_t>(0x80 >> used);
            }
            ++used;
        }
    };
    for (const uint8_t b : block) {
        append(b);
    }
    append(256);
    return out;
}

inline void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

inline uint32_t GetLe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// A whole stream: width, height, L, the weights, the code bytes.
inline std::vector<uint8_t> ReferenceStream(int32_t width, int32_t height,
                                            const ReferenceWeights& weights,
                                            std::span<const uint8_t> code) {
    std::vector<uint8_t> out;
    PutLe32(out, static_cast<uint32_t>(width));
    PutLe32(out, static_cast<uint32_t>(height));
    PutLe32(out, static_cast<uint32_t>(code.size()));
    for (const float w : weights) {
        uint32_t u;
        std::memcpy(&u, &w, 4);
        PutLe32(out, u);
    }
    out.insert(out.end(), code.begin(), code.end());
    return out;
}

inline std::vector<uint8_t> ReferenceEncode(const Image& image) {
    const std::span<const uint8_t> block(image.data(), image.byteCount());
    const ReferenceWeights weights = ReferenceWeightsOf(block);
    const auto tree = ReferenceTree(weights);
    return ReferenceStream(image.width(), image.height(), weights, ReferenceCodeBytes(tree, block));
}

enum class ReferenceStop { kEndSymbol, kOutOfBits, kBlockFull };

struct ReferenceSymbols {
    ReferenceStop stop = ReferenceStop::kEndSymbol;
    std::vector<uint8_t> bytes;
};

// Walks the tree from the root for every symbol, one bit at a time, keeping at most capacity
// bytes.
inline ReferenceSymbols ReferenceDecodeSymbols(const std::vector<ReferenceNode>& tree,
                                               std::span<const uint8_t> code, size_t capacity) {
    ReferenceSymbols result;
    size_t bit = 0;
    int node = 512;
    while (true) {
        if (bit == code.size() * 8) {
            result.stop = ReferenceStop::kOutOfBits;
            return result;
        }
        const int value = (code[bit / 8] >> (7 - bit % 8)) & 1;
        ++bit;
        node = value ? tree[node].child1 : tree[node].child0;
        if (node < 257) {
            if (node == 256) {
                result.stop = ReferenceStop::kEndSymbol;
                return result;
            }
            if (result.bytes.size() == capacity) {
                result.stop = ReferenceStop::kBlockFull;
                return result;
            }
            result.bytes.push_back(static_cast<uint8_t>(node));
            node = 512;
        }
    }
}

// The outcome a decoder of a whole stream must reach: 0 and the picture's bytes, or the
// failure code and how far the stream's reader gets.
struct ReferenceDecoded {
    int result = 0;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> block;
    size_t endPosition = 0;
};

inline ReferenceDecoded ReferenceDecode(std::span<const uint8_t> stream) {
    ReferenceDecoded d;
    if (stream.size() < 12) {
        d.result = -3;
        return d;
    }
    const auto width = static_cast<int32_t>(GetLe32(stream.data()));
    const auto height = static_cast<int32_t>(GetLe32(stream.data() + 4));
    const auto length = static_cast<int32_t>(GetLe32(stream.data() + 8));
    d.endPosition = 12;
    if (width <= 0 || height <= 0 || length <= 0) {
        d.result = -1;
        return d;
    }
    if (stream.size() - 12 < 1028 + static_cast<size_t>(length)) {
        d.result = -3;
        return d;
    }
    const size_t end = 1040 + static_cast<size_t>(length);
    const auto size = CheckPictureSize(width, height);
    if (!size) {
        d.result = -2;
        d.endPosition = end;
        return d;
    }
    d.endPosition = end;
    if (static_cast<uint64_t>(length) * 8 < static_cast<uint64_t>(size->bytes) + 1) {
        d.result = -4;
        return d;
    }
    ReferenceWeights weights;
    for (int s = 0; s < 257; ++s) {
        const uint32_t u = GetLe32(stream.data() + 12 + 4 * s);
        std::memcpy(&weights[s], &u, 4);
    }
    const auto symbols = ReferenceDecodeSymbols(
        ReferenceTree(weights), stream.subspan(1040, length), static_cast<size_t>(size->bytes));
    if (symbols.stop != ReferenceStop::kEndSymbol) {
        d.result = -4;
        return d;
    }
    d.width = width;
    d.height = height;
    d.block = symbols.bytes;
    d.block.resize(static_cast<size_t>(size->bytes), 0);
    return d;
}

}  // namespace tama05::test
