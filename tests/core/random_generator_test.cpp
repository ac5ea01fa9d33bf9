#include "core/random_generator.h"

#include <gtest/gtest.h>

namespace tama05 {
namespace {

TEST(RandomGeneratorTest, ReplaysTheClassicSequenceForSeedOne) {
    RandomGenerator rng(1);
    EXPECT_EQ(rng.Next(), 41);
    EXPECT_EQ(rng.Next(), 18467);
    EXPECT_EQ(rng.Next(), 6334);
    EXPECT_EQ(rng.Next(), 26500);
    EXPECT_EQ(rng.Next(), 19169);
}

TEST(RandomGeneratorTest, ChoiceIsAFreshValueModuloN) {
    RandomGenerator a(12345);
    RandomGenerator b(12345);
    for (int i = 0; i < 100; ++i) {
        const int n = 1 + i % 9;
        EXPECT_EQ(a.Choose(n), b.Next() % n);
    }
    EXPECT_EQ(a.Choose(0), 0);
}

}  // namespace
}  // namespace tama05
