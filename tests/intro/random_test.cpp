// The random generator against a direct 64-bit computation of the same
// sequence, and the seed setter's corner cases.
#include "intro/random.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vesk {
namespace {

// The minimal standard generator computed the obvious way, in 64 bits.
int32_t DirectStep(int64_t& s) {
    s = s * 48271 % 2147483647;
    return static_cast<int32_t>(s);
}

TEST(RandomGenerator, FollowsTheMinimalStandardSequenceFrom4660) {
    ASSERT_EQ(RandomState(), 4660);
    int64_t s = 4660;
    EXPECT_EQ(NextRandomState(), 224942860);  // 4660 * 48271
    DirectStep(s);
    for (int i = 0; i < 10000; ++i) ASSERT_EQ(NextRandomState(), DirectStep(s)) << "step " << i;
}

TEST(RandomGenerator, BuildsDoublesFromTwoStepsInTheUnitInterval) {
    SeedRandom(4660);
    int64_t s = 4660;
    for (int i = 0; i < 1000; ++i) {
        const int32_t s1 = DirectStep(s);
        const int32_t s2 = DirectStep(s);
        const double expected = ((s1 & 0x1FFFFFFC) + (s2 & 0x1FFFFFF8) / 134217728.0) / 536870912.0;
        const double r = RandomDouble();
        ASSERT_EQ(r, expected);
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
}

TEST(RandomGenerator, RangeWorksWithEitherBoundFirst) {
    SeedRandom(99);
    const double r = RandomDouble();
    SeedRandom(99);
    EXPECT_DOUBLE_EQ(RandomInRange(-384, 384), -384 + r * 768);
    SeedRandom(99);
    EXPECT_DOUBLE_EQ(RandomInRange(3.0, 0.5), 0.5 + r * 2.5);
    SeedRandom(99);
    EXPECT_DOUBLE_EQ(RandomInRange(7, 7), 7);
}

TEST(RandomGenerator, SeedKeepsThirtyOneBitsAndAvoidsTheFixedPoints) {
    SeedRandom(0);
    EXPECT_EQ(RandomState(), 4660);
    SeedRandom(2147483647);
    EXPECT_EQ(RandomState(), 4660);
    SeedRandom(-1);  // all bits set: masks to 2147483647
    EXPECT_EQ(RandomState(), 4660);
    SeedRandom(-5);
    EXPECT_EQ(RandomState(), 2147483643);
    SeedRandom(12345);
    EXPECT_EQ(RandomState(), 12345);
}

}  // namespace
}  // namespace vesk
