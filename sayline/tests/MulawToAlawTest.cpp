#include "MulawToAlaw.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <spandsp/telephony.h>
// telephony.h first: g711.h uses its types and bit_operations.h's top_bit().
#include <spandsp/bit_operations.h>
#include <spandsp/g711.h>
#include <vector>

namespace sayline {
namespace {

// The 256 A-law codes ordered by the value they stand for (spandsp decodes).
std::vector<int> alawCodesByValue() {
    std::vector<int> codes(256);
    for (int i = 0; i < 256; ++i)
        codes[i] = i;
    std::sort(codes.begin(), codes.end(), [](int a, int b) {
        return alaw_to_linear(static_cast<uint8_t>(a)) < alaw_to_linear(static_cast<uint8_t>(b));
    });
    return codes;
}

int rankOf(const std::vector<int>& byValue, int code) {
    return static_cast<int>(std::find(byValue.begin(), byValue.end(), code) - byValue.begin());
}

TEST(MulawToAlawTest, EveryCodeLandsWithinOneStepOfTheNegatedValue) {
    const auto byValue = alawCodesByValue();
    for (int mu = 0; mu < 256; ++mu) {
        const int wanted = -ulaw_to_linear(static_cast<uint8_t>(mu));
        const int got = MulawToAlaw::map(static_cast<uint8_t>(mu));
        const int nearest = linear_to_alaw(wanted);
        EXPECT_LE(std::abs(rankOf(byValue, got) - rankOf(byValue, nearest)), 1)
            << "mu-law " << mu << " -> " << got << " (value " << alaw_to_linear(got)
            << "), wanted near " << wanted;
    }
}

TEST(MulawToAlawTest, SilenceStaysSilentAndPeaksStayPeaks) {
    // Both mu-law zeros become the smallest A-law magnitude.
    EXPECT_LE(std::abs(alaw_to_linear(MulawToAlaw::map(0xFF))), 8);
    EXPECT_LE(std::abs(alaw_to_linear(MulawToAlaw::map(0x7F))), 8);
    EXPECT_GT(std::abs(alaw_to_linear(MulawToAlaw::map(0x00))), 30000);
    EXPECT_GT(std::abs(alaw_to_linear(MulawToAlaw::map(0x80))), 30000);
}

TEST(MulawToAlawTest, MapInPlaceMapsEveryByte) {
    std::vector<uint8_t> bytes(256);
    for (int i = 0; i < 256; ++i)
        bytes[i] = static_cast<uint8_t>(i);
    MulawToAlaw::mapInPlace(bytes.data(), bytes.size());
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(bytes[i], MulawToAlaw::map(static_cast<uint8_t>(i)));
}

} // namespace
} // namespace sayline
