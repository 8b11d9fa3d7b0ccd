#include "SecureRandomSource.h"

#include <gtest/gtest.h>
#include <vector>

TEST(SecureRandomSource, StaysWithinTheRangeAsked) {
    SecureRandomSource random;
    for (std::uint32_t n : {1u, 2u, 3u, 7u, 1000u, 0x80000001u, 0xFFFFFFFFu})
        for (int i = 0; i < 2000; ++i)
            ASSERT_LT(random.below(n), n) << "n = " << n;
}

TEST(SecureRandomSource, IsRoughlyUniform) {
    // Chi-square over ten values with 9 degrees of freedom; 27.88 is the
    // critical value at p = 0.001, so a fair source fails once in a thousand
    // runs and a source that never yields one value always fails.
    constexpr int kValues = 10;
    constexpr int kDraws = 100000;
    SecureRandomSource random;
    std::vector<int> counts(kValues, 0);
    for (int i = 0; i < kDraws; ++i)
        ++counts[random.below(kValues)];
    const double expected = double(kDraws) / kValues;
    double chi = 0;
    for (int c : counts)
        chi += (c - expected) * (c - expected) / expected;
    EXPECT_LT(chi, 27.88);
    for (int c : counts)
        EXPECT_GT(c, 0);
}
