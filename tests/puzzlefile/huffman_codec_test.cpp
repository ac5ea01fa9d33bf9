// Whole streams: the known examples, round trips, identity with the plain algorithm, and
// truncated, oversized and hostile streams.
#include "puzzlefile/huffman_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <set>
#include <span>
#include <vector>

#include "reference_huffman.h"
#include "test_pictures.h"

namespace tama05 {
namespace {

std::vector<uint8_t> Encode(const Image& image) {
    std::vector<uint8_t> out;
    EXPECT_EQ(HuffCodeImg(image, out), kHuffOk);
    return out;
}

void PatchLe32(std::vector<uint8_t>& stream, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        stream[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

void PatchWeight(std::vector<uint8_t>& stream, int symbol, float weight) {
    uint32_t u;
    std::memcpy(&u, &weight, 4);
    PatchLe32(stream, 12 + 4 * static_cast<size_t>(symbol), u);
}

// A smooth diagonal gradient with a little noise, like a photograph.
Image GradientImage(int32_t width, int32_t height, std::mt19937& rng) {
    Image image;
    image.CreateFilled(width, height, 0);
    std::uniform_int_distribution<int> noise(-3, 3);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = image.row(y);
        for (int32_t x = 0; x < width; ++x) {
            const int base =
                (x * 255 / std::max(1, width - 1) + y * 255 / std::max(1, height - 1)) / 2;
            for (int c = 0; c < 3; ++c) {
                row[3 * x + c] =
                    static_cast<uint8_t>(std::clamp(base + 20 * c + noise(rng), 0, 255));
            }
        }
    }
    return image;
}

// A picture whose bytes are far from uniform: value k with probability about 2^-(k+1).
Image SkewedImage(int32_t width, int32_t height, std::mt19937& rng) {
    Image image;
    image.Create(width, height);
    for (size_t i = 0; i < image.byteCount(); ++i) {
        const uint32_t r = static_cast<uint32_t>(rng()) | 0x80000000u;
        image.data()[i] = static_cast<uint8_t>(std::countr_zero(r));
    }
    return image;
}

// A 2 × 2 picture that a failed decode must leave alone.
Image Sentinel() {
    Image image = test::SolidImage(2, 2, 1, 2, 3);
    image.path = "sentinel";
    return image;
}

bool SameBytes(const Image& image, std::span<const uint8_t> bytes) {
    return image.byteCount() == bytes.size() &&
           std::equal(bytes.begin(), bytes.end(), image.data());
}

// Decodes stream with the codec and with the plain algorithm and expects the same outcome:
// result, picture (or an untouched picture on failure) and reader position.
int ExpectDecodesLikeReference(std::span<const uint8_t> stream) {
    const auto expected = test::ReferenceDecode(stream);
    Image image = Sentinel();
    ByteReader reader(stream);
    const int result = HuffDecodeImg(image, reader);
    EXPECT_EQ(result, expected.result);
    if (result == kHuffOk) {
        EXPECT_EQ(image.width(), expected.width);
        EXPECT_EQ(image.height(), expected.height);
        EXPECT_TRUE(SameBytes(image, expected.block));
        EXPECT_EQ(image.path, "sentinel");
    } else {
        const Image sentinel = Sentinel();
        EXPECT_EQ(image.width(), 2);
        EXPECT_TRUE(SameBytes(image, std::span(sentinel.data(), sentinel.byteCount())));
    }
    if (stream.size() >= 12) {
        EXPECT_TRUE(reader.ok());
        EXPECT_EQ(reader.position(), expected.endPosition);
    } else {
        EXPECT_FALSE(reader.ok());
    }
    return result;
}

// Encoding must give the plain algorithm's bytes, and decoding must give the picture back.
void ExpectRoundTrip(const Image& image) {
    const auto stream = Encode(image);
    ASSERT_EQ(stream, test::ReferenceEncode(image)) << image.width() << " x " << image.height();
    Image decoded;
    ByteReader reader(stream);
    ASSERT_EQ(HuffDecodeImg(decoded, reader), kHuffOk);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(decoded.width(), image.width());
    EXPECT_EQ(decoded.height(), image.height());
    EXPECT_TRUE(SameBytes(decoded, std::span(image.data(), image.byteCount())));
}

TEST(HuffmanStreamTest, OnePixelPictureGivesTheKnownStream) {
    const Image image = test::SolidImage(1, 1, 10, 20, 30);
    const auto stream = Encode(image);
    ASSERT_EQ(stream.size(), 1042u);
    EXPECT_EQ(test::GetLe32(&stream[0]), 1u);
    EXPECT_EQ(test::GetLe32(&stream[4]), 1u);
    EXPECT_EQ(test::GetLe32(&stream[8]), 2u);
    for (int s = 0; s < 257; ++s) {
        float w;
        const uint32_t u = test::GetLe32(&stream[12 + 4 * s]);
        std::memcpy(&w, &u, 4);
        const bool present = s == 0 || s == 10 || s == 20 || s == 30;
        EXPECT_EQ(w, present ? 1.0f : 0.0f) << "symbol " << s;
    }
    EXPECT_EQ(stream[1040], 0xB0);
    EXPECT_EQ(stream[1041], 0x90);

    Image decoded;
    ByteReader reader(stream);
    ASSERT_EQ(HuffDecodeImg(decoded, reader), kHuffOk);
    const std::vector<uint8_t> block = {10, 20, 30, 0};
    EXPECT_TRUE(SameBytes(decoded, block));
}

TEST(HuffmanStreamTest, TwelveEqualBytesCodeAsTwoBytes) {
    const Image image = test::SolidImage(4, 1, 7, 7, 7);
    const auto stream = Encode(image);
    ASSERT_EQ(stream.size(), 1042u);
    EXPECT_EQ(stream[1040], 0x00);
    EXPECT_EQ(stream[1041], 0x08);
}

TEST(HuffmanStreamTest, PictureWithoutPixelsIsNotWritten) {
    std::vector<uint8_t> out = {1, 2, 3};
    Image empty;
    EXPECT_EQ(HuffCodeImg(empty, out), kHuffBadSize);
    Image zeroWidth;
    zeroWidth.Create(0, 5);
    EXPECT_EQ(HuffCodeImg(zeroWidth, out), kHuffBadSize);
    EXPECT_EQ(out, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(HuffmanStreamTest, WriterOverloadAppendsTheSameStream) {
    std::mt19937 rng(1);
    const Image image = test::RandomImage(5, 3, rng);
    std::vector<uint8_t> bytes = {9};
    ByteWriter writer(bytes);
    ASSERT_EQ(HuffCodeImg(image, writer), kHuffOk);
    auto expected = Encode(image);
    expected.insert(expected.begin(), 9);
    EXPECT_EQ(bytes, expected);
}

TEST(HuffmanStreamTest, NonPositiveSizesAreRefusedAfterTwelveBytes) {
    const auto good = Encode(test::SolidImage(1, 1, 10, 20, 30));
    for (const size_t field : {0u, 4u, 8u}) {
        for (const int32_t value : {0, -1, std::numeric_limits<int32_t>::min()}) {
            auto stream = good;
            PatchLe32(stream, field, static_cast<uint32_t>(value));
            Image image = Sentinel();
            ByteReader reader(stream);
            EXPECT_EQ(HuffDecodeImg(image, reader), kHuffBadSize);
            EXPECT_EQ(reader.position(), 12u);
            EXPECT_EQ(image.width(), 2);
            ExpectDecodesLikeReference(stream);
        }
    }
}

TEST(HuffmanStreamTest, DecodingStopsAtTheEndSymbolAndSkipsTheRest) {
    auto stream = Encode(test::SolidImage(1, 1, 10, 20, 30));
    PatchLe32(stream, 8, 5);
    stream.insert(stream.end(), {0xFF, 0xFF, 0xFF, 0x42});
    Image image;
    ByteReader reader(stream);
    ASSERT_EQ(HuffDecodeImg(image, reader), kHuffOk);
    EXPECT_EQ(reader.position(), 1045u);
    uint8_t next = 0;
    ASSERT_TRUE(reader.ReadU8(next));
    EXPECT_EQ(next, 0x42);
}

TEST(HuffmanStreamTest, StreamsFollowEachOtherInOneFile) {
    std::mt19937 rng(2);
    const Image first = test::RandomImage(3, 2, rng);
    const Image second = GradientImage(120, 110, rng);
    std::vector<uint8_t> file = {0xAA};
    ASSERT_EQ(HuffCodeImg(first, file), kHuffOk);
    ASSERT_EQ(HuffCodeImg(second, file), kHuffOk);
    file.push_back(0xBB);

    ByteReader reader(file);
    reader.Skip(1);
    Image a;
    Image b;
    a.path = "kept";
    ASSERT_EQ(HuffDecodeImg(a, reader), kHuffOk);
    ASSERT_EQ(HuffDecodeImg(b, reader), kHuffOk);
    EXPECT_EQ(a.path, "kept");
    EXPECT_TRUE(SameBytes(a, std::span(first.data(), first.byteCount())));
    EXPECT_TRUE(SameBytes(b, std::span(second.data(), second.byteCount())));
    EXPECT_EQ(reader.remaining(), 1u);
}

TEST(HuffmanRoundTripTest, RandomPicturesOfOddWidths) {
    std::mt19937 rng(7);
    for (const int32_t width : {1, 3, 5, 7, 9, 13, 17, 31, 33, 63, 101}) {
        const int32_t height = 1 + static_cast<int32_t>(rng() % 20);
        ExpectRoundTrip(test::RandomImage(width, height, rng));
        ExpectRoundTrip(GradientImage(width, height, rng));
    }
}

TEST(HuffmanRoundTripTest, SkewedPicturesWithCodesLongerThanTheTable) {
    std::mt19937 rng(8);
    ExpectRoundTrip(SkewedImage(333, 301, rng));
    ExpectRoundTrip(SkewedImage(7, 5, rng));
    ExpectRoundTrip(test::SolidImage(13, 7, 0, 0, 0));
}

TEST(HuffmanRoundTripTest, LargePictureWithScaledWeights) {
    std::mt19937 rng(9);
    // 72 000 bytes of one grey with a few speckles: the weights are scaled to 65535.
    Image image = test::SolidImage(200, 120, 9, 9, 9);
    for (int i = 0; i < 300; ++i) {
        image.data()[rng() % image.byteCount()] = static_cast<uint8_t>(rng());
    }
    ExpectRoundTrip(image);
    ExpectRoundTrip(GradientImage(640, 480, rng));
}

TEST(HuffmanHostileStreamTest, TruncatedAtEveryLength) {
    std::mt19937 rng(10);
    const auto stream = Encode(test::RandomImage(5, 3, rng));
    for (size_t n = 0; n < stream.size(); ++n) {
        EXPECT_EQ(ExpectDecodesLikeReference(std::span(stream.data(), n)), kHuffTruncated)
            << "length " << n;
    }
    // Shorter code bytes with a matching L: the end symbol is never reached.
    const size_t length = stream.size() - 1040;
    for (size_t l = 1; l < length; ++l) {
        auto cut = std::vector<uint8_t>(stream.begin(), stream.begin() + 1040 + l);
        PatchLe32(cut, 8, static_cast<uint32_t>(l));
        EXPECT_EQ(ExpectDecodesLikeReference(cut), kHuffCorrupt) << "L " << l;
    }
}

TEST(HuffmanHostileStreamTest, CorruptedCodeBytesDecodeLikeTheWalk) {
    std::mt19937 rng(12);
    const auto good = Encode(SkewedImage(21, 9, rng));
    int decoded = 0;
    for (int trial = 0; trial < 300; ++trial) {
        auto stream = good;
        const int flips = 1 + static_cast<int>(rng() % 3);
        for (int f = 0; f < flips; ++f) {
            stream[1040 + rng() % (stream.size() - 1040)] ^=
                static_cast<uint8_t>(1u << (rng() % 8));
        }
        decoded += ExpectDecodesLikeReference(stream) == kHuffOk;
    }
    EXPECT_GT(decoded, 0);
}

TEST(HuffmanHostileStreamTest, HugeSizesAreRefusedBeforeAllocating) {
    const auto good = Encode(test::SolidImage(1, 1, 10, 20, 30));
    struct Case {
        uint32_t width;
        uint32_t height;
        int expected;
    };
    const Case cases[] = {
        {0x7FFFFFFF, 1, kHuffTooLarge},
        {1, 0x7FFFFFFF, kHuffTooLarge},
        {65536, 65536, kHuffTooLarge},
        {100000, 100000, kHuffTooLarge},
        // Within the picture bound (768 MB) but two code bytes cannot describe it.
        {16000, 16000, kHuffCorrupt},
    };
    for (const Case& c : cases) {
        auto stream = good;
        PatchLe32(stream, 0, c.width);
        PatchLe32(stream, 4, c.height);
        EXPECT_EQ(ExpectDecodesLikeReference(stream), c.expected) << c.width << " x " << c.height;
    }
    for (const uint32_t length : {0x7FFFFFFFu, 3u}) {
        auto stream = good;
        PatchLe32(stream, 8, length);
        EXPECT_EQ(ExpectDecodesLikeReference(stream), kHuffTruncated);
    }
}

TEST(HuffmanHostileStreamTest, SizeThatDisagreesWithTheCode) {
    std::mt19937 rng(13);
    const Image image = test::RandomImage(4, 2, rng);
    const auto good = Encode(image);
    // A shorter picture: the code holds more bytes than the block.
    auto shorter = good;
    PatchLe32(shorter, 4, 1);
    EXPECT_EQ(ExpectDecodesLikeReference(shorter), kHuffCorrupt);
    // A taller picture: the end symbol comes early and the rest stays 0.
    auto taller = good;
    PatchLe32(taller, 4, 3);
    ASSERT_EQ(ExpectDecodesLikeReference(taller), kHuffOk);
    Image decoded;
    ByteReader reader(taller);
    ASSERT_EQ(HuffDecodeImg(decoded, reader), kHuffOk);
    EXPECT_TRUE(std::equal(image.data(), image.data() + 24, decoded.data()));
    EXPECT_TRUE(
        std::all_of(decoded.data() + 24, decoded.data() + 36, [](uint8_t b) { return b == 0; }));
}

TEST(HuffmanHostileStreamTest, NanInfiniteNegativeAndHugeWeights) {
    const float oddWeights[] = {std::numeric_limits<float>::quiet_NaN(),
                                std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity(),
                                -5.0f,
                                2147483648.0f,
                                4.0e9f,
                                std::numeric_limits<float>::max()};
    std::mt19937 rng(14);
    int decodable = 0;
    for (int trial = 0; trial < 300; ++trial) {
        test::ReferenceWeights weights{};
        for (int s = 0; s < 257; ++s) {
            if (rng() % 3 == 0) {
                weights[s] = static_cast<float>(1 + rng() % 500);
            }
        }
        for (uint32_t k = rng() % 4; k > 0; --k) {
            weights[rng() % 257] = oddWeights[rng() % std::size(oddWeights)];
        }
        // A stream built from the weights' own tree where the tree lets it: the leaves the root
        // reaches, coded leaf to root, so that both decoders must rebuild the same tree to agree.
        const auto tree = test::ReferenceTree(weights);
        std::set<int> reachable;
        std::vector<int> stack = {512};
        std::set<int> seen = {512};
        while (!stack.empty()) {
            const int node = stack.back();
            stack.pop_back();
            for (const int child : {tree[node].child0, tree[node].child1}) {
                if (child < 257) {
                    reachable.insert(child);
                } else if (seen.insert(child).second) {
                    stack.push_back(child);
                }
            }
        }
        const int32_t width = 1 + static_cast<int32_t>(rng() % 9);
        const int32_t height = 1 + static_cast<int32_t>(rng() % 9);
        std::vector<uint8_t> code;
        std::vector<int> bytes(reachable.begin(), reachable.end());
        bytes.erase(std::remove(bytes.begin(), bytes.end(), 256), bytes.end());
        if (reachable.count(256) && !bytes.empty()) {
            std::vector<uint8_t> block(static_cast<size_t>(StrideFor(width)) * height);
            for (auto& b : block) {
                b = static_cast<uint8_t>(bytes[rng() % bytes.size()]);
            }
            code = test::ReferenceCodeBytes(tree, block);
            ++decodable;
        } else {
            code.resize(1 + rng() % 100);
            for (auto& b : code) {
                b = static_cast<uint8_t>(rng());
            }
        }
        const auto stream = test::ReferenceStream(width, height, weights, code);
        const int result = ExpectDecodesLikeReference(stream);
        if (reachable.count(256) && !bytes.empty()) {
            EXPECT_EQ(result, kHuffOk);
        }
    }
    EXPECT_GT(decodable, 50) << decodable;

    // A root that only points at itself, over a megabyte of code bytes, ends with the bytes.
    auto stream = Encode(test::SolidImage(1, 1, 10, 20, 30));
    for (const int s : {0, 10, 20, 30}) {
        PatchWeight(stream, s, std::numeric_limits<float>::quiet_NaN());
    }
    PatchLe32(stream, 8, 1 << 20);
    stream.resize(1040 + (1 << 20), 0x33);
    EXPECT_EQ(ExpectDecodesLikeReference(stream), kHuffCorrupt);
}

}  // namespace
}  // namespace tama05
