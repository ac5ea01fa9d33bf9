#include "core/blend.h"

#include <gtest/gtest.h>

#include <vector>

namespace tama05 {
namespace {

TEST(BlendTest, WeightIsTheDoubleProductWithTheSinglePrecisionFactor) {
    EXPECT_EQ(static_cast<double>(kBlendFactor), 0.003921568859368563);
    // 255 × k = 1.0000000591..., limited to 1.
    EXPECT_GT(255 * 0.003921568859368563, 1.0);
    EXPECT_EQ(BlendWeight(255), 1.0);
    EXPECT_EQ(BlendWeight(0), 0.0);
    EXPECT_EQ(BlendWeight(-5), 0.0);
    EXPECT_EQ(BlendWeight(400), 1.0);
    EXPECT_EQ(BlendWeight(128), 128 * 0.003921568859368563);
}

TEST(BlendTest, EndsShowOnePictureExactly) {
    EXPECT_EQ(BlendByte(200, 10, BlendWeight(255)), 200);
    EXPECT_EQ(BlendByte(200, 10, BlendWeight(0)), 10);
    // 128: trunc(0.50196 · canvas + 0.49804 · answer).
    EXPECT_EQ(BlendByte(255, 0, BlendWeight(128)), 128);
    // 1 − t lies just below 127/255, so the answer alone gives 126.99999...: 126.
    EXPECT_EQ(BlendByte(0, 255, BlendWeight(128)), 126);
}

// Every blend value against every byte pair: the fast path equals the double formula.
TEST(BlendTest, FastPathEqualsTheFormulaForEveryValueAndPair) {
    std::vector<uint8_t> canvas(65536 + 7);
    std::vector<uint8_t> answer(canvas.size());
    for (size_t i = 0; i < canvas.size(); ++i) {
        canvas[i] = static_cast<uint8_t>(i & 0xFF);
        answer[i] = static_cast<uint8_t>((i >> 8) & 0xFF);
    }
    std::vector<uint8_t> out(canvas.size());
    for (int32_t value = 0; value <= 255; ++value) {
        const double t = BlendWeight(value);
        BlendBytes(canvas.data(), answer.data(), out.data(), out.size(), value);
        for (size_t i = 0; i < out.size(); ++i) {
            ASSERT_EQ(out[i], BlendByte(canvas[i], answer[i], t))
                << "value " << value << " canvas " << int(canvas[i]) << " answer " << int(answer[i]);
        }
        detail::BlendBytesScalar(canvas.data(), answer.data(), out.data(), out.size(),
                                 static_cast<int64_t>(t * 2147483648.0));
        if (value < 255) {
            for (size_t i = 0; i < out.size(); ++i) {
                ASSERT_EQ(out[i], BlendByte(canvas[i], answer[i], t)) << "scalar, value " << value;
            }
        }
    }
}

TEST(BlendTest, MayWriteOverAnInput) {
    std::vector<uint8_t> canvas(100, 200);
    std::vector<uint8_t> answer(100, 0);
    BlendBytes(canvas.data(), answer.data(), canvas.data(), canvas.size(), 128);
    EXPECT_EQ(canvas[0], BlendByte(200, 0, BlendWeight(128)));
    EXPECT_EQ(canvas[99], canvas[0]);
}

}  // namespace
}  // namespace tama05
